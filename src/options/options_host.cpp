#include "options/options_host.h"

namespace qm::options {

void OptionsHost::Open() {
    if (!dialog()) {
        if (dialog_ && dialog_->busy()) retired_.push_back(std::move(dialog_));
        std::erase_if(retired_, [](const auto& retired) { return !retired->busy(); });
        // The view let go of a closed dialog's controls when it was unloaded.
        dialog_ = std::make_unique<OptionsDialog>(platform_, settings_, reporter_, *schedule_);
        dialog_->SetUpgradeCheck(upgrade_check_);
        dialog_->SetOnPlacesChanged(places_changed_);
        dialog_->Form_Load();
    }
    show_(*dialog_);
}

}  // namespace qm::options
