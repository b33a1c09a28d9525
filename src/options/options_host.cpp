#include "options/options_host.h"

namespace qm::options {

void OptionsHost::Open() {
    if (!dialog()) {
        // The view let go of a closed dialog's controls when it was unloaded.
        dialog_ = std::make_unique<OptionsDialog>(platform_, settings_, reporter_, *schedule_);
        dialog_->SetUpgradeCheck(upgrade_check_);
        dialog_->Form_Load();
    }
    show_(*dialog_);
}

}  // namespace qm::options
