#pragma once
// The online upgrade attached to the main window: the check behind the options dialog's
// "Check for Upgrade", with its wait window, and the completion that start-up runs.
#include <string>

#include "app/main_window.h"
#include "update/splash.h"
#include "update/updater.h"
#include "update/upgrade_check.h"
#include "update/upgrade_completion.h"

namespace qm::app {

class Upgrades {
  public:
    // `site`: the maker's web site, without a trailing slash; `key`: the public key that
    // signs its updates.
    Upgrades(MainWindow& window, platform::Platform& platform, settings::SettingsStore& settings,
             errors::ErrorReporter& reporter, const std::string& site, const std::string& key);
    Upgrades(const Upgrades&) = delete;
    Upgrades& operator=(const Upgrades&) = delete;

    update::Splash& frmSplash() { return splash_; }
    update::UpgradeCheck& check() { return check_; }

  private:
    update::Updater updater_;
    update::Splash splash_;
    update::UpgradeCheck check_;
    update::UpgradeCompletion completion_;
};

}  // namespace qm::app
