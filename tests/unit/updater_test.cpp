// The update check and the download against the simulated web.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "errors/labels.h"
#include "signing.h"
#include "update/connection.h"
#include "update/makers_key.h"
#include "update/updater.h"
#include "update/version_number.h"

namespace qm::update {
namespace {

using testing::SignedBy;
namespace keys = testing::keys;

struct UpdaterTest : ::testing::Test {
    // The answer for `path`: standing, or (next) for the next request only; a standing answer
    // gets its standing signature beside it, by the site's key.
    void Serve(const std::string& path, std::string body, bool next = false,
               std::uint64_t announced = 0) {
        if (!next) ServeSignature(path, SignedBy(keys::kTestPrivate, body));
        sim::HttpAnswer answer;
        answer.body = std::move(body);
        if (announced != 0) answer.announced = announced;
        (machine.*(next ? &sim::Machine::ServeUrlNext : &sim::Machine::ServeUrl))(
            "https://site" + path, answer);
    }
    void ServeSignature(const std::string& path, std::string signature) {
        sim::HttpAnswer answer;
        answer.body = std::move(signature);
        machine.ServeUrl("https://site" + path + ".sig", answer);
    }
    bool Check(const std::string& page, const std::string& stored) {
        Serve("/qms.txt", page);
        return updater.Check_For_New_Version(stored);
    }

    sim::Machine machine;
    testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    Updater updater{machine.platform(), settings, log.reporter, "https://site", keys::kTestPublic};
};

TEST_F(UpdaterTest, VersionsRoundHalvesToEvenAndOnlyAWholeReadablePageMovesVer) {
    for (auto [text, number] :
         {std::pair{" 5.5\r\n", 6}, {"4.5", 4}, {"4.501x", 5}, {"-32768", -32768}, {"beta 7", 0}})
        EXPECT_EQ(VersionNumber(text), number) << text;
    EXPECT_FALSE(VersionNumber("32767.5"));
    EXPECT_TRUE(Check("6\r\n", ""));  // no stored version counts as 0
    EXPECT_EQ(updater.NewVersion(), "6");
    for (const char* page : {"0", "junk", "40000", "5.4"}) EXPECT_FALSE(Check(page, "5")) << page;
    EXPECT_FALSE(Check("4", "99999"));
    // An older signed file, replayed by a stale mirror, lowers nothing: the next replay could
    // otherwise offer an older signed program as an upgrade.
    EXPECT_FALSE(Check("4", "5"));
    EXPECT_EQ(settings.Get("ver", "none") + updater.NewVersion(), "none");

    // Status 200 and the whole announced body are what count, whatever the header's case.
    sim::HttpAnswer answer;
    answer.body = "9";
    answer.length_name = "content-length";
    machine.ServeUrl("https://site/qms.txt", answer);
    ServeSignature("/qms.txt", SignedBy(keys::kTestPrivate, "9"));
    EXPECT_TRUE(updater.Check_For_New_Version("5"));
    Serve("/qms.txt", "9", true);  // the size probe still finds it; the fetch does not
    answer.status = 404;
    machine.ServeUrl("https://site/qms.txt", answer);
    EXPECT_FALSE(updater.Check_For_New_Version("5"));
    Serve("/qms.txt", "9", false, 5);
    EXPECT_FALSE(updater.Check_For_New_Version("5"));
    EXPECT_EQ(log.CountFor(errors::label::kCheckForNewVersion), 1);  // the short transfer
}

TEST_F(UpdaterTest, OnlyAVersionFileWithTheSitesOwnSignatureOverItsBytesCounts) {
    Serve("/qms.txt", "9");
    sim::HttpAnswer missing;
    missing.status = 404;
    machine.ServeUrl("https://site/qms.txt.sig", missing);
    EXPECT_FALSE(updater.Check_For_New_Version("5"));
    EXPECT_TRUE(updater.unverified());
    const std::string good = SignedBy(keys::kTestPrivate, "9");
    for (const auto& [signature, what] :
         {std::pair{SignedBy(keys::kOtherPrivate, "9"), "another key's"},
          {good.substr(0, good.size() / 2), "half of it"},
          {SignedBy(keys::kTestPrivate, "8"), "the site's, for other bytes"}}) {
        ServeSignature("/qms.txt", signature);
        EXPECT_FALSE(updater.Check_For_New_Version("5")) << what;
        EXPECT_TRUE(updater.unverified() && updater.NewVersion().empty()) << what;
    }
    ServeSignature("/qms.txt", good);
    EXPECT_TRUE(updater.Check_For_New_Version("5"));
    EXPECT_FALSE(updater.unverified());
    EXPECT_FALSE(Check("5", "5") || updater.unverified());  // signed, and simply not newer
}

TEST_F(UpdaterTest, OnlyAnHttpsSiteNamedInTheMachinesKeyTakesTheMakersPlaceAndBringsItsKey) {
    using platform::Root;
    const auto write = [&](Root root, std::string_view name, const std::string& text) {
        testing::WriteRaw(machine.registry(), root, kSiteOverridePath, name, platform::RegType::Sz,
                          testing::Utf16Bytes(text));
    };
    // A key alone, in either hive, leaves the maker's site and the maker's key.
    write(Root::LocalMachine, kSiteKeyValue, keys::kTestPublic);
    EXPECT_EQ(SiteAddress(machine.registry()) + SiteKey(machine.registry()),
              std::string(kMakersSite) + std::string(kMakersKey));
    for (auto [root, text, site] :
         {std::tuple{Root::CurrentUser, "https://user.test", kMakersSite},
          {Root::LocalMachine, "http://127.0.0.1:8", kMakersSite},
          {Root::LocalMachine, "https://127.0.0.1:8/", "https://127.0.0.1:8"}}) {
        write(root, kSiteOverrideValue, text);
        EXPECT_EQ(SiteAddress(machine.registry()), site) << text;
        EXPECT_EQ(SiteKey(machine.registry()),
                  site == kMakersSite ? std::string(kMakersKey) : keys::kTestPublic)
            << text;
    }
    // Another site without a key of its own is held to the maker's key.
    testing::WriteRaw(machine.registry(), Root::LocalMachine, kSiteOverridePath, kSiteKeyValue,
                      platform::RegType::ExpandSz, testing::Utf16Bytes(keys::kTestPublic));
    EXPECT_EQ(SiteKey(machine.registry()), kMakersKey);
}

TEST_F(UpdaterTest, ADownloadCountsOnlyWhenWholeAndWrittenAndIsTriedSixTimes) {
    const std::string program(2000, 'p'), path = updater.DownloadPath();
    machine.AddFile(path, "old");
    // Each attempt probes the size, then downloads: five attempts end short, the sixth passes.
    for (int i = 0; i < 10; ++i) Serve("/qmsupdate.exe", program.substr(1), true, 2000);
    Serve("/qmsupdate.exe", program);
    EXPECT_TRUE(updater.DownloadWithRetries());
    std::string written;
    machine.files().ReadFile(path, written);
    EXPECT_EQ(written, program);
    EXPECT_EQ(log.CountFor(errors::label::kDownloadApp), 1);  // one failure, sent once
    for (int i = 0; i < 12; ++i) Serve("/qmsupdate.exe", program.substr(1), true, 2000);
    EXPECT_FALSE(updater.DownloadWithRetries());
    EXPECT_FALSE(machine.Exists(path));

    // Too small for a program, or longer than the size the probe announced.
    Serve("/qmsupdate.exe", program.substr(1000));
    EXPECT_FALSE(updater.Download_App());
    Serve("/qmsupdate.exe", program, true);
    Serve("/qmsupdate.exe", program + "tail");
    EXPECT_FALSE(updater.Download_App());
    EXPECT_FALSE(machine.Exists(path));

    // A program whose signature is not good for its exact bytes is deleted, and not fetched
    // again: the site has answered.
    std::string tampered = program;
    tampered[1000] = 'x';
    Serve("/qmsupdate.exe", program);
    sim::HttpAnswer changed;
    changed.body = tampered;
    machine.ServeUrl("https://site/qmsupdate.exe", changed);
    std::size_t calls = machine.http_calls().size();
    EXPECT_FALSE(updater.DownloadWithRetries());
    EXPECT_TRUE(updater.unverified() && !machine.Exists(path));
    EXPECT_EQ(machine.http_calls().size(), calls + 4);  // online, probe, program, signature

    // A program folder that cannot be written fails before the download.
    Serve("/qmsupdate.exe", program);
    machine.AddFile(path, "old");
    machine.Lock(path, sim::LockMode::Exclusive);
    calls = machine.http_calls().size();
    EXPECT_FALSE(updater.Download_App());
    EXPECT_EQ(machine.http_calls().size(), calls + 2);  // the online test and the size probe
    EXPECT_EQ(log.CountFor(errors::label::kDownloadApp), 2);
}

}  // namespace
}  // namespace qm::update
