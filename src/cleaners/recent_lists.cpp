#include "cleaners/recent_lists.h"

#include <string>
#include <vector>

#include "errors/labels.h"
#include "errors/runtime_error.h"

namespace qm::cleaners {

using errors::SilentStep;
using platform::Root;

namespace {

constexpr int kMostNumberedValues = 100;

// The characters of a UTF-8 text, each as its own text. Run-list entries are named by one
// character, and a letter outside ASCII must still name its value, not a piece of it.
std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        characters.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return characters;
}

}  // namespace

RecentListCleaners::RecentListCleaners(platform::Platform& platform,
                                       settings::SettingsStore& settings, FileTools& file_tools,
                                       sysinfo::SystemDetails& system,
                                       errors::ErrorReporter& reporter)
    : platform_(platform),
      settings_(settings),
      file_tools_(file_tools),
      system_(system),
      reporter_(reporter) {}

void RecentListCleaners::CleanRunMRU() {
    std::string letters;
    SilentStep([&] {
        letters = settings_.GetSettingString(Root::CurrentUser, recent_key::kRunMRU, "MRUList", "");
    });
    for (const std::string& letter : Characters(letters)) {
        SilentStep(
            [&] { settings_.DeleleteValue(Root::CurrentUser, recent_key::kRunMRU, letter); });
    }
    SilentStep([&] { settings_.DeleleteValue(Root::CurrentUser, recent_key::kRunMRU, "MRUList"); });
}

void RecentListCleaners::CleanFindMRU() {
    SilentStep([&] {
        std::string_view key = recent_key::kFindOther;
        if (system_.IsWin2000()) {
            key = recent_key::kFindWin2000;
        } else if (system_.IsWinXP()) {
            key = recent_key::kFindWinXP;
        }
        settings_.DeleteKey(Root::CurrentUser, key);
    });
}

void RecentListCleaners::CleanRecentDocs() {
    SilentStep([&] { platform_.shell.ClearRecentDocs(); });
}

void RecentListCleaners::CleanPaintMRU() {
    CleanFileNumberList(recent_key::kPaint);
}

void RecentListCleaners::CleanWordPadMRU() {
    CleanFileNumberList(recent_key::kWordPad);
}

// The applets keep their list without gaps, so an existing File1 stands for a list worth
// sweeping in full (gaps included), and a missing one for no list at all.
void RecentListCleaners::CleanFileNumberList(std::string_view key) {
    std::string first;
    SilentStep([&] { first = settings_.GetSettingString(Root::CurrentUser, key, "File1", ""); });
    for (int n = 1; n <= kMostNumberedValues; ++n) {
        SilentStep(
            [&] { settings_.DeleleteValue(Root::CurrentUser, key, "File" + std::to_string(n)); });
        if (first.empty()) break;
    }
}

void RecentListCleaners::CleanWinZipFileMenu() {
    CleanUntilFirstEmpty(recent_key::kWinZipFileMenu, "filemenu");
}

void RecentListCleaners::CleanWinZipExtract() {
    CleanUntilFirstEmpty(recent_key::kWinZipExtract, "extract");
}

void RecentListCleaners::CleanUntilFirstEmpty(std::string_view key, std::string_view prefix) {
    for (int n = 1; n <= kMostNumberedValues; ++n) {
        const std::string name = std::string(prefix) + std::to_string(n);
        std::string text;
        SilentStep([&] { text = settings_.GetSettingString(Root::CurrentUser, key, name, ""); });
        SilentStep([&] { settings_.DeleleteValue(Root::CurrentUser, key, name); });
        if (text.empty()) break;
    }
}

void RecentListCleaners::CleanMediaPlayer() {
    const std::string_view label = errors::label::kCleanMediaPlayer;
    errors::ReportingStep(reporter_, label, [&] {
        settings_.DeleteKey(Root::CurrentUser, recent_key::kMediaPlayerUrls);
    });
    errors::ReportingStep(reporter_, label, [&] {
        settings_.DeleteKey(Root::CurrentUser, recent_key::kMediaPlayerFiles);
    });

    // The player keeps its files in the Application Data folder of whoever uses it. Without
    // that folder there is nothing of this user's to find, and a bare "Microsoft\Media
    // Player" would name a folder below whatever the current folder happens to be.
    std::string folder;
    errors::ReportingStep(reporter_, label, [&] {
        const std::string app_data = file_tools_.GetSpecialFolder(platform::csidl::kAppData);
        if (!app_data.empty()) folder = app_data + std::string(kMediaPlayerFolder);
    });
    if (folder.empty() || !file_tools_.FolderExists(folder)) return;
    // One failure per file: a file the player holds open stays, and the rest still go.
    file_tools_.DeleteFilesIn(folder, label);
}

void RecentListCleaners::CleanMSOfficeRecent() {
    // Without the Application Data folder the list's folder would be relative, and the files
    // of whatever folder is current would be taken for Office's shortcuts.
    std::string app_data;
    SilentStep([&] { app_data = file_tools_.GetSpecialFolder(platform::csidl::kAppData); });
    if (app_data.empty()) return;
    file_tools_.DeleteFilesIn(app_data + std::string(kOfficeRecentFolder));
}

}  // namespace qm::cleaners
