// Group Policy: the machine's values before the user's, value by value; ignored values said;
// the window, the options dialog, the session end and the command line all obeying.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "clean/policy_items.h"
#include "cli/command_line.h"
#include "cli/unattended.h"
#include "main_window_fixture.h"
#include "settings/registry_text.h"

namespace qm::testing {
namespace {

using platform::Root;
using settings::kPolicyPath;
constexpr auto npos = std::string::npos;
const std::string kTemp = "C:\\Documents and Settings\\Tester\\Local Settings\\Temp";

class PolicyTest : public MainWindowTest {
  protected:
    void Text(Root root, std::string_view name, std::string_view text) {
        settings_.SaveSettingString(root, kPolicyPath, name, text);
    }
    void Number(Root root, std::string_view name, std::int32_t number) {
        settings_.SaveSettingLong(root, kPolicyPath, name, number);
    }
    controls::CheckBox& Box(std::string_view value_name) {
        return window_.ItemBox(*clean::FindByValueName(value_name));
    }
};

TEST_F(PolicyTest, MachineBeatsUserValueByValueAndIgnoredValuesAreSaid) {
    settings_.Save("cleansd", "d");
    settings_.Save("closebrow", "d");
    settings_.Save("schedclean", "3 Hours");
    settings_.Save("cookiekeep", "mine.example");
    EXPECT_EQ(settings_.Get("cleansd"), "d");

    Number(Root::CurrentUser, "CleanAtLogoff", 1);
    EXPECT_EQ(settings_.Get("cleansd"), "e");
    Number(Root::LocalMachine, "CleanAtLogoff", 0);
    EXPECT_EQ(settings_.Get("cleansd"), "d") << "the machine's policy wins";
    // A wrong type is as good as absent: the user's policy, then the user's own setting.
    Text(Root::LocalMachine, "CloseBrowsers", "1");
    Number(Root::CurrentUser, "CloseBrowsers", 1);
    EXPECT_EQ(settings_.Get("closebrow"), "e");
    Number(Root::LocalMachine, "UpdateCheck", 2);
    EXPECT_EQ(settings_.policies().Switch(settings::kUpdateCheckPolicy), std::nullopt);
    Text(Root::LocalMachine, "Schedule", "Daily");
    EXPECT_EQ(settings_.Get("schedclean"), "3 Hours");
    Text(Root::CurrentUser, "Schedule", " 2 hours ");
    EXPECT_EQ(settings_.Get("schedclean"), "2 Hours");
    Text(Root::LocalMachine, "Schedule", "");
    EXPECT_EQ(settings_.Get("schedclean"), "d") << "empty: no scheduled cleaning";
    platform::RegKey key = 0;
    ASSERT_EQ(machine_.registry().CreateKey(Root::CurrentUser, kPolicyPath, key), platform::kOk);
    const std::vector<std::uint8_t> bytes = settings::ToRegistryText("mine.example");
    machine_.registry().SetValue(key, "CookieKeep", platform::RegType::ExpandSz, bytes);
    machine_.registry().CloseKey(key);
    EXPECT_EQ(settings_.Get("cookiekeep"), "mine.example");
    Text(Root::LocalMachine, "CookieKeep", "corp.example");
    EXPECT_EQ(settings_.Get("cookiekeep"), "corp.example");
    Text(Root::LocalMachine, "Schedule", "Daily");

    EXPECT_EQ(settings_.policies().Problems(),
              (std::vector<std::string>{
                  "Policy Schedule (the machine's) ignored: \"Daily\" is not an interval of "
                  "scheduled cleaning.",
                  "Policy CloseBrowsers (the machine's) ignored: it is not a number (REG_DWORD).",
                  "Policy CookieKeep (the user's) ignored: it is not a text (REG_SZ).",
                  "Policy UpdateCheck (the machine's) ignored: it holds 2, neither 0 (off) nor 1 "
                  "(on)."}));
    // Only the program's own key reads through the policies.
    EXPECT_EQ(settings_.GetSettingString(Root::LocalMachine, "Software\\Other", "cleansd", "x"),
              "x");
    EXPECT_EQ(machine_.open_registry_keys(), 0u);
}

TEST_F(PolicyTest, ItemsNameItemsInAnyCaseAndUnknownNamesAreNeverTakenForMore) {
    settings_.Save(cleaners::CustomPlaceValue(2),
                   cleaners::CustomPlace{.path = "C:\\Scratch"}.Format());
    EXPECT_EQ(clean::ItemsByPolicy(settings_), std::nullopt);
    Text(Root::LocalMachine, "Items", "  TEMP\tcookies temp Everything custom5 custom2 ");
    const std::optional<clean::PolicyItems> chosen = clean::ItemsByPolicy(settings_);
    ASSERT_TRUE(chosen);
    ASSERT_EQ(chosen->items.size(), 2u);
    EXPECT_EQ(chosen->items[0]->value_name, "cookies") << "run order";
    EXPECT_EQ(chosen->items[1]->value_name, "temp");
    ASSERT_EQ(chosen->customs.size(), 1u);
    EXPECT_EQ(chosen->customs[0].slot, 2);
    EXPECT_EQ(chosen->problems, (std::vector<std::string>{
                                    "Policy Items: \"Everything\" names no item and is ignored.",
                                    "Policy Items: custom5 holds no place and is ignored."}));
    Text(Root::LocalMachine, "Items", "");
    EXPECT_TRUE(clean::ItemsByPolicy(settings_)->items.empty()) << "empty: nothing";
    Number(Root::LocalMachine, "Items", 1);
    EXPECT_EQ(clean::ItemsByPolicy(settings_), std::nullopt);
}

TEST_F(PolicyTest, CleanWithoutNamesTakesThePolicysItemsAndSaysWhatItIgnored) {
    machine_.AddFile(kTemp + "\\a.tmp", "data");
    settings_.Save("cookies", "tt");  // the user's last run
    Text(Root::LocalMachine, "Items", "temp nosuch");
    Text(Root::CurrentUser, "CleanAtLogoff", "yes");
    cli::Unattended cli(machine_.platform(), settings_, reporter_);
    std::string report;
    const auto keep = [&report](std::string_view text) { report = text; };
    EXPECT_EQ(cli.Run(std::vector<std::string>{"/clean"}, keep), cli::kExitDone);
    EXPECT_EQ(report.find("Policy CleanAtLogoff (the user's) ignored: it is not a number"), 0u)
        << report;
    EXPECT_NE(report.find("\r\nPolicy Items: \"nosuch\" names no item and is ignored.\r\n"
                          "Cleaning temporary files...\r\n"),
              npos)
        << report;
    EXPECT_EQ(report.find("Cookies"), npos);
    EXPECT_FALSE(machine_.Exists(kTemp + "\\a.tmp"));
    // The JSON report names the same ignored values.
    EXPECT_EQ(cli.Run(std::vector<std::string>{"/preview", "/json", "-"}, keep), cli::kExitDone);
    const auto ignored = nlohmann::json::parse(report).at("ignoredPolicies");
    ASSERT_EQ(ignored.size(), 2u) << report;
    EXPECT_EQ(ignored[1], "Policy Items: \"nosuch\" names no item and is ignored.");
    // Items named on the command line are the administrator's own choice.
    EXPECT_EQ(cli.Run(std::vector<std::string>{"/preview", "cookies"}, keep), cli::kExitDone);
    EXPECT_NE(report.find("[cookies]"), npos);
    EXPECT_EQ(report.find("[temp]"), npos);
}

TEST_F(PolicyTest, TheWindowTicksAndGreysThePolicysItemsAndObeysItsSchedule) {
    std::vector<std::string> armed;
    window_.SetScheduleArming([&](const std::string& text) { armed.push_back(text); });
    settings_.Save("ihistory", "tt");
    settings_.Save("remember", "aa");
    settings_.Save("schedclean", "d");
    Text(Root::LocalMachine, "Items", "temp jumplists");
    Text(Root::CurrentUser, "Schedule", "1 Hours");
    window_.Form_Load();
    EXPECT_EQ(Box("temp").value(), 1);
    EXPECT_EQ(Box("ihistory").value(), 0) << "the policy beats the remembered ticks";
    EXPECT_EQ(Box("jumplists").value(), 0) << "this Windows keeps no jump lists";
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder())
        EXPECT_FALSE(Box(item.value_name).enabled()) << item.value_name;
    EXPECT_FALSE(window_.Check1().enabled());
    EXPECT_EQ(window_.HintLabel(2).caption(), "Your organisation set the greyed items.");
    EXPECT_EQ(armed, std::vector<std::string>{"1 Hours"});
    window_.Command6().Click();  // "Deselect All" on the shown panel leaves greyed boxes alone
    window_.Command5().Click();
    EXPECT_EQ(Box("ihistory").value(), 0);
    Box("ihistory").Click();
    EXPECT_EQ(Box("ihistory").value(), 0);

    // Without remembered ticks the organisation's schedule still runs; a user's does not.
    sim::Machine fresh;
    settings::SettingsStore store(fresh.registry(), fresh.process(), reporter_);
    store.Save("schedclean", "2 Hours");
    store.SaveSettingString(Root::LocalMachine, kPolicyPath, "Schedule", "4 Hours");
    sysinfo::SystemDetails details(fresh.system(), store, reporter_);
    app::MainWindow window(fresh.platform(), store, reporter_, details);
    armed.clear();
    window.SetScheduleArming([&](const std::string& text) { armed.push_back(text); });
    window.Form_Load();
    EXPECT_EQ(armed, std::vector<std::string>{"4 Hours"});
    EXPECT_TRUE(window.ItemBox(*clean::FindByValueName("temp")).enabled());
}

TEST_F(PolicyTest, SessionEndCleansAsThePolicySays) {
    settings_.Save("cleansd", "d");
    Number(Root::LocalMachine, "CleanAtLogoff", 1);
    machine_.AnswerNextBox(platform::mb::kIdCancel);
    window_.Form_QueryUnload(app::kUnloadSessionEnding);
    ASSERT_FALSE(machine_.boxes().empty());
    EXPECT_EQ(machine_.boxes().back().text, clean::kConfirmText);
}

TEST_F(PolicyTest, TheOptionsDialogGreysWhatThePoliciesSetAndSaysSo) {
    const auto open = [this]() -> options::OptionsDialog& {
        Choose("mnuAs");
        return *window_.options().dialog();
    };
    options::OptionsDialog& plain = open();
    EXPECT_TRUE(plain.Command5().enabled());
    EXPECT_EQ(plain.FindControl("lblPolicy")->caption(), "");
    plain.Command4().Click();

    Number(Root::LocalMachine, "CloseBrowsers", 1);
    Number(Root::CurrentUser, "UpdateCheck", 0);
    Text(Root::LocalMachine, "CookieKeep", "corp.example");
    bool checked = false;
    window_.options().SetUpgradeCheck([&] { checked = true; });
    options::OptionsDialog& dialog = open();
    EXPECT_EQ(dialog.Check1().value(), 1);
    EXPECT_FALSE(dialog.Check1().enabled());
    EXPECT_FALSE(dialog.lstKeep().enabled());
    EXPECT_FALSE(dialog.cmdKeepAdd().enabled());
    EXPECT_FALSE(dialog.cmdUpgrade().enabled());
    EXPECT_TRUE(dialog.Command5().enabled());
    EXPECT_TRUE(dialog.Command6().enabled());
    EXPECT_EQ(dialog.lstKeep().lines(), std::vector<std::string>{"corp.example"});
    EXPECT_EQ(dialog.FindControl("lblPolicy")->caption(),
              "Your organisation set the greyed settings.");
    dialog.cmdUpgrade().Click();
    EXPECT_FALSE(checked);
}

}  // namespace
}  // namespace qm::testing
