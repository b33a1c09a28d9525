#pragma once
// The desktop's windows, touched only where they are Quillmoss's own.
#include "platform/desktop.h"

namespace qm::win32 {

class Win32Desktop final : public platform::Desktop {
  public:
    bool ConfirmOwnQuestion() override;
};

}  // namespace qm::win32
