// The preview tells the truth: on randomly generated hostile machines, what the preview of an
// item lists is, entry for entry, what the clean of that item then deletes; and the preview
// itself changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/unattended.h"
#include "hostile_machine.h"
#include "platform/dry_run/dry_run.h"

namespace qm {
namespace {

using namespace qm::testing;
using dry_run::DryDeletion;

// Kind, path and value name, in one comparable line. The History folder's items are named by
// their place in the preview and by their title on the machine, so only their kind counts.
std::string Entry(int kind, const std::string& path, const std::string& value) {
    const bool history = kind == static_cast<int>(DryDeletion::Kind::HistoryItem);
    return std::to_string(kind) + "|" + (history ? "" : Lower(path)) + "|" + Lower(value);
}

TEST(PreviewTruth, EveryItemsPreviewIsWhatItsCleanThenDeletes) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        sim::Machine machine;
        Populate(machine, seed);
        errors::ErrorReporter reporter;
        settings::SettingsStore settings(machine.registry(), machine.process(), reporter);
        cli::Unattended unattended(machine.platform(), settings, reporter);
        std::size_t compared = 0;
        // Every item, then the own places the machine's settings hold.
        std::vector<std::string> names;
        for (const clean::CleaningItem& item : clean::ItemsInRunOrder())
            names.emplace_back(item.value_name);
        for (const clean::CustomItem& custom : clean::DefinedCustomItems(settings))
            names.push_back(custom.value_name);
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            const clean::CleaningItem* item = clean::FindByValueName(name);
            const std::optional<clean::CustomItem> custom =
                item ? std::nullopt : clean::FindCustomItem(settings, name);
            const std::vector<std::string> paths = machine.AllPaths();
            // Only the browser items write (their databases); their files must stay as well.
            const bool writes = item && clean::BrowserFamilyOf(*item).has_value();
            const auto contents = [&] {
                std::string all;
                for (const std::string& path : paths) {
                    if (writes) all += machine.Peek(path).value_or("");
                }
                return all;
            };
            const std::string before = contents();
            machine.ClearDeletions();
            const std::vector<DryDeletion> preview =
                item ? unattended.PreviewRecords(std::span(&item, 1))[0]
                     : unattended.PreviewRecords({}, std::span(&*custom, 1))[0];
            EXPECT_TRUE(machine.deletions().empty());
            EXPECT_EQ(machine.AllPaths(), paths);
            EXPECT_TRUE(contents() == before) << "the preview wrote to a file";

            const std::size_t scheduled = machine.ScheduledAtRestart().size();
            const std::vector<std::string> args = {"/clean", name};
            unattended.Run(args, [](std::string_view) {});
            std::vector<std::string> expected, listed;
            // A database cleaned row by row is rewritten, not lost: the preview names its rows,
            // not the copy the cleaning wrote and removed, nor the old file it replaced, nor a
            // log that SQLite made and removed again on the way.
            std::vector<std::string> rewritten, seen;
            for (const sim::Deletion& d : machine.deletions())
                if (d.kind == sim::Deletion::Kind::Rows) rewritten.push_back(Lower(d.path));
            const auto among = [](const std::vector<std::string>& names, const std::string& name) {
                return std::find(names.begin(), names.end(), name) != names.end();
            };
            for (const sim::Deletion& d : machine.deletions()) {
                if (d.kind == sim::Deletion::Kind::Changed) continue;
                if (d.kind == sim::Deletion::Kind::File &&
                    (among(rewritten, Lower(d.path)) || among(seen, Lower(d.path)) ||
                     d.path.find(".qmclean") != std::string::npos))
                    continue;
                if (d.kind == sim::Deletion::Kind::File) seen.push_back(Lower(d.path));
                const int kind = d.kind == sim::Deletion::Kind::Rows
                                     ? static_cast<int>(DryDeletion::Kind::Rows)
                                     : static_cast<int>(d.kind);
                expected.push_back(Entry(kind, d.path, d.value_name));
            }
            for (std::size_t i = scheduled; i < machine.ScheduledAtRestart().size(); ++i)
                expected.push_back(Entry(static_cast<int>(DryDeletion::Kind::AtRestart),
                                         machine.ScheduledAtRestart()[i], ""));
            // The shell empties the bin and the Recent Documents list in one call each; the
            // session's clipboard and resolver cache are no files at all.
            const bool whole_list = name == "recycle" || name == "docs";
            if (name == "clipboard" || name == "dnscache") {
                ASSERT_EQ(preview.size(), 1u);
                EXPECT_EQ(preview[0].kind, DryDeletion::Kind::SessionTrace);
                EXPECT_TRUE(expected.empty());
                continue;
            }
            for (const DryDeletion& d : preview) {
                // What the preview calls kept is still there after the clean.
                if (d.kind == DryDeletion::Kind::Kept) {
                    EXPECT_TRUE(machine.Exists(d.path)) << d.path;
                    continue;
                }
                listed.push_back(Entry(static_cast<int>(d.kind), d.path, d.value_name));
                const bool browser = d.path.find("\\User Data\\") != std::string::npos ||
                                     d.path.find("\\Firefox\\") != std::string::npos;
                const bool jump_list = d.path.find("Destinations\\") != std::string::npos;
                if (d.kind == DryDeletion::Kind::File && !browser && !jump_list) {
                    EXPECT_EQ(d.size, 4u) << d.path;
                }
            }
            if (whole_list) {
                EXPECT_EQ(listed.size(), 1u);
                EXPECT_FALSE(expected.empty());
                continue;
            }
            EXPECT_EQ(listed, expected);
            compared += expected.size();
        }
        EXPECT_GT(compared, 20u);  // the machines gave the cleaners something to do
    }
}

TEST(DryRun, WhatItDeletedIsGoneFromEveryLaterReadWhileTheMachineKeepsAll) {
    using platform::kOk;
    sim::Machine machine;
    machine.AddFile("C:\\T\\a.txt", "abc");
    machine.AddUrlCacheEntry("http://a/");
    machine.AddUrlCacheEntry("http://b/");
    WriteRaw(machine.registry(), Root::CurrentUser, "Software\\K", "v", RegType::Sz,
             Utf16Bytes("x"));
    dry_run::DryRun dry(machine.platform());
    platform::Platform& p = dry.platform();
    EXPECT_EQ(p.files.RemoveDirectory("C:\\T"), platform::kErrorDirNotEmpty);
    EXPECT_EQ(p.files.DeleteFile("C:\\T\\a.txt"), kOk);
    EXPECT_EQ(p.files.DeleteFile("C:\\T\\a.txt"), platform::kErrorFileNotFound);
    EXPECT_EQ(p.files.RemoveDirectory("C:\\T"), kOk);
    std::uint32_t attributes = 0;
    EXPECT_EQ(p.files.GetAttributes("C:\\T\\a.txt", attributes), platform::kErrorPathNotFound);

    EXPECT_EQ(p.url_cache.DeleteEntry("http://a/"), kOk);
    std::uint32_t size = 0;
    platform::UrlCacheWalk walk = 0;
    platform::UrlCacheEntry entry;
    EXPECT_EQ(p.url_cache.FindFirst(size, walk, entry), platform::kErrorInsufficientBuffer);
    EXPECT_EQ(p.url_cache.FindFirst(size, walk, entry), kOk);
    EXPECT_EQ(entry.source_url, "http://b/");
    size = 0;
    EXPECT_EQ(p.url_cache.FindNext(walk, size, entry), platform::kErrorNoMoreItems);
    p.url_cache.Close(walk);

    platform::RegKey key = 0;
    ASSERT_EQ(p.registry.OpenKey(Root::CurrentUser, "Software\\K", key), kOk);
    EXPECT_EQ(p.registry.DeleteValue(key, "V"), kOk);
    EXPECT_EQ(p.registry.DeleteValue(key, "v"), platform::kErrorFileNotFound);
    p.registry.CloseKey(key);

    EXPECT_EQ(dry.record().size(), 4u);
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(machine.Exists("C:\\T\\a.txt"));
    EXPECT_EQ(machine.UrlCacheUrls().size(), 2u);
    EXPECT_EQ(ReadRaw(machine.registry(), Root::CurrentUser, "Software\\K", "v").exists, true);
    EXPECT_EQ(machine.open_url_cache_walks() + machine.open_registry_keys(), 0u);
}

// What a file or folder took with it stays hidden across items, in any letter case and for
// every entry below a removed folder, while sibling files stay in view.
TEST(DryRun, DeletedNamesStayHiddenAfterTheRecordIsHandedOver) {
    using platform::kOk;
    sim::Machine machine;
    for (const char* name : {"a.txt", "b.txt", "S\\c.txt", "S\\d.txt", "U\\e.txt"}) {
        machine.AddFile(std::string("C:\\T\\") + name, "x");
    }
    dry_run::DryRun dry(machine.platform());
    platform::FileSystem& files = dry.platform().files;
    std::vector<platform::DirEntry> listed;
    ASSERT_EQ(files.List("C:\\T\\S\\*", listed), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\T\\S\\c.txt"), kOk);
    EXPECT_EQ(files.DeleteFile("c:\\t\\s\\C.TXT"), platform::kErrorFileNotFound);
    EXPECT_EQ(files.DeleteFile("C:\\T\\S\\d.txt"), kOk);
    EXPECT_EQ(files.OpenForRead("C:\\T\\S\\D.TXT"), platform::kErrorFileNotFound);
    EXPECT_EQ(files.DeleteFile("C:\\T\\A.TXT"), kOk);
    EXPECT_EQ(dry.TakeRecord().size(), 3u);
    EXPECT_EQ(files.RemoveDirectory("C:\\T\\S"), kOk);
    std::uint32_t attributes = 0;
    EXPECT_EQ(files.GetAttributes("C:\\T\\s\\D.txt", attributes), platform::kErrorPathNotFound);
    EXPECT_EQ(files.DeleteFile("C:\\T\\U\\e.txt"), kOk);
    ASSERT_EQ(files.List("C:\\t\\*", listed), kOk);
    std::vector<std::string> names;
    for (const platform::DirEntry& entry : listed) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "b.txt", "U"}));
    EXPECT_EQ(files.OpenForRead("C:\\T\\a.txt"), platform::kErrorFileNotFound);
}

// A folder listed whole counts as emptied once every entry shown has gone: a file held open
// keeps it, as does what a narrower listing never showed, also after a link in it has gone.
TEST(DryRun, AFolderGoesOnlyOnceEverythingItHeldHasGone) {
    using platform::kOk;
    sim::Machine machine;
    for (const char* name :
         {"T\\a.txt", "T\\b.txt", "T\\c.txt", "T\\d.txt", "P\\x.tmp", "P\\keep.txt"}) {
        machine.AddFile(std::string("C:\\") + name, "x");
    }
    machine.Lock("C:\\T\\b.txt");
    machine.AddFolderLink("C:\\T\\L", "C:\\P");
    dry_run::DryRun dry(machine.platform());
    platform::FileSystem& files = dry.platform().files;
    std::vector<platform::DirEntry> listed;
    ASSERT_EQ(files.List("C:\\T\\*", listed), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\T\\a.txt"), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\T\\b.txt"), platform::kErrorSharingViolation);
    EXPECT_EQ(files.DeleteFile("C:\\T\\c.txt"), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\T\\d.txt"), kOk);
    EXPECT_EQ(files.RemoveDirectory("C:\\T"), platform::kErrorDirNotEmpty);
    EXPECT_EQ(files.RemoveDirectory("C:\\T\\L"), kOk);
    EXPECT_EQ(files.RemoveDirectory("C:\\T"), platform::kErrorDirNotEmpty);
    ASSERT_EQ(files.List("C:\\P\\*.tmp", listed), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\P\\x.tmp"), kOk);
    EXPECT_EQ(files.RemoveDirectory("C:\\P"), platform::kErrorDirNotEmpty);
    ASSERT_EQ(files.List("C:\\P\\*.*", listed), kOk);
    EXPECT_EQ(files.DeleteFile("C:\\P\\keep.txt"), kOk);
    EXPECT_EQ(files.RemoveDirectory("C:\\p\\"), kOk);
    EXPECT_EQ(dry.record().size(), 7u);
}

}  // namespace
}  // namespace qm
