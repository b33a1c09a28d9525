#pragma once
// Message boxes answered by a scripted user instead of a person.
#include <cstdint>
#include <deque>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/sim/machine.h"

namespace qm::sim {

class SimDialogs final : public platform::Dialogs {
  public:
    void AnswerNextBox(int button) { answers_.push_back(button); }
    void WhileNextBox(std::function<void()> reaction) { reactions_.push_back(std::move(reaction)); }
    const std::vector<ShownBox>& boxes() const { return boxes_; }
    int unscripted_boxes() const { return unscripted_; }

    int MessageBox(std::string_view text, std::string_view caption, std::uint32_t style) override;

    // The button a person pressing Enter would choose: the box's default button.
    static int DefaultButton(std::uint32_t style);

  private:
    std::deque<int> answers_;
    std::deque<std::function<void()>> reactions_;
    std::vector<ShownBox> boxes_;
    int unscripted_ = 0;
};

}  // namespace qm::sim
