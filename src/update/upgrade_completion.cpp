#include "update/upgrade_completion.h"

#include "clean/wait_seconds.h"
#include "cleaners/folder_path.h"
#include "errors/error_reporter.h"
#include "update/updater.h"

namespace qm::update {

namespace {

using errors::SilentStep;

bool IsDownloadName(std::string_view name) {
    constexpr std::string_view kName = "qms";
    if (name.size() != kName.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((name[i] | 0x20) != kName[i]) return false;
    return true;
}

}  // namespace

UpgradeCompletion::UpgradeCompletion(platform::Platform& platform,
                                     settings::SettingsStore& settings, std::string site)
    : platform_(platform), settings_(settings), site_(std::move(site)) {}

void UpgradeCompletion::Wait(int seconds) {
    clean::WaitSeconds(platform_.system, platform_.loop, seconds);
}

bool UpgradeCompletion::RunsAsDownload() {
    bool as_download = false;
    SilentStep([&] { as_download = IsDownloadName(platform_.process.ProgramName()); });
    return as_download;
}

void UpgradeCompletion::Check_For_Update() {
    SilentStep([&] { folder_ = cleaners::AddBackslash(platform_.process.ProgramFolder()); });
    const bool as_download = RunsAsDownload();
    // The program that started this one writes the stage right after the start and then
    // ends: both have happened by the time this pause is over.
    if (as_download) Wait(4);
    std::string up;
    SilentStep([&] {
        up = settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath, "Up",
                                          "a");
    });
    if (up.empty() || settings::ContainsLetter(up, 'a')) return;
    if (settings::ContainsLetter(up, 'b')) {
        // Only the downloaded program may overwrite the installed one.
        if (as_download && ReplaceInstalledProgram()) {
            HandOver();
        } else {
            GiveUp(as_download);
        }
    } else if (settings::ContainsLetter(up, 'c')) {
        Finish();
    }
}

bool UpgradeCompletion::ReplaceInstalledProgram() {
    const std::string download = folder_ + std::string(kDownloadName);
    const std::string installed = folder_ + std::string(kInstalledName);
    std::string fresh;
    if (platform_.files.ReadFile(download, fresh) != platform::kOk || fresh.empty()) return false;
    std::string old;
    const bool had_old = platform_.files.ReadFile(installed, old) == platform::kOk;
    bool aborted = false;
    SilentStep([&] { platform_.shell.CopyFileSilent(download, installed, aborted); });
    std::string copied;
    if (platform_.files.ReadFile(installed, copied) == platform::kOk && copied == fresh)
        return true;
    // Cut short half-way, the copy would leave a program that does not start.
    if (had_old && copied != old) SilentStep([&] { platform_.files.WriteFile(installed, old); });
    return false;
}

void UpgradeCompletion::HandOver() {
    SilentStep([&] { settings_.Save("Up", "c"); });
    Wait(4);
    SilentStep([&] { platform_.process.StartProgram(folder_ + std::string(kInstalledName)); });
    platform_.process.EndProcess();
}

void UpgradeCompletion::GiveUp(bool as_download) {
    SilentStep([&] { settings_.Save("Up", "a"); });
    SilentStep([&] {
        settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, "donreq");
    });
    // The old program is still what is installed: the next check may offer the upgrade again.
    SilentStep(
        [&] { settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, "ver"); });
    if (!as_download) return;
    // The user asked for Quillmoss and gets it, as it was.
    SilentStep([&] { platform_.process.StartProgram(folder_ + std::string(kInstalledName)); });
    platform_.process.EndProcess();
}

void UpgradeCompletion::Finish() {
    Wait(5);  // qms.exe has ended and let go of its file
    const std::string download = folder_ + std::string(kDownloadName);
    SilentStep([&] {
        std::uint32_t attributes = 0;
        if (platform_.files.GetAttributes(download, attributes) != platform::kOk) return;
        platform_.files.DeleteFile(download);
        platform_.files.DeleteFile(download);
    });
    SilentStep([&] { platform_.files.DeleteFile(download); });
    SilentStep([&] { settings_.Save("Up", "a"); });
    std::string req;
    SilentStep([&] {
        req = settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                           "donreq", "");
    });
    const auto forget_request = [&] {
        SilentStep([&] {
            settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, "donreq");
        });
    };
    if (req.empty()) {
        forget_request();
    } else if (settings::ContainsLetter(req, 'z')) {
        forget_request();
        SilentStep([&] { platform_.dialogs.MessageBox(kThanks, "Quillmoss", platform::mb::kOk); });
        SilentStep([&] { platform_.shell.OpenInBrowser(site_ + "/upgrade.php"); });
    }
}

}  // namespace qm::update
