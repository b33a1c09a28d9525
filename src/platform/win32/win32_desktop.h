#pragma once
// The desktop's windows, touched only where they are Quillmoss's own: the confirmation
// question answered here must be a dialog of this process and the active window, so that a
// stray timer tick can never press a button in another program. The restart request goes
// to Windows as asked; the flags are the caller's choice.
#include "platform/desktop.h"

namespace qm::win32 {

class Win32Desktop final : public platform::Desktop {
  public:
    bool ConfirmOwnQuestion() override;
    bool EnableShutdownPrivilege() override;
    bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace qm::win32
