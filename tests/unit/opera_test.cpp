#include "cleaners/opera_cleaners.h"

#include <gtest/gtest.h>

#include "clean/catalogue.h"
#include "cleaners/netscape_cleaners.h"
#include "core_test_support.h"

namespace qm::cleaners {
namespace {

using platform::Root;
using Paths = std::vector<std::string>;

constexpr std::string_view kOperaKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
const std::string kAppData = "C:\\Documents and Settings\\Tester\\Application Data";

// The drive, remembering every path handed to it: the simulated drive refuses anything that
// is not a "C:" path, so only this record shows a cleaner looking in a relative place (on
// Windows, the root of the current drive or the current folder).
struct PathRecordingFiles : qm::testing::ForwardingFiles {
    using ForwardingFiles::ForwardingFiles;
    void Seen(V path) override { paths.emplace_back(path); }
    Paths paths;
};

TEST(BrowserCleaners, LookNowhereWithoutTheirFoldersAndTakeOnlyTheirOwnFiles) {
    sim::Machine machine;
    PathRecordingFiles files{machine.files()};
    platform::Platform recorded = qm::testing::WithFiles(machine, files);
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    std::vector<std::string> lst_cache;
    clean::CatalogueSteps steps{recorded, settings, log.reporter, lst_cache};
    const auto clean_all = [&] {  // every step of the Opera and Netscape panels' items
        for (const int panel : {4, 5}) {
            for (const clean::CleaningItem* item : clean::ItemsOfPanel(panel))
                for (const clean::StepId step : item->steps) steps.Run(step);
        }
    };

    machine.ClearSpecialFolder(platform::csidl::kAppData);
    clean_all();  // no App Paths entry, no Application Data folder, no "AppData" value
    for (const char* relative : {"", "Opera"}) {
        settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", relative);
        clean_all();
    }
    // The expandable type reads as empty text, which would give "\Mozilla\".
    qm::testing::WriteRaw(machine.registry(), Root::CurrentUser, kShellFoldersPath, "AppData",
                          platform::RegType::ExpandSz, qm::testing::Utf16Bytes(kAppData));
    clean_all();
    EXPECT_EQ(files.paths, Paths{});

    // Installed: cache subfolders, read-only, hidden and locked files stay.
    const std::string folder = "C:\\Program Files\\Opera";
    const std::string profile = kAppData + "\\Opera\\OPERA7\\profile\\";
    machine.SetSpecialFolder(platform::csidl::kAppData, kAppData);
    settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", folder);
    const Paths gone = {folder + "\\Cache\\opr1.tmp", folder + "\\cookies.dat",
                        profile + "cache4\\opr3.tmp", profile + "cookies4.dat",
                        profile + "global.dat",       profile + "opera.dir"};
    for (const std::string& file : gone) machine.AddFile(file);
    machine.AddFile(profile + "cache4\\sesn\\opr4.tmp");
    machine.AddFile(folder + "\\Cache\\pinned.tmp", "", platform::attr::kReadOnly);
    machine.AddFile(folder + "\\Cache\\hidden.tmp", "", platform::attr::kHidden);
    machine.AddFile(folder + "\\Cache\\busy.tmp");
    machine.Lock(folder + "\\Cache\\busy.tmp");
    clean_all();
    EXPECT_EQ(machine.deletions().size(), gone.size());
    for (const std::string& file : gone) EXPECT_FALSE(machine.Exists(file)) << file;
    EXPECT_TRUE(log.sent.empty());
}

// Opera's cookie files cannot be rewritten soundly: one that holds a kept site stays whole,
// and the item's line says so; one that does not goes as before.
TEST(BrowserCleaners, OperaCookiesHoldingAKeptSiteStayWholeAndTheItemSaysSo) {
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    std::vector<std::string> lst_cache;
    clean::CatalogueSteps steps{machine.platform(), settings, log.reporter, lst_cache};
    machine.SetSpecialFolder(platform::csidl::kAppData, kAppData);
    const std::string cookies = kAppData + "\\Opera\\OPERA7\\profile\\cookies4.dat";
    // Opera writes a name a label at a time: "com", then "Example", then "mail".
    constexpr char kLabels[] =
        "\x00\x01\x03"
        "com"
        "\x00\x01\x07"
        "Example"
        "\x00\x01\x04"
        "mail";
    const std::string labels(kLabels, sizeof kLabels);
    const auto clean_cookies = [&](const char* kept) {
        settings.Save("cookiekeep", kept);
        machine.AddFile(cookies, labels);
        for (const clean::StepId step : clean::steps::kOperaCookies) steps.Run(step);
        return steps.TakeEndLine();
    };
    EXPECT_EQ(clean_cookies("mail.example.com"), std::string(kOperaCookiesKeptLine));
    EXPECT_EQ(machine.Peek(cookies), labels);
    EXPECT_EQ(clean_cookies("bank.example.com"), std::nullopt);
    EXPECT_FALSE(machine.Exists(cookies));
}

}  // namespace
}  // namespace qm::cleaners
