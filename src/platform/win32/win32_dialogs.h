#pragma once
// Modal message boxes through user32, owned by the main window once the GUI has one.
#include "platform/dialogs.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class Win32Dialogs final : public platform::Dialogs {
  public:
    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;

    // The window the boxes belong to; null (the default) makes them unowned.
    void SetOwnerWindow(HWND owner) { owner_ = owner; }

  private:
    HWND owner_ = nullptr;
};

}  // namespace qm::win32
