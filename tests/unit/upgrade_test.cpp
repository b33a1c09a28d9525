// "Check for Upgrade", the hand-over to the downloaded program and the completion at the next
// starts, against the simulated web and program folder.
#include <algorithm>
#include <tuple>

#include "app/upgrades.h"
#include "main_window_fixture.h"

namespace qm::update {
namespace {

namespace mb = platform::mb;
const std::string kFolder = "C:\\Program Files\\Quillmoss\\";

struct UpgradeTest : testing::MainWindowTest {
    void Serve(const std::string& path, std::string body, std::uint64_t announced = 0) {
        sim::HttpAnswer answer;
        answer.body = std::move(body);
        if (announced) answer.announced = announced;
        machine_.ServeUrl("https://site" + path, answer);
    }
    void Press() {
        Choose("mnuAs");
        window_.options().dialog()->cmdUpgrade().Click();
    }
    bool Called(const std::string& call) {
        const auto& calls = machine_.session_calls();
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    std::string File(const std::string& name) {
        std::string contents = "<absent>";
        machine_.files().ReadFile(kFolder + name, contents);
        return contents;
    }
    std::tuple<std::string, std::string, std::uint32_t> LastBox() {
        const sim::ShownBox& box = machine_.boxes().back();
        return {box.text, box.caption, box.style};
    }
    app::Upgrades upgrades_{window_, machine_.platform(), settings_, reporter_, "https://site"};
    const std::string program_ = "MZ" + std::string(2000, 'n');
};

TEST_F(UpgradeTest, EachAnswerOfTheCheckAndASecondPressOrAClosedDialogMeanwhileChangeNothing) {
    machine_.SetOnline(false);
    Press();
    EXPECT_EQ(LastBox(), std::tuple(std::string(kNotConnected), "Quillmoss", mb::kIconInformation));
    EXPECT_EQ(upgrades_.frmSplash().label(), kCheckingText);
    Serve("/qms.txt", "5\r\n");
    settings_.Save("ver", "5");
    machine_.SetOnline(true);
    Press();
    EXPECT_EQ(LastBox(), std::tuple(std::string(kNoUpgrade), std::string(kUpdateCaption),
                                    mb::kIconInformation));
    Serve("/qms.txt", "6\r\n");
    const std::size_t boxes = machine_.boxes().size();
    machine_.WhileNextBox([&] {
        window_.options().dialog()->Command4_Click();
        Press();  // a new dialog, while the old one's handler still waits on the question
    });
    machine_.AnswerNextBox(mb::kIdCancel);
    machine_.AnswerNextBox(mb::kIdCancel);
    Press();
    Press();  // the first check is over: this one runs
    EXPECT_EQ(machine_.boxes().size(), boxes + 2);
    EXPECT_EQ(LastBox(), std::tuple(std::string(kUpgradeAvailable), std::string(kUpdateCaption),
                                    mb::kOkCancel));
    EXPECT_FALSE(upgrades_.frmSplash().shown());
    EXPECT_EQ(Setting("Up"), "<absent>");
}

TEST_F(UpgradeTest, TheStageIsRecordedOnlyOnceTheDownloadedProgramHasStarted) {
    Serve("/qms.txt", "6\r\n");
    Serve("/qmsupdate.exe", program_, program_.size() + 50);  // cut short every time
    Press();
    machine_.RefuseProgramStart(true);
    Serve("/qmsupdate.exe", program_);
    Press();
    EXPECT_TRUE(Called("StartProgram(" + kFolder + "qms.exe)"));
    EXPECT_FALSE(Called("EndProcess"));
    EXPECT_EQ(File("qms.exe"), "<absent>");
    EXPECT_EQ(Setting("Up") + Setting("ver"), "<absent>5");
    EXPECT_EQ(upgrades_.frmSplash().label(), kDownloadingText);
    EXPECT_FALSE(upgrades_.frmSplash().shown());
    machine_.RefuseProgramStart(false);
    Press();
    EXPECT_EQ(machine_.session_calls().back(), "EndProcess");
    EXPECT_TRUE(Called("DeleteTrayIcon") && Called("HideMainWindow"));
    EXPECT_EQ(File("qms.exe"), program_);
    EXPECT_EQ(Setting("Up") + Setting("ver") + Setting("donreq"), "b6z");
    EXPECT_EQ(Setting("App"), "12/6/2026 9:30:00 PM");
}

TEST_F(UpgradeTest, OnlyAWholeCopyMadeByQmsExeMovesTheStageOnAndTheLastStepThanksOnce) {
    machine_.AddFile(kFolder + "Quillmoss.exe", "old");
    machine_.AddFile(kFolder + "qms.exe", "new");
    const auto start = [&](const char* name, const char* up, bool locked = false) {
        machine_.SetProgram(kFolder.substr(0, kFolder.size() - 1), name);
        settings_.Save("Up", up);
        settings_.Save("donreq", "z");
        if (locked) machine_.Lock(kFolder + "Quillmoss.exe");
        window_.Form_Load();
        if (locked) machine_.Unlock(kFolder + "Quillmoss.exe");
    };
    start("Quillmoss", "b");  // not the downloaded program: back to normal
    start("qms", "b", true);  // the copy fails: the old program starts again, as it was
    EXPECT_EQ(Setting("Up") + Setting("donreq") + File("Quillmoss.exe"), "a<absent>old");
    EXPECT_TRUE(Called("StartProgram(" + kFolder + "Quillmoss.exe)") && Called("EndProcess"));
    start("qms", "b");
    EXPECT_EQ(Setting("Up") + File("Quillmoss.exe"), "cnew");
    EXPECT_TRUE(machine_.boxes().empty());
    start("Quillmoss", "C");
    settings_.Save("Up", "c");
    window_.Form_Load();  // no "donreq": no thanks, no page
    EXPECT_EQ(Setting("Up") + Setting("donreq") + File("qms.exe"), "a<absent><absent>");
    ASSERT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(LastBox(), std::tuple(std::string(kThanks), "Quillmoss", mb::kOk));
    EXPECT_EQ(machine_.opened_addresses(), std::vector<std::string>{"https://site/upgrade.php"});
}

}  // namespace
}  // namespace qm::update
