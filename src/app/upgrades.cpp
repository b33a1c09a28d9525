#include "app/upgrades.h"

namespace qm::app {

Upgrades::Upgrades(MainWindow& window, platform::Platform& platform,
                   settings::SettingsStore& settings, errors::ErrorReporter& reporter,
                   const std::string& site, const std::string& key)
    : updater_(platform, settings, reporter, site, key),
      check_(platform, settings, reporter, updater_, splash_),
      completion_(platform, settings, site) {
    window.SetUpgradeCompletion([this] { completion_.Check_For_Update(); });
    window.options().SetUpgradeCheck([this] { check_.cmdUpgrade_Click(); });
    // The program ends for its new version as it ends on Exit: its icon leaves the
    // notification area and no window stays behind.
    check_.SetUnloadWindows([&window, &platform] {
        if (options::OptionsDialog* dialog = window.options().dialog()) dialog->Unload();
        window.Form_QueryUnload(kUnloadFromCode);
        platform.desktop.HideMainWindow();
    });
}

}  // namespace qm::app
