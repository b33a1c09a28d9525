#pragma once
// The options dialog on screen: a modeless dialog window over the main window, with one
// standard control per control of the model, kept in step with the model both ways. The
// dialog manager gives it the keyboard: Tab walks the controls in their order on screen,
// Esc closes it as "Close" does.
#include <vector>

#include "gui/dialog_window.h"
#include "options/options_dialog.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace qm::gui {

class OptionsView {
  public:
    OptionsView(HINSTANCE instance, HWND owner, win32::Win32Platform& machine);
    ~OptionsView();
    OptionsView(const OptionsView&) = delete;
    OptionsView& operator=(const OptionsView&) = delete;

    // A newly loaded dialog gets a window, in the middle of the screen; the one shown already
    // comes forward.
    void Show(options::OptionsDialog& model);
    // The main loop hands every message here first. True when it was the dialog's and has
    // been handled (keyboard navigation included); the loop then leaves it alone.
    bool PreTranslate(MSG& message);

  private:
    using Native = DialogNative;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void Create();
    void CreateControls();
    void Mirror(const Native& native, controls::Change change);
    void MirrorLines(const Native& native);
    void OnCommand(int id, int code);
    // The window goes; the model stays with whoever owns it.
    void Destroy();
    void Forget();

    HINSTANCE instance_;
    HWND owner_;
    win32::Win32Platform& machine_;
    HWND hwnd_ = nullptr;
    HWND combo_ = nullptr;  // Combo1's: its key-ups go to the model
    HFONT font_ = nullptr;
    int dpi_ = 96;
    options::OptionsDialog* model_ = nullptr;
    std::vector<Native> natives_;
};

}  // namespace qm::gui
