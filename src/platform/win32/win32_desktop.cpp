#include "platform/win32/win32_desktop.h"

namespace qm::win32 {
bool Win32Desktop::ConfirmOwnQuestion() {
    return false;
}
}  // namespace qm::win32
