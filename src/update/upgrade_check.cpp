#include "update/upgrade_check.h"

#include "errors/labels.h"

namespace qm::update {

namespace mb = platform::mb;

UpgradeCheck::UpgradeCheck(platform::Platform& platform, settings::SettingsStore& settings,
                           errors::ErrorReporter& reporter, Updater& updater, Splash& splash)
    : platform_(platform),
      settings_(settings),
      reporter_(reporter),
      updater_(updater),
      splash_(splash) {}

void UpgradeCheck::cmdUpgrade_Click() {
    // A second check inside the first one's waits would share the transfer and the splash.
    if (running_) return;
    // A fleet whose organisation updates it through its own tools never checks here.
    if (settings_.policies().Switch(settings::kUpdateCheckPolicy) == false) return;
    running_ = true;
    Check();
    running_ = false;
}

void UpgradeCheck::Check() {
    const auto step = [this](auto&& action) {
        errors::ReportingStep(reporter_, errors::label::kForm2CmdUpgrade, action);
    };
    step([&] { splash_.SetLabel(kCheckingText); });
    step([&] { splash_.Show(); });
    bool online = false;
    step([&] { online = updater_.IsOnline(); });
    if (!online) {
        step([&] { splash_.Unload(); });
        step([&] {
            platform_.dialogs.MessageBox(kNotConnected, "Quillmoss", mb::kIconInformation);
        });
        return;
    }
    std::string stored;
    step([&] {
        stored = settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                              "ver", "5");
    });
    bool newer = false;
    step([&] { newer = updater_.Check_For_New_Version(stored); });
    step([&] { splash_.Unload(); });
    if (!newer && updater_.unverified()) {
        TellUnverified();
        return;
    }
    if (!newer) {
        step([&] {
            platform_.dialogs.MessageBox(kNoUpgrade, kUpdateCaption, mb::kIconInformation);
        });
        return;
    }
    int answer = mb::kIdCancel;
    step([&] {
        answer = platform_.dialogs.MessageBox(kUpgradeAvailable, kUpdateCaption, mb::kOkCancel);
    });
    if (answer != mb::kIdOk) return;
    step([&] { splash_.SetLabel(kDownloadingText); });
    step([&] { splash_.Show(); });
    bool ended = false;
    step([&] { ended = Install_Upgrade(); });
    if (ended) return;
    step([&] { splash_.Unload(); });
    if (updater_.unverified()) TellUnverified();
}

void UpgradeCheck::TellUnverified() {
    errors::ReportingStep(reporter_, errors::label::kForm2CmdUpgrade, [&] {
        platform_.dialogs.MessageBox(kUnverified, kUpdateCaption, mb::kIconExclamation);
    });
}

bool UpgradeCheck::Install_Upgrade() {
    // Only a version the site signed, higher than the one installed, is ever started.
    if (updater_.NewVersion().empty()) return false;
    bool downloaded = false;
    errors::SilentStep([&] { downloaded = updater_.DownloadWithRetries(); });
    if (!downloaded) return false;
    const std::string program = updater_.DownloadPath();
    bool started = false;
    errors::SilentStep([&] { started = platform_.process.StartProgram(program); });
    if (!started) {
        // A file that will not run is no use to the next check either.
        errors::SilentStep([&] { platform_.files.DeleteFile(program); });
        return false;
    }
    // The new program reads these only after its first pause, by when they are written.
    errors::SilentStep([&] { settings_.Save("App", platform_.system.NowAsText()); });
    errors::SilentStep([&] { settings_.Save("ver", updater_.NewVersion()); });
    errors::SilentStep([&] { settings_.Save("Up", "b"); });
    errors::SilentStep([&] { settings_.Save("donreq", "z"); });
    errors::SilentStep([&] { unload_windows_(); });
    errors::SilentStep([&] { splash_.Unload(); });
    platform_.process.EndProcess();
    return true;
}

}  // namespace qm::update
