// The preview tells the truth: on randomly generated hostile machines, what the preview of an
// item lists is, entry for entry, what the clean of that item then deletes; and the preview
// itself changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/unattended.h"
#include "hostile_machine.h"

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
        cleaners::FileTools tools(machine.files(), machine.shell(), reporter);
        cli::Unattended unattended(machine.platform(), settings, reporter, tools);
        std::size_t compared = 0;
        for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
            SCOPED_TRACE(std::string(item.value_name));
            const std::vector<std::string> paths = machine.AllPaths();
            machine.ClearDeletions();
            const clean::CleaningItem* one[] = {&item};
            const std::vector<DryDeletion> preview = unattended.PreviewRecords(one)[0];
            EXPECT_TRUE(machine.deletions().empty());
            EXPECT_EQ(machine.AllPaths(), paths);

            const std::size_t scheduled = machine.ScheduledAtRestart().size();
            const std::vector<std::string> args = {"/clean", std::string(item.value_name)};
            unattended.Run(args, [](std::string_view) {});
            std::vector<std::string> expected, listed;
            for (const sim::Deletion& d : machine.deletions())
                expected.push_back(Entry(static_cast<int>(d.kind), d.path, d.value_name));
            for (std::size_t i = scheduled; i < machine.ScheduledAtRestart().size(); ++i)
                expected.push_back(Entry(static_cast<int>(DryDeletion::Kind::AtRestart),
                                         machine.ScheduledAtRestart()[i], ""));
            // The shell empties the bin and the Recent Documents list in one call each.
            const bool whole_list =
                item.value_name == "recycle" || item.value_name == "docs";
            for (const DryDeletion& d : preview) {
                listed.push_back(Entry(static_cast<int>(d.kind), d.path, d.value_name));
                if (d.kind == DryDeletion::Kind::File) {
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

}  // namespace
}  // namespace qm
