#include "platform/sim/sim_history.h"

#include <algorithm>

namespace qm::sim {

using platform::Status;

void SimHistory::Add(const std::string& name, std::vector<std::string> verbs) {
    items_.push_back({next_serial_++, name, std::move(verbs)});
}

std::vector<std::string> SimHistory::Names() const {
    std::vector<std::string> names;
    for (const Item& item : items_) names.push_back(item.name);
    return names;
}

Status SimHistory::Count(std::size_t& count) const {
    count = items_.size();
    return platform::kOk;
}

Status SimHistory::Verbs(std::size_t item, std::vector<std::string>& verbs) const {
    verbs.clear();
    if (item >= items_.size()) return platform::kErrorInvalidParameter;
    verbs = items_[item].verbs;
    return platform::kOk;
}

Status SimHistory::Invoke(std::size_t item, std::size_t verb) {
    if (item >= items_.size() || verb >= items_[item].verbs.size()) {
        return platform::kErrorInvalidParameter;
    }
    // Opening a page would start the browser, which this machine does not have; only the
    // deleting verb changes anything.
    if (items_[item].verbs[verb] != "&Delete") return platform::kOk;

    const std::uint64_t serial = items_[item].serial;
    if (AskToDelete() != platform::mb::kIdYes) return platform::kOk;
    // Timers ran while the question was open and may have changed the list; find it again.
    const auto chosen = std::find_if(items_.begin(), items_.end(),
                                     [&](const Item& entry) { return entry.serial == serial; });
    if (chosen == items_.end()) return platform::kOk;
    deletions_.push_back({Deletion::Kind::HistoryItem, chosen->name, ""});
    items_.erase(chosen);
    return platform::kOk;
}

int SimHistory::AskToDelete() {
    int answer = 0;
    open_questions_.push_back(&answer);
    struct CloseQuestion {
        std::vector<int*>& open;
        ~CloseQuestion() { open.pop_back(); }
    } close{open_questions_};

    // The question is modal but its loop still dispatches the main window's messages, so
    // Quillmoss's timers tick while it waits.
    const std::uint32_t asked = loop_.now();
    while (answer == 0 && loop_.now() - asked < kPatienceMs) loop_.PumpPending();
    if (answer == 0) {
        answer = dialogs_.MessageBox(kQuestion, kQuestionCaption,
                                     platform::mb::kYesNo | platform::mb::kIconQuestion);
    }
    return answer;
}

bool SimHistory::ConfirmOpenQuestion() {
    // Enter goes to the active window: with another program in front it would land there, so
    // nothing is sent at all.
    if (other_program_active_ || open_questions_.empty()) return false;
    int& answer = *open_questions_.back();
    if (answer != 0) return false;
    answer = platform::mb::kIdYes;
    return true;
}

}  // namespace qm::sim
