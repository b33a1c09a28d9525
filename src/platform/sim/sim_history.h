#pragma once
// The History folder seen as a shell namespace, the confirmation question its "&Delete" verb
// asks, and which window is active when Quillmoss answers it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_message_loop.h"
#include "platform/status.h"

namespace qm::sim {

class SimHistory {
  public:
    static constexpr const char* kQuestion =
        "Are you sure you want to delete the selected item(s)?";
    static constexpr const char* kQuestionCaption = "Warning";
    // How long the question waits for Quillmoss before the scripted user answers it.
    static constexpr std::uint32_t kPatienceMs = 10'000;

    SimHistory(SimMessageLoop& loop, SimDialogs& dialogs, std::vector<Deletion>& deletions)
        : loop_(loop), dialogs_(dialogs), deletions_(deletions) {}

    void Add(const std::string& name, std::vector<std::string> verbs);
    std::vector<std::string> Names() const;

    platform::Status Count(std::size_t& count) const;
    platform::Status Verbs(std::size_t item, std::vector<std::string>& verbs) const;
    platform::Status Invoke(std::size_t item, std::size_t verb);

    void SetOtherProgramActive(bool active) { other_program_active_ = active; }
    bool other_program_active() const { return other_program_active_; }
    int input_sent_to_other_programs() const { return input_sent_to_other_programs_; }
    // Presses the default button (Yes) of the innermost open question; false when none is
    // open or another program's window is the active one.
    bool ConfirmOpenQuestion();

  private:
    struct Item {
        std::uint64_t serial = 0;  // identifies the item even if others go while it waits
        std::string name;
        std::vector<std::string> verbs;
    };

    // Shows the question and pumps until it is answered; the button pressed.
    int AskToDelete();

    SimMessageLoop& loop_;
    SimDialogs& dialogs_;
    std::vector<Deletion>& deletions_;
    std::vector<Item> items_;
    std::uint64_t next_serial_ = 1;
    // One slot per question open now, innermost last; 0 until it is answered.
    std::vector<int*> open_questions_;
    bool other_program_active_ = false;
    int input_sent_to_other_programs_ = 0;
};

}  // namespace qm::sim
