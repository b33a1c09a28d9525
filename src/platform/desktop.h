#pragma once
// The windows on the desktop as far as Quillmoss acts on them, and the restart it may ask
// Windows for. The calls on "the main window" act on the window the view registered as
// Quillmoss's main window; before there is one they do nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::platform {

// ExitWindowsEx flags.
namespace exit_windows {
inline constexpr std::uint32_t kReboot = 0x2;
// Ends every program without letting it save: never asked for.
inline constexpr std::uint32_t kForce = 0x4;
// Ends only programs that do not answer; Windows 2000 and later.
inline constexpr std::uint32_t kForceIfHung = 0x10;
}  // namespace exit_windows

// The reason recorded with a shutdown (XP and later read it; earlier Windows ignore it).
namespace shutdown_reason {
inline constexpr std::uint32_t kMajorApplication = 0x00040000;
inline constexpr std::uint32_t kMinorMaintenance = 0x00000001;
inline constexpr std::uint32_t kFlagPlanned = 0x80000000;
}  // namespace shutdown_reason

// A top-level window of any program, as the desktop names it; 0 names none. Windows reuses the
// handles of closed windows, so a kept handle may come to name another window.
using WindowHandle = std::uintptr_t;

struct WindowPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const WindowPoint&) const = default;
};
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const WindowRect&) const = default;
};
// Where a window is and in which state it shows: WINDOWPLACEMENT without its length field.
struct WindowPlacement {
    std::uint32_t flags = 0;
    std::uint32_t show_command = 0;  // SW_...; 0 hides the window when applied
    WindowPoint min_position;
    WindowPoint max_position;
    WindowRect normal_position;
    bool operator==(const WindowPlacement&) const = default;
};

namespace show_command {
inline constexpr std::uint32_t kHide = 0;
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimized = 2;
inline constexpr std::uint32_t kShowMaximized = 3;
}  // namespace show_command

namespace virtual_key {
inline constexpr int kF9 = 0x78;
inline constexpr int kF10 = 0x79;
}  // namespace virtual_key

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Answers a confirmation question of Quillmoss's own process with its default button (as
    // a press of Enter would), but only when such a question is the active window. Never
    // sends anything to another program's window. True when a question was answered.
    virtual bool ConfirmOwnQuestion() = 0;

    // Enables the shutdown privilege in this process's token (NT family), without which the
    // NT family refuses a restart. True when the token now holds it enabled.
    virtual bool EnableShutdownPrivilege() = 0;
    // Asks Windows to end the session with these flags and reason. True when Windows took
    // the request; a program that refuses to close can still stop it afterwards.
    virtual bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) = 0;

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

    // --- other programs' windows ------------------------------------------------------------
    // Every top-level window, top of the window order first.
    virtual std::vector<WindowHandle> TopLevelWindows() = 0;
    // The window's class name, in its own letter case; empty when the window is gone.
    virtual std::string WindowClassName(WindowHandle window) = 0;
    // The file name ("chrome.exe") of the program the window belongs to; empty when Windows
    // will not tell.
    virtual std::string WindowProgramName(WindowHandle window) = 0;
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    // False, leaving `placement` alone, when the window is gone.
    virtual bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) = 0;
    virtual bool SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) = 0;
    // Posts WM_CLOSE and returns at once; the program closes the window in its own time, or
    // asks its user first.
    virtual bool PostCloseRequest(WindowHandle window) = 0;
    // Whether the key is down now or was pressed since the previous question about it,
    // whichever program had the keyboard.
    virtual bool KeyPressedSinceLastQuery(int virtual_key) = 0;
};

}  // namespace qm::platform
