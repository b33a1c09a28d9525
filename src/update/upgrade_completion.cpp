#include "update/upgrade_completion.h"

#include "clean/wait_seconds.h"
#include "errors/error_reporter.h"
#include "paths/folder_path.h"
#include "update/updater.h"
#include "update/upgrade_stage.h"

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
    SilentStep([&] { folder_ = paths::AddBackslash(platform_.process.ProgramFolder()); });
    const bool as_download = RunsAsDownload();
    // The program that started this one writes the stage right after the start and then
    // ends: both have happened by the time this pause is over.
    if (as_download) Wait(4);
    std::string up;
    SilentStep([&] {
        up = settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath, "Up",
                                          "a");
    });
    switch (StageOf(up)) {
        case UpgradeStage::None:
            RemoveLeftDownload();
            break;
        case UpgradeStage::Replace:
            // Only the downloaded program may overwrite the installed one.
            if (as_download) {
                ReplaceAndHandOver();
            } else {
                GiveUp(false);
            }
            break;
        case UpgradeStage::Finish:
            Finish();
            break;
        case UpgradeStage::Other:
            break;
    }
}

void UpgradeCompletion::ReplaceAndHandOver() {
    ProgramReplacement replacement(platform_.files, folder_);
    bool replaced = false;
    SilentStep([&] { replaced = replacement.Replace(folder_ + std::string(kDownloadName)); });
    if (!replaced) return GiveUp(true);
    SilentStep([&] { settings_.Save("Up", "c"); });
    Wait(4);
    bool started = false;
    SilentStep(
        [&] { started = platform_.process.StartProgram(folder_ + std::string(kInstalledName)); });
    if (started) return platform_.process.EndProcess();
    // A new program that will not start is no upgrade: the old one comes back, checked.
    SilentStep([&] { replacement.PutBack(); });
    GiveUp(true);
}

void UpgradeCompletion::GiveUp(bool as_download) {
    SilentStep([&] { settings_.Save("Up", "a"); });
    SilentStep([&] {
        settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, "donreq");
    });
    // The old program is still what is installed: the next check may offer the upgrade again.
    SilentStep(
        [&] { settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, "ver"); });
    if (!as_download) {
        // A qms.exe may still be at work beside this copy: only what no one needs any more
        // goes, never qms.exe itself.
        SilentStep([&] { ProgramReplacement(platform_.files, folder_).Tidy(); });
        return;
    }
    // The user asked for Quillmoss and gets it, as it was; that one removes this qms.exe.
    SilentStep([&] { settings_.Save(kLeftDownloadValue, "y"); });
    SilentStep([&] { platform_.process.StartProgram(folder_ + std::string(kInstalledName)); });
    platform_.process.EndProcess();
}

void UpgradeCompletion::RemoveLeftDownload() {
    std::string left;
    SilentStep([&] { left = settings_.Get(kLeftDownloadValue); });
    if (left.empty()) return;
    // One try: a qms.exe that is held open stays, and the next download replaces it.
    DeleteDownload();
    SilentStep([&] { ProgramReplacement(platform_.files, folder_).Tidy(); });
    SilentStep([&] {
        settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath,
                                kLeftDownloadValue);
    });
}

void UpgradeCompletion::DeleteDownload() {
    const std::string download = folder_ + std::string(kDownloadName);
    SilentStep([&] {
        std::uint32_t attributes = 0;
        if (platform_.files.GetAttributes(download, attributes) != platform::kOk) return;
        platform_.files.DeleteFile(download);
        platform_.files.DeleteFile(download);
    });
    SilentStep([&] { platform_.files.DeleteFile(download); });
}

void UpgradeCompletion::Finish() {
    Wait(5);  // qms.exe has ended and let go of its file
    DeleteDownload();
    // The new program runs: the old one's backup is no longer the way back.
    SilentStep([&] { ProgramReplacement(platform_.files, folder_).Tidy(); });
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
