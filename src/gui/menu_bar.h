#pragma once
// The native menu bar of the main window, built from the menu model. The tray icon's pop-up
// menu is made by the desktop when the icon is clicked (Desktop::TrackTrayMenu).
#include <string_view>

#include "app/main_menu.h"
#include "platform/win32/scoped_handle.h"

namespace qm::gui {

class MenuBar {
  public:
    explicit MenuBar(const app::MainMenu& model);
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // The bar for the window to show. Once the window has it, the window destroys it with
    // itself, so ours is let go of.
    HMENU bar() const { return bar_.get(); }
    void BarAttached() { bar_.release(); }

    // A menu's WM_COMMAND: runs the chosen item. False for an identifier of no menu item.
    bool OnCommand(int id) const;

  private:
    struct MenuTraits {
        using Handle = HMENU;
        static Handle Invalid() { return nullptr; }
        static bool IsValid(Handle h) { return h != nullptr; }
        static void Close(Handle h) { ::DestroyMenu(h); }
    };
    using ScopedMenu = win32::ScopedHandle<MenuTraits>;

    HMENU BuildPopup(const app::Menu& menu) const;

    const app::MainMenu& model_;
    ScopedMenu bar_;
};

}  // namespace qm::gui
