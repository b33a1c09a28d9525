#include "platform/sim/sim_dialogs.h"

#include <string>

namespace qm::sim {

int SimDialogs::DefaultButton(std::uint32_t style) {
    namespace mb = platform::mb;
    // Buttons of each MB_ type, left to right; MB_DEFBUTTON2/3 pick the second or third.
    static const std::vector<int> kButtons[] = {
        {mb::kIdOk},                 // MB_OK
        {mb::kIdOk, mb::kIdCancel},  // MB_OKCANCEL
        {3, 4, 5},                   // MB_ABORTRETRYIGNORE
        {mb::kIdYes, mb::kIdNo, 2},  // MB_YESNOCANCEL
        {mb::kIdYes, mb::kIdNo},     // MB_YESNO
        {4, mb::kIdCancel},          // MB_RETRYCANCEL
        {mb::kIdCancel, 10, 11},     // MB_CANCELTRYCONTINUE
    };
    const std::uint32_t type = style & 0xF;
    if (type >= std::size(kButtons)) return mb::kIdOk;
    const std::vector<int>& buttons = kButtons[type];
    const std::size_t which = (style >> 8) & 0xF;
    return which < buttons.size() ? buttons[which] : buttons.front();
}

int SimDialogs::MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    const std::size_t index = boxes_.size();
    boxes_.push_back({std::string(text), std::string(caption), style, 0});
    if (!reactions_.empty()) {
        std::function<void()> reaction = std::move(reactions_.front());
        reactions_.pop_front();
        reaction();
    }
    int answer = 0;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        answer = DefaultButton(style);
        ++unscripted_;
    }
    boxes_[index].answer = answer;
    return answer;
}

}  // namespace qm::sim
