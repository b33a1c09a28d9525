#include <gtest/gtest.h>

#include "core_test_support.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::Root;
namespace caption = options::caption;

struct FakeSchedule final : background::ScheduleControl {
    bool accept = true;
    std::vector<std::string> calls;
    bool SwitchOn(std::string_view text) override {
        calls.push_back("on " + std::string(text));
        return accept;
    }
    void SwitchOff() override { calls.push_back("off"); }
};

class OptionsDialogTest : public MainWindowTest {
  protected:
    OptionsDialogTest() {
        window_.SetScheduleControl(schedule_);
        window_.options().SetView(
            [this](options::OptionsDialog& shown) { views_.push_back(&shown); });
    }
    options::OptionsDialog& Open() {
        Choose("mnuAs");
        return *window_.options().dialog();
    }
    std::string Stored(Root root, std::string_view name = "QMS",
                       std::string_view path = settings::kRunPath) {
        return settings_.GetSettingString(root, path, name, "<absent>");
    }
    std::vector<std::string> BoxTexts() {  // an OK box without icon, the program's title
        std::vector<std::string> texts;
        for (const auto& box : machine_.boxes())
            texts.push_back(box.text + "|" + box.caption + std::to_string(box.style));
        return texts;
    }
    FakeSchedule schedule_;
    std::vector<options::OptionsDialog*> views_;
};

TEST_F(OptionsDialogTest, OpensOnTheStoredStateOneAtATimeAndAfreshAfterClosing) {
    for (const auto& [stored, button, combo] : {std::tuple{"<absent>", caption::kScheduleOff, ""},
                                                {"3 Hours", caption::kScheduleOn, "3 Hours"},
                                                {"D", caption::kScheduleOff, ""}}) {
        if (std::string_view(stored) != "<absent>") settings_.Save("schedclean", stored);
        settings_.Save("cleansd", "E");
        settings_.Save("closebrow", "e");
        options::OptionsDialog& dialog = Open();
        EXPECT_EQ(dialog.Command6().caption(), button) << stored;
        EXPECT_EQ(dialog.Combo1().text(), combo) << stored;
        EXPECT_EQ(dialog.Command5().caption(), caption::kShutDownOn);
        EXPECT_EQ(dialog.Check1().value(), 1);
        EXPECT_EQ(dialog.Command3().caption(), caption::kRunAtStartOff);
        Choose("mnuAs");  // brought forward, not loaded again
        EXPECT_EQ(window_.options().dialog(), &dialog);
        dialog.Check1().Click();
        dialog.Command4().Click();
        EXPECT_EQ(Setting("closebrow"), "d");
        EXPECT_FALSE(window_.options().dialog());
    }
    EXPECT_EQ(views_.size(), 6u);
}

TEST_F(OptionsDialogTest, ShowsTheScheduleOnExactlyWhenStartUpArmedIt) {
    settings_.Save("remember", "aa");
    const std::pair<const char*, bool> cases[] = {{" 5 hours ", true}, {"2 Hours", true},
                                                  {"on", false},       {"d", false},
                                                  {"Daily", false},    {"2 Hours and more", false}};
    for (const auto& [stored, arms] : cases) {
        settings_.Save("schedclean", stored);
        window_.schedule().SwitchOff();
        window_.Form_Load();
        const bool armed = machine_.TimerRunning(background::kScheduleTimerId);
        EXPECT_EQ(armed, arms) << stored;
        options::OptionsDialog& dialog = Open();
        EXPECT_EQ(dialog.Command6().caption(), armed ? caption::kScheduleOn : caption::kScheduleOff)
            << stored;
        const auto option = background::FindScheduleOption(stored);
        EXPECT_EQ(dialog.Combo1().text(), armed ? *option : "") << stored;
        dialog.Command4().Click();
    }
}

TEST_F(OptionsDialogTest, ScheduleTakesOnlyAListedIntervalAndSwitchingOffClearsTheBox) {
    options::OptionsDialog& dialog = Open();
    dialog.Combo1().SetText("3 h");
    dialog.Combo1().KeyUp('H');
    EXPECT_EQ(dialog.Combo1().text(), "") << "typed text stays";
    dialog.Combo1().PickItem(3);
    dialog.Combo1().KeyUp(40);
    EXPECT_EQ(dialog.Combo1().text(), "2 Hours") << "a picked line goes";
    for (const char* refused : {"", "   ", "on", "2 Hours and more"}) {
        dialog.Combo1().SetText(refused);
        dialog.Command6().Click();
    }
    schedule_.accept = false;
    dialog.Combo1().SetText("2 Hours");
    dialog.Command6().Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(5, "Please Select a time...|Quillmoss0"));
    EXPECT_EQ(Setting("schedclean"), "<absent>");
    EXPECT_EQ(dialog.Command6().caption(), caption::kScheduleOff);

    schedule_.accept = true;
    dialog.Check1().Click();
    dialog.Combo1().SetText("  1-1/2 hours ");
    dialog.Command6().Click();
    EXPECT_EQ(Setting("schedclean"), "1-1/2 Hours");
    EXPECT_EQ(Setting("closebrow"), "e");

    dialog.Command6().Click();
    EXPECT_EQ(Setting("schedclean"), "d");
    EXPECT_EQ(Setting("closebrow"), "d");
    EXPECT_EQ(dialog.Check1().value(), 0);
    EXPECT_EQ(dialog.Combo1().text(), "");
    EXPECT_EQ(schedule_.calls, (std::vector<std::string>{"on 2 Hours", "on 1-1/2 Hours", "off"}));

    dialog.Command5().Click();
    EXPECT_EQ(Setting("cleansd"), "e");
    dialog.Command5().Click();
    EXPECT_EQ(Setting("cleansd"), "d");
}

TEST_F(OptionsDialogTest, HomePageIsTrimmedAndBlanksAreRefused) {
    options::OptionsDialog& dialog = Open();
    dialog.Text1().SetText("   ");
    dialog.Command2().Click();
    EXPECT_EQ(Stored(Root::CurrentUser, "Start Page", options::kStartPagePath), "<absent>");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please mention the URL|Quillmoss0"});
    dialog.Text1().SetText("  http://home.test/ ");
    dialog.Command2().Click();
    EXPECT_EQ(Stored(Root::CurrentUser, "Start Page", options::kStartPagePath),
              "http://home.test/");
    dialog.Command1().Click();
    EXPECT_EQ(Stored(Root::CurrentUser, "Start Page", options::kStartPagePath), "about:blank");
    EXPECT_EQ(dialog.Text1().text(), "about:blank");
}

TEST_F(OptionsDialogTest, RunAtStartIsQuotedFallsBackToTheUserAndOffRemovesBoth) {
    machine_.SetProgram("C:\\Program Files\\Quillmoss", "Quillmoss");
    const std::string quoted = "\"C:\\Program Files\\Quillmoss\\Quillmoss.exe\"";
    options::OptionsDialog& dialog = Open();
    dialog.Command3().Click();
    EXPECT_EQ(Stored(Root::LocalMachine), quoted);

    settings_.SaveString(Root::CurrentUser, settings::kRunPath, "QMS", "old");
    dialog.Command3().Click();
    EXPECT_EQ(Stored(Root::LocalMachine) + Stored(Root::CurrentUser), "<absent><absent>");

    machine_.SetLocalMachineReadOnly(true);
    dialog.Command3().Click();
    EXPECT_EQ(Stored(Root::CurrentUser), quoted);
    dialog.Command4().Click();
    EXPECT_EQ(Open().Command3().caption(), caption::kRunAtStartOn) << "from HKCU";

    bool checked = false;
    window_.options().SetUpgradeCheck([&] { checked = true; });
    window_.options().dialog()->Command4().Click();
    Open().cmdUpgrade().Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(machine_.open_registry_keys(), 0u);
}

}  // namespace
}  // namespace qm::testing
