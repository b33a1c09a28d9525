// "Check for Upgrade", the hand-over to the downloaded program and the completion at the next
// starts, against the simulated web and program folder.
#include <algorithm>

#include "app/upgrades.h"
#include "main_window_fixture.h"
#include "signing.h"

namespace qm::update {
namespace {

const std::string kFolder = "C:\\Program Files\\Quillmoss\\";

struct UpgradeTest : testing::MainWindowTest {
    // The file and, beside it, its signature by `signer`.
    void Serve(const std::string& path, std::string body, std::optional<std::uint64_t> length = {},
               const std::string& signer = testing::keys::kTestPrivate) {
        sim::HttpAnswer signature;
        signature.body = testing::SignedBy(signer, body);
        machine_.ServeUrl("https://site" + path + ".sig", signature);
        sim::HttpAnswer answer;
        answer.body = std::move(body), answer.announced = length;
        machine_.ServeUrl("https://site" + path, answer);
    }
    void Press() {
        Choose("mnuAs");
        window_.options().dialog()->cmdUpgrade().Click();
    }
    bool Called(const std::string& call) {
        return std::ranges::count(machine_.session_calls(), call) > 0;
    }
    std::string File(const std::string& name) {
        std::string contents = "<absent>";
        machine_.files().ReadFile(kFolder + name, contents);
        return contents;
    }
    std::string LastBox() {
        const sim::ShownBox& box = machine_.boxes().back();
        return box.text + "|" + box.caption + "|" + std::to_string(box.style);
    }
    app::Upgrades upgrades_{window_,   machine_.platform(), settings_,
                            reporter_, "https://site",      testing::keys::kTestPublic};
};

TEST_F(UpgradeTest, EachAnswerOfTheCheckAndASecondPressOrAClosedDialogMeanwhileChangeNothing) {
    machine_.SetOnline(false);
    Press();
    EXPECT_EQ(LastBox(), std::string(kNotConnected) + "|Quillmoss|64");
    machine_.SetOnline(true);
    Press();  // no version file
    EXPECT_EQ(LastBox(), std::string(kNoUpgrade) + "|Check For Quillmoss Update|64");
    Serve("/qms.txt", "6\r\n");
    machine_.WhileNextBox([&] {
        window_.options().dialog()->Command4_Click();
        Press();  // a new dialog, while the old one's handler still waits on the question
    });
    machine_.AnswerNextBox(platform::mb::kIdCancel);
    machine_.AnswerNextBox(platform::mb::kIdCancel);
    Press();
    Press();  // the first check is over: this one runs
    EXPECT_EQ(machine_.boxes().size(), 4u);
    EXPECT_EQ(LastBox(), std::string(kUpgradeAvailable) + "|Check For Quillmoss Update|1");
    EXPECT_EQ(Setting("Up") + std::to_string(upgrades_.frmSplash().shown()), "<absent>0");
}

TEST_F(UpgradeTest, WhatTheSitesKeyDidNotSignIsSaidOnceAndNothingIsStartedOrRecorded) {
    const std::string unverified = std::string(kUnverified) + "|Check For Quillmoss Update|48";
    Serve("/qms.txt", "6\r\n", {}, testing::keys::kOtherPrivate);
    Press();
    EXPECT_EQ(LastBox(), unverified);
    Serve("/qms.txt", "6\r\n");
    Serve("/qmsupdate.exe", "MZ" + std::string(2000, 'n'), {}, testing::keys::kOtherPrivate);
    machine_.AnswerNextBox(platform::mb::kIdOk);
    Press();
    EXPECT_EQ(machine_.boxes().size(), 3u);  // the offer, then one word of the refusal
    EXPECT_EQ(LastBox(), unverified);
    EXPECT_FALSE(Called("StartProgram(" + kFolder + "qms.exe)"));
    EXPECT_EQ(File("qms.exe") + Setting("Up") + Setting("ver") + Setting("donreq"),
              "<absent><absent>5<absent>");
    EXPECT_FALSE(upgrades_.frmSplash().shown());
}

TEST_F(UpgradeTest, TheStageIsRecordedOnlyOnceTheDownloadedProgramHasStarted) {
    const std::string program = "MZ" + std::string(2000, 'n');
    Serve("/qms.txt", "6\r\n");
    Serve("/qmsupdate.exe", program, program.size() + 50);  // cut short every time
    Press();
    machine_.RefuseProgramStart(true);
    Serve("/qmsupdate.exe", program);
    Press();
    EXPECT_TRUE(Called("StartProgram(" + kFolder + "qms.exe)") && !Called("EndProcess"));
    EXPECT_EQ(File("qms.exe") + Setting("Up") + Setting("ver"), "<absent><absent>5");
    EXPECT_FALSE(upgrades_.frmSplash().shown());
    machine_.RefuseProgramStart(false);
    Press();
    EXPECT_EQ(machine_.session_calls().back(), "EndProcess");
    EXPECT_EQ(File("qms.exe"), program);
    EXPECT_EQ(Setting("Up") + Setting("ver") + Setting("donreq"), "b6z");
    EXPECT_EQ(Setting("App"), "12/6/2026 9:30:00 PM");
}

TEST_F(UpgradeTest, OnlyAWholeCopyMadeByQmsExeMovesTheStageOnAndTheLastStepThanksOnce) {
    machine_.AddFile(kFolder + "Quillmoss.exe", "old");
    machine_.AddFile(kFolder + "qms.exe", "new");
    const auto start = [&](const char* name, const char* up, bool locked = false) {
        machine_.SetProgram(kFolder.substr(0, kFolder.size() - 1), name);
        settings_.Save("Up", up);
        if (locked) machine_.Lock(kFolder + "Quillmoss.exe");
        window_.Form_Load();
        if (locked) machine_.Unlock(kFolder + "Quillmoss.exe");
    };
    settings_.Save("donreq", "z");
    start("Quillmoss", "b");  // not the downloaded program: back to normal
    start("qms", "b", true);  // the copy fails: the old program starts again, as it was
    EXPECT_EQ(Setting("Up") + Setting("donreq") + File("Quillmoss.exe"), "a<absent>old");
    EXPECT_TRUE(Called("StartProgram(" + kFolder + "Quillmoss.exe)") && Called("EndProcess"));
    start("qms", "b");
    EXPECT_EQ(Setting("Up") + File("Quillmoss.exe"), "cnew");
    start("Quillmoss", "c");  // no "donreq": no thanks, no page, and no "donreq" left
    EXPECT_EQ(Setting("donreq") + std::to_string(machine_.boxes().size()), "<absent>0");
    settings_.Save("donreq", "z");
    start("Quillmoss", "C");
    EXPECT_EQ(Setting("Up") + Setting("donreq") + File("qms.exe"), "a<absent><absent>");
    EXPECT_EQ(LastBox(), std::string(kThanks) + "|Quillmoss|0");
    EXPECT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(machine_.opened_addresses(), std::vector<std::string>{"https://site/upgrade.php"});
}

// Stage b as qms.exe over an installed "old", with everything else as the last start left it.
struct ReplacementTest : UpgradeTest {
    void StartAs(const char* name) {
        machine_.SetProgram(kFolder.substr(0, kFolder.size() - 1), name);
        window_.Form_Load();
    }
    void Prepare() {
        machine_.AddFile(kFolder + "Quillmoss.exe", "old");
        machine_.AddFile(kFolder + "qms.exe", "new program");
        settings_.Save("Up", "b");
        settings_.Save("donreq", "z");
    }
    // The installed program, what lies beside it and the stage.
    std::string State() {
        return File("Quillmoss.exe") + "|" + File("Quillmoss.exe.new") + "|" +
               File("Quillmoss.exe.old") + "|" + Setting("Up");
    }
};

TEST_F(ReplacementTest, EachFailureKeepsTheOldProgramAndItsRestartRemovesTheDownload) {
    const std::pair<const char*, std::function<void()>> faults[] = {
        {"disk full", [&] { machine_.SetFreeSpace('C', 4); }},
        {"spoilt copy",
         [&] { machine_.AfterFileChange(1, [&](auto& path) { machine_.AddFile(path, "x"); }); }},
        {"held", [&] { machine_.Lock(kFolder + "Quillmoss.exe"); }},
        {"half-way", [&] { machine_.BreakNextReplaceHalfWay(); }},
        {"no start", [&] { machine_.RefuseProgramStart(true); }},
    };
    for (const auto& [fault, make] : faults) {
        Prepare();
        make();
        const auto ends = std::ranges::count(machine_.session_calls(), "EndProcess");
        StartAs("qms");
        machine_.Unlock(kFolder + "Quillmoss.exe");
        machine_.SetFreeSpace('C', 1 << 20);
        machine_.RefuseProgramStart(false);
        EXPECT_EQ(State(), "old|<absent>|<absent>|a") << fault;
        EXPECT_EQ(std::ranges::count(machine_.session_calls(), "EndProcess"), ends + 1) << fault;
        EXPECT_EQ(Setting("donreq") + File("qms.exe"), "<absent>new program") << fault;
        StartAs("Quillmoss");
        EXPECT_EQ(File("qms.exe") + Setting("qmsleft") + Setting("Up"), "<absent><absent>a");
    }
    EXPECT_TRUE(machine_.boxes().empty());
}

TEST_F(ReplacementTest, KilledAtAnyChangeTheInstalledProgramStaysWholeAndTheNextStartEndsIt) {
    struct Killed {};
    for (std::size_t change = 1;; ++change) {
        Prepare();
        bool killed = false;
        machine_.AfterFileChange(change, [&](const std::string& path) {
            killed = true;
            if (path.ends_with(".new")) machine_.AddFile(path, "ne");  // its write cut short
            throw Killed{};
        });
        try {
            StartAs("qms");
        } catch (const Killed&) {
        }
        machine_.AfterFileChange(0, {});
        const std::string installed = File("Quillmoss.exe");
        EXPECT_TRUE(installed == "old" || installed == "new program") << change << installed;
        StartAs("Quillmoss");  // the user, or the program qms.exe started
        EXPECT_EQ(State(), installed + "|<absent>|<absent>|a") << change;
        if (!killed) break;
    }
}

}  // namespace
}  // namespace qm::update
