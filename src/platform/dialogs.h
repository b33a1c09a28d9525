#pragma once
// Modal message boxes. Styles and results are the MessageBox numbers.
#include <cstdint>
#include <string_view>

namespace qm::platform {

namespace mb {
inline constexpr std::uint32_t kOk = 0;
inline constexpr std::uint32_t kOkCancel = 1;
inline constexpr std::uint32_t kYesNo = 4;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconExclamation = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows a modal box owned by the main window and returns the button pressed.
    virtual int MessageBox(std::string_view text, std::string_view caption,
                           std::uint32_t style) = 0;
};

}  // namespace qm::platform
