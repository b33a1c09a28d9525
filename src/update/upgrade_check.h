#pragma once
// "Check for Upgrade" of the options dialog, and the hand-over to the new program once it is
// downloaded. The check's state lives here, not in the dialog: the waits for the site keep the
// windows answering, so the user may close the dialog, open a new one, or press the button
// again while a check runs.
#include <functional>
#include <string_view>

#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "update/splash.h"
#include "update/updater.h"

namespace qm::update {

inline constexpr std::string_view kCheckingText =
    "Please Wait...\r\nQuillmoss is checking for Upgrade...";
inline constexpr std::string_view kDownloadingText =
    "Please wait...\r\nQuillmoss is downloading new version...";
inline constexpr std::string_view kNotConnected =
    "You are not connected to Internet\r\nMake sure you are connected to Internet";
inline constexpr std::string_view kNoUpgrade = "No Upgrade of Quillmoss was available";
inline constexpr std::string_view kUpgradeAvailable =
    "Upgrade available.\r\nDo you want to download?";
inline constexpr std::string_view kUpdateCaption = "Check For Quillmoss Update";
// Shown once, in place of the offer or after the download, when what the site sent is not
// signed by its key; nothing was installed and nothing recorded.
inline constexpr std::string_view kUnverified =
    "The upgrade could not be verified, so nothing was installed.\r\n"
    "Quillmoss stays as it is.";

class UpgradeCheck {
  public:
    UpgradeCheck(platform::Platform& platform, settings::SettingsStore& settings,
                 errors::ErrorReporter& reporter, Updater& updater, Splash& splash);
    UpgradeCheck(const UpgradeCheck&) = delete;
    UpgradeCheck& operator=(const UpgradeCheck&) = delete;

    // What unloads the main window and the options dialog before the program ends for the
    // new version.
    void SetUnloadWindows(std::function<void()> unload) { unload_windows_ = std::move(unload); }

    // The button's handler. A press while a check is still running is ignored.
    void cmdUpgrade_Click();
    bool running() const { return running_; }

    // Downloads the new program (up to six tries) and starts it as qms.exe; only once it has
    // started are the new version and the hand-over stage recorded and this program ended.
    // False, with nothing recorded and no qms.exe left, when no signed check offered a newer
    // version, or no download with a good signature came, or the start failed.
    bool Install_Upgrade();

  private:
    void Check();
    void TellUnverified();

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    Updater& updater_;
    Splash& splash_;
    std::function<void()> unload_windows_ = [] {};
    bool running_ = false;
};

}  // namespace qm::update
