#pragma once
// The real machine: owns one of each Windows backend and hands them to the core as a
// platform::Platform. Made on the window thread, which it puts in a COM apartment for the
// shell's automation object. Kept free of <windows.h> so that whoever builds the program
// needs no Windows types beyond a window handle.
#include <memory>

#include "platform/platform.h"

struct HWND__;  // what HWND points to

namespace qm::win32 {

class Win32Platform {
  public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& platform();

    // The main window: message boxes and the shell's windows belong to it from now on, and
    // the desktop's main-window calls act on it (null: none).
    void SetDialogOwner(HWND__* owner);
    // Message boxes alone change hands: a dialog's questions belong to that dialog.
    void SetMessageBoxOwner(HWND__* owner);
    // True once a pump met WM_QUIT and put it back for the main loop.
    bool QuitRequested() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qm::win32
