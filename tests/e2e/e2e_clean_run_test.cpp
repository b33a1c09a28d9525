// The real program under Wine, driven through its controls as a user (or a screen reader)
// would: tick boxes, press "Clean All Selected Items", answer the confirmation, read List1,
// and check what the run wrote into the registry of the test prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../../src/gui/control_ids.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kSettingsPath[] = L"Software\\Microsoft\\Qmoss";
const wchar_t* const kItemValues[] = {
    L"ihistory", L"urllist",  L"autocom",   L"cookies", L"iecache", L"index",
    L"outlookd", L"wzip1",    L"wzip2",     L"wordpad", L"paint",   L"media",
    L"msoffice", L"docs",     L"rmenu",     L"temp",    L"recycle", L"findfile",
    L"operach",  L"operacoo", L"operaType", L"netch",   L"netcoo",  L"nettypeurl"};

std::wstring Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? Widen(value) : std::wstring();
}

class CleanRunE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        exe_ = Env("QM_E2E_EXE");
        ASSERT_FALSE(exe_.empty()) << "QM_E2E_EXE must name Quillmoss.exe";
        DeleteTree(HKEY_LOCAL_MACHINE, kSettingsPath);
    }

    std::wstring exe_;
};

void ExpectStatusLines(const std::vector<std::wstring>& lines) {
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind(L"Your Computer has been running for...", 0), 0u) << Narrow(lines[0]);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 8), L" Minutes");
    EXPECT_EQ(lines[1], L"OS Microsoft Windows XP");  // the test prefix reports XP
    EXPECT_EQ(lines[2].rfind(L"IE version ", 0), 0u) << Narrow(lines[2]);
    EXPECT_EQ(lines[3], L"Quillmoss is ready...");
}

TEST_F(CleanRunE2E, CancelThenOkCleansTheTickedItemsAndRecordsAllTwentyFour) {
    AppProcess app(exe_, L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    HWND items = FindControlById(main, gui::kTabStrip2);
    HWND list = FindControlById(main, gui::kList1);
    ASSERT_TRUE(tabs && items && list);
    EXPECT_EQ(TabCount(tabs), 4);
    EXPECT_EQ(TabCount(items), 5);
    EXPECT_EQ(SelectedTab(tabs), 0);
    ExpectStatusLines(ListLines(list));

    SelectTab(tabs, 1);
    ASSERT_EQ(SelectedTab(tabs), 1);
    HWND history = FindControl(main, L"Button", L"IE History");
    HWND clean = FindControl(main, L"Button", L"Clean All Selected Items");
    ASSERT_TRUE(history && clean);
    ASSERT_TRUE(IsShown(history)) << "the Internet Explorer item panel comes first";
    ASSERT_TRUE(Click(history));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(history); }, 5s));

    SelectTab(items, 1);  // "Clean Common Folders"
    HWND recycle = FindControl(main, L"Button", L"Recycle Bin");
    ASSERT_TRUE(recycle);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(recycle) && !IsShown(history); }, 5s));
    ASSERT_TRUE(Click(recycle));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(recycle); }, 5s));
    Sleep(500);  // let the tick be painted before the picture is taken
    SaveScreenshot(main, Env("QM_E2E_SCREENSHOT"));

    // Cancel: nothing is cleaned and nothing is written.
    ASSERT_TRUE(Click(clean));
    auto box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Do you want to clean selected items");
    EXPECT_EQ(box->caption, L"Quillmoss");
    AnswerMessageBox(*box, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return ListLines(list).size() == 4; }, 5s));
    ExpectStatusLines(ListLines(list));
    EXPECT_EQ(SelectedTab(tabs), 1);
    for (const wchar_t* name : kItemValues) {
        EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kSettingsPath, name)) << Narrow(name);
    }

    // OK: the Main panel comes forward and the two items are cleaned, one pause each.
    ASSERT_TRUE(Click(clean));
    box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    AnswerMessageBox(*box, IDOK);
    const std::wstring kFinal = L"All selected items has been cleaned.";
    ASSERT_TRUE(WaitUntil(
        [&] {
            auto lines = ListLines(list);
            return !lines.empty() && lines.back() == kFinal;
        },
        60s));
    EXPECT_EQ(SelectedTab(tabs), 0);
    EXPECT_TRUE(IsShown(list));
    auto lines = ListLines(list);
    ExpectStatusLines(lines);
    std::vector<std::wstring> progress(lines.begin() + 4, lines.end());
    EXPECT_EQ(progress, (std::vector<std::wstring>{
                            L"", L"Cleaning Intenet History...", L"Internet History Cleaned.", L"",
                            L"Cleaning Recycle Bin...", L"Recycle Bin Cleaned.", L"", kFinal}));

    for (const wchar_t* name : kItemValues) {
        auto value = ReadValue(HKEY_LOCAL_MACHINE, kSettingsPath, name);
        ASSERT_TRUE(value) << Narrow(name);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->bytes.size(), 4u) << "stored without a terminating NUL";
        bool ticked = std::wstring(name) == L"ihistory" || std::wstring(name) == L"recycle";
        EXPECT_EQ(value->text(), ticked ? L"tt" : L"uu") << Narrow(name);
    }
}

TEST_F(CleanRunE2E, NothingTickedShowsTheEmptySelectionMessage) {
    AppProcess app(exe_, L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    HWND list = FindControlById(main, gui::kList1);
    SelectTab(tabs, 1);
    ASSERT_TRUE(Click(FindControl(main, L"Button", L"Clean All Selected Items")));
    auto box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    AnswerMessageBox(*box, IDOK);
    box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"No option is selected\r\nPlease select one or more options");
    EXPECT_EQ(box->caption, L"Quillmoss");
    AnswerMessageBox(*box, IDOK);
    EXPECT_EQ(ListLines(list).size(), 4u);
    auto value = ReadValue(HKEY_LOCAL_MACHINE, kSettingsPath, L"temp");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text(), L"uu");
}

TEST_F(CleanRunE2E, SystemInfoPanelShowsTheMachine) {
    AppProcess app(exe_, L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    HWND list = FindControlById(main, gui::kList1);
    HWND caption = FindControl(main, L"Static", L"Number of Processors:");
    ASSERT_TRUE(caption);
    EXPECT_FALSE(IsShown(caption));
    SelectTab(tabs, 3);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(caption); }, 5s));
    EXPECT_FALSE(IsShown(list));
    EXPECT_TRUE(IsShown(FindControl(main, L"Static", L"WindowsXP")));
    EXPECT_TRUE(IsShown(FindControl(main, L"Static", L"5.1.2600")));
    // Selecting a tab rewrites the status lines.
    ExpectStatusLines(ListLines(list));
    EXPECT_EQ(ListLines(list).size(), 4u);
}

}  // namespace
}  // namespace qm::e2e
