// What the user adds and keeps, under Wine through the command line: an own folder cleaned
// while its neighbours stay, an own place that is a protected folder refused at clean time,
// and an excluded place inside the temporary folder left by the temp item.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "gui/control_ids.h"
#include "profile_traces.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kSettings[] = L"Software\\Microsoft\\Qmoss";

class OwnPlacesE2E : public ::testing::Test {
  protected:
    ~OwnPlacesE2E() override {
        for (const wchar_t* name : {L"custom1place", L"custom2place", L"exclude"})
            SetText(HKEY_LOCAL_MACHINE, kSettings, name, L"");
    }
    const ProfileFolders folders = ProfileFolders::Current();
    const std::wstring log = folders.app_data + L"\\qm-own-places.log";
};

TEST_F(OwnPlacesE2E, AnOwnFolderIsCleanedItsNeighboursStayAndAProtectedOneIsRefused) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const std::wstring own = folders.app_data + L"\\qm-own";
    for (const wchar_t* file : {L"\\a.log", L"\\b.txt", L"\\sub\\c.log"})
        ASSERT_TRUE(PlantFile(own + file));
    ASSERT_TRUE(PlantFile(folders.app_data + L"\\qm-own-neighbour.log"));
    ASSERT_TRUE(
        SetText(HKEY_LOCAL_MACHINE, kSettings, L"custom1place", L"folder|" + own + L"|*.log|0"));
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    // The Windows folder by another name: through Z:, where Wine shows the whole unix tree.
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_TRUE(prefix);
    std::wstring other = L"Z:" + Widen(prefix) + L"\\drive_c\\windows";
    for (wchar_t& c : other) c = c == L'/' ? L'\\' : c;
    ASSERT_TRUE(FolderExists(other));
    ASSERT_TRUE(
        SetText(HKEY_LOCAL_MACHINE, kSettings, L"custom2place", L"folder|" + other + L"|*.*|1"));

    EXPECT_EQ(RunQuillmoss(L"/clean custom1 custom2 /log \"" + log + L"\""), 1);
    EXPECT_FALSE(FileExists(own + L"\\a.log"));
    EXPECT_TRUE(FileExists(own + L"\\b.txt") && FileExists(own + L"\\sub\\c.log"));
    EXPECT_TRUE(FileExists(folders.app_data + L"\\qm-own-neighbour.log"));
    EXPECT_TRUE(FileExists(std::wstring(windows) + L"\\win.ini"));
    const std::string report = ReadWholeFile(log);
    EXPECT_NE(report.find(Narrow(own) + "\\*.log cleaned."), std::string::npos) << report;
    EXPECT_NE(report.find("with subfolders not cleaned. Refused:"), std::string::npos) << report;
}

TEST_F(OwnPlacesE2E, AnExcludedPlaceInTheTemporaryFolderOutlivesTheTempItem) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const std::wstring keep = folders.temp + L"\\qm-keep";
    ASSERT_TRUE(PlantFile(keep + L"\\deep\\kept.dat") &&
                PlantFile(folders.temp + L"\\qm-gone.tmp") &&
                PlantFile(folders.temp + L"\\qm-settings.cfg"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kSettings, L"exclude",
                        keep + L" | " + folders.temp + L"\\*.cfg"));
    ASSERT_EQ(RunQuillmoss(L"/preview temp /log \"" + log + L"\""), 0);
    const std::string preview = ReadWholeFile(log);
    EXPECT_NE(preview.find("kept      " + Narrow(keep) + " (a place never touched)"),
              std::string::npos)
        << preview;
    EXPECT_EQ(preview.find("file      " + Narrow(keep)), std::string::npos) << preview;

    EXPECT_EQ(RunQuillmoss(L"/clean temp"), 0);
    EXPECT_TRUE(FileExists(keep + L"\\deep\\kept.dat"));
    EXPECT_TRUE(FileExists(folders.temp + L"\\qm-settings.cfg"));
    EXPECT_FALSE(FileExists(folders.temp + L"\\qm-gone.tmp"));
}

// In the window: the place's box on its own panel, ticked and cleaned like any item.
TEST_F(OwnPlacesE2E, AnOwnPlaceIsTickedAndCleanedOnItsPanel) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const std::wstring file = folders.app_data + L"\\qm-own-file.txt";
    ASSERT_TRUE(PlantFile(file));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kSettings, L"custom1place", L"file|" + file));
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    HWND main = app.window();
    SelectTab(FindControlById(main, gui::kTabStrip1), 1);
    SelectTab(FindControlById(main, gui::kTabStrip2), 7);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindControl(main, L"Button", file)) != nullptr; }, 5s));
    EXPECT_TRUE(IsShown(box));
    if (const char* shots = std::getenv("QM_E2E_SHOTS"))
        Sleep(700), SaveScreenshot(main, Widen(shots) + L"own-places.bmp");
    ASSERT_TRUE(Click(box));
    const auto lines = CleanSelected(main, app.pid(), 30s);
    ASSERT_TRUE(lines);
    EXPECT_NE(std::find(lines->begin(), lines->end(), file + L" cleaned."), lines->end());
    EXPECT_FALSE(FileExists(file));
}

}  // namespace
}  // namespace qm::e2e
