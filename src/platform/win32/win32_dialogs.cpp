#include "platform/win32/win32_dialogs.h"

#include "platform/win32/wide_text.h"

namespace qm::win32 {

int Win32Dialogs::MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    // An owner that has gone (the main window closing under a box) would make the call fail
    // and the question go unasked; such a box is better shown without an owner.
    const HWND owner = (owner_ != nullptr && ::IsWindow(owner_)) ? owner_ : nullptr;
    return ::MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

}  // namespace qm::win32
