// The safety property of the cleaners together: on randomly generated machines full of files,
// keys and hostile settings, cleaning every item deletes nothing outside the user's documented
// places and the places the machine's own settings name. The machine's record of every
// deletion is the witness. Which item takes what inside those places is for each cleaner's
// own tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "hostile_machine.h"

namespace qm {
namespace {

using namespace qm::testing;

// Files and folders only in the user's documented places, in the Recycle Bin, and in the places
// the machine's settings name; keys and values only of the user's software, never the Keep key.
bool Allowed(const sim::Deletion& d, const Config& c) {
    using Kind = sim::Deletion::Kind;
    if (d.kind == Kind::UrlCacheEntry || d.kind == Kind::HistoryItem) return true;
    if (d.kind == Kind::RegistryKey || d.kind == Kind::RegistryValue)
        return InPlace(d.path, "HKCU\\Software\\*") && !InPlace(d.path, "HKCU\\Software\\Keep");
    std::vector<std::string> places = {kCookies + "\\*",
                                       kCache + "\\*",
                                       kProfile + "\\Recent\\*",
                                       kOpera7 + "\\*",
                                       "C:\\RECYCLER\\*",
                                       kAppData + "\\Microsoft\\Media Player\\*",
                                       kAppData + "\\Microsoft\\Office\\Recent\\*"};
    if (c.temp_is_safe) places.push_back(c.temp);
    if (!c.opera.empty()) {
        places.push_back(Join(c.opera, "Cache\\*"));
        places.push_back(Join(c.opera, "cookies.dat"));
    }
    if (!c.mail.empty()) places.push_back(Join(c.mail, "Deleted Items.dbx"));
    if (c.app_data_is_text) places.push_back(kNetscapeProfile + "\\*");
    places.insert(places.end(), c.browser_places.begin(), c.browser_places.end());
    places.insert(places.end(), c.windows_places.begin(), c.windows_places.end());
    if (!c.own_place.empty() && InPlace(d.path, c.own_place + "\\*") &&
        Lower(d.path).ends_with(".txt") && d.kind == Kind::File)
        return true;
    for (const std::string& excluded : c.excluded) {
        if (InPlace(d.path, excluded) || InPlace(d.path, excluded + "\\*")) return false;
    }
    return std::any_of(places.begin(), places.end(),
                       [&](const std::string& place) { return InPlace(d.path, place); });
}

TEST(CleanerSafety, CleaningEveryItemDeletesOnlyInTheDocumentedPlacesOnHostileMachines) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        sim::Machine machine;
        const Config config = Populate(machine, seed);
        errors::ErrorReporter reporter;
        settings::SettingsStore settings(machine.registry(), machine.process(), reporter);
        sysinfo::SystemDetails details(machine.system(), settings, reporter);
        app::MainWindow window(machine.platform(), settings, reporter, details);
        for (const auto& item : clean::ItemsInRunOrder()) window.ItemBox(item).SetValue(1);
        for (int slot = 1; slot <= cleaners::kCustomSlots; ++slot)
            window.CustomBox(slot).SetValue(1);
        std::vector<std::string> kept;  // what the places never touched hold
        for (const std::string& path : machine.AllPaths()) {
            for (const std::string& excluded : config.excluded)
                if (InPlace(path, excluded)) kept.push_back(path);
        }
        machine.ClearDeletions();
        machine.AnswerNextBox(platform::mb::kIdOk);
        window.Command7_Click();
        for (const std::string& path : kept) EXPECT_TRUE(machine.Exists(path)) << path;
        // The run went to its end, and the property holds for real, not because nothing went.
        EXPECT_EQ(window.List1().lines().back(), clean::kFinalLine);
        EXPECT_GT(machine.deletions().size(), 20u);
        for (const sim::Deletion& d : machine.deletions())
            EXPECT_TRUE(Allowed(d, config))
                << "kind " << static_cast<int>(d.kind) << ": " << d.path << " " << d.value_name;
    }
}

}  // namespace
}  // namespace qm
