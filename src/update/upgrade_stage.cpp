#include "update/upgrade_stage.h"

namespace qm::update {

UpgradeStage StageOf(std::string_view up) {
    if (up.empty() || settings::ContainsLetter(up, 'a')) return UpgradeStage::None;
    if (settings::ContainsLetter(up, 'b')) return UpgradeStage::Replace;
    if (settings::ContainsLetter(up, 'c')) return UpgradeStage::Finish;
    return UpgradeStage::Other;
}

bool HandOverUnderWay(settings::SettingsStore& settings) {
    const UpgradeStage stage = StageOf(settings.Get("Up"));
    return stage == UpgradeStage::Replace || stage == UpgradeStage::Finish ||
           !settings.Get(kLeftDownloadValue).empty();
}

}  // namespace qm::update
