#pragma once
// The windows on the desktop, as far as Quillmoss acts on them. The calls on "the main window"
// act on the window the view registered as Quillmoss's main window; before there is one they
// do nothing.
#include <string>
#include <string_view>
#include <vector>

namespace qm::platform {

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Answers a confirmation question of Quillmoss's own process with its default button (as
    // a press of Enter would), but only when such a question is the active window. Never
    // sends anything to another program's window. True when a question was answered.
    virtual bool ConfirmOwnQuestion() = 0;

    // Takes Close (and the separator above it) out of the main window's window menu, which
    // also disables its close box and Alt+F4.
    virtual void DisableClose() = 0;
    // Puts the main window in the middle of the screen, keeping its size.
    virtual void CentreMainWindow() = 0;
    // Hidden: no taskbar button, only the notification-area icon leads back.
    virtual void HideMainWindow() = 0;
    // Shown, in the normal state (neither minimised nor hidden).
    virtual void RestoreMainWindow() = 0;
    virtual void BringMainWindowForward() = 0;

    // The main window's one notification-area icon, with the main window's own icon and this
    // tip. Deleting an icon that is not there is harmless.
    virtual void AddTrayIcon(std::string_view tip) = 0;
    virtual void DeleteTrayIcon() = 0;
    // A pop-up menu of these captions at the mouse position; returns the index of the item
    // chosen, or -1 when the menu was dismissed.
    virtual int TrackTrayMenu(const std::vector<std::string>& items) = 0;
};

}  // namespace qm::platform
