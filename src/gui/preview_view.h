#pragma once
// The Preview dialog on screen: a modeless dialog window over the main window with a list
// box of item lines, a report-style list view of the selected line's entries (a click on a
// column header sorts it), the run's status, "Cancel" and "Close". Esc closes it as "Close"
// does.
#include <vector>

#include "app/preview_dialog.h"
#include "gui/dialog_window.h"
#include "platform/win32/windows_api.h"

namespace qm::gui {

class PreviewView {
  public:
    PreviewView(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    ~PreviewView();
    PreviewView(const PreviewView&) = delete;
    PreviewView& operator=(const PreviewView&) = delete;

    // A new dialog gets a window, in the middle of the screen; the one shown comes forward.
    void Show(app::PreviewDialog& model);
    // The main loop hands every message here first; true when the dialog took it.
    bool PreTranslate(MSG& message);

  private:
    using Native = DialogNative;

    // Esc while a run pumps the messages itself, where no dialog manager sees them.
    static LRESULT CALLBACK EscapeHook(int code, WPARAM wparam, LPARAM lparam);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void Create();
    HWND CreateNative(controls::Control& control, int id);
    void Mirror(const Native& native, controls::Change change);
    void FillListView(HWND hwnd, const controls::ListView& view);
    void OnCommand(int id, int code);
    void Destroy();
    void Forget();

    HINSTANCE instance_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HHOOK escape_hook_ = nullptr;
    int dpi_ = 96;
    app::PreviewDialog* model_ = nullptr;
    std::vector<Native> natives_;
};

}  // namespace qm::gui
