// Clean and Reboot through the real window, with a real restart of the prefix: Wine restarts it
// the way Windows does, asking every program with a window to end and then removing the files
// scheduled for deletion. The driver has no window, so it lives on to look.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

TEST(CleanAndRebootE2E, TheRestartTakesTheIndexFilesAndNothingElse) {
    const ProfileFolders f = ProfileFolders::Current();
    const std::wstring cache_index = f.internet_cache + L"\\Content.IE5\\index.dat";
    const std::wstring history_index = f.history + L"\\History.IE5\\index.dat";
    const std::wstring kept = f.internet_cache + L"\\Content.IE5\\QMKEEP01\\kept.gif";
    for (const auto& path : {cache_index, history_index, kept}) ASSERT_TRUE(PlantFile(path));

    // With "cleansd" e a session end asks before cleaning; this one must not: it has cleaned.
    const std::wstring kQm = L"Software\\Microsoft\\Qmoss";
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kQm, L"cleansd", L"e"));
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    SelectTab(tabs, 1);  // the item panels
    ASSERT_TRUE(Click(FindControl(main, L"Button", L"Index.dat ( requires reboot )")));
    ASSERT_TRUE(WaitUntil([&] { return !CheckedBoxes(main).empty(); }, 5s));
    SelectTab(tabs, 0);
    ASSERT_TRUE(Click(FindControl(main, L"Button", L"Clean and Reboot")));
    AnswerMessageBox(WaitForMessageBox(app.pid(), 10s).value(), IDOK);  // the clean's question
    const auto restart = WaitForMessageBox(app.pid(), 30s);
    ASSERT_TRUE(restart);
    EXPECT_EQ(restart->text, L"Are you sure you want to reboot");
    AnswerMessageBox(*restart, IDOK);

    EXPECT_TRUE(app.Ended(30s)) << "the restart ends the program without a question";
    EXPECT_TRUE(
        WaitUntil([&] { return !FileExists(cache_index) && !FileExists(history_index); }, 30s));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE,
                             L"System\\CurrentControlSet\\Control\\Session Manager",
                             L"PendingFileRenameOperations"));
    DeleteFileW(kept.c_str());
    DeleteTree(HKEY_LOCAL_MACHINE, kQm);
}

}  // namespace
}  // namespace qm::e2e
