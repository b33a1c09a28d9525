#pragma once
// The main window on screen: one standard Win32 control per control of the model, with the
// model's captions, kept in step with every change the model reports, and the user's clicks,
// ticks and tab selections fed back into the model's handlers.
#include <memory>
#include <vector>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "gui/base_window.h"
#include "gui/menu_bar.h"
#include "platform/win32/win32_platform.h"

namespace qm::gui {

class MainView : public BaseWindow<MainView> {
  public:
    MainView(app::MainWindow& model, const app::MainMenu& menu, win32::Win32Platform& machine);
    ~MainView();
    MainView(const MainView&) = delete;
    MainView& operator=(const MainView&) = delete;

    // The window, hidden, with its controls; start-up shows it once it may stay.
    bool Create(HINSTANCE instance);
    void Show(int show);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    struct Native {
        controls::Control* model;
        HWND hwnd;  // null until the control first shows
        int id;
        int subscription;
        bool lies_under;  // a tab strip or group box
        bool link;        // a label that opens a page when clicked
    };

    // One entry per placed control of the model; each window is made when its control first
    // shows, so start-up pays only for the panel in front.
    void CreateControls(HINSTANCE instance);
    void MakeNative(Native& native);
    HWND CreateNative(controls::Control& control, int id);
    void StackControls();
    void Mirror(Native& native, controls::Change change);
    void MirrorLines(Native& native);
    void UpdateVisibility();
    bool Shown(const controls::Control& control) const;
    Native* FindById(int id);
    void OnCommand(int id, int code);
    void OnTabChanged(int id);
    bool IsLink(HWND hwnd) const;
    void OnSessionEnd(LPARAM reason);

    app::MainWindow& model_;
    win32::Win32Platform& machine_;
    MenuBar menus_;
    std::vector<Native> natives_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HINSTANCE instance_ = nullptr;
    bool showing_ = false;  // no control is made before start-up has chosen the front panels
};

}  // namespace qm::gui
