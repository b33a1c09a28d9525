// The Preview button in the real window: its dialog lists a planted temporary file in its
// list view and deletes nothing; the clean that follows removes that file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../../src/gui/control_ids.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(PreviewE2E, PreviewListsThePlantedFileKeepsItAndTheCleanRemovesIt) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe) << "QM_E2E_EXE must name Quillmoss.exe";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring planted = std::wstring(temp) + L"qm-preview-planted.tmp";
    HANDLE file =
        CreateFileW(planted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    AppProcess app(Widen(exe), L"Quillmoss v2.80");
    HWND main = app.window();
    SelectTab(FindControlById(main, gui::kTabStrip1), 1);
    SelectTab(FindControlById(main, gui::kTabStrip2), 1);  // "Clean Common Folders"
    HWND box = FindControl(main, L"Button", L"Temporary Folder");
    ASSERT_TRUE(WaitUntil([&] { return IsShown(box); }, 5s));
    ASSERT_TRUE(Click(box));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(box); }, 5s));
    ASSERT_TRUE(Click(FindControl(main, L"Button", L"Preview")));

    HWND dialog = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (dialog = FindWindowW(nullptr, L"Preview")) != nullptr; }, 10s));
    HWND status = FindControl(dialog, L"Static", L"");
    HWND items = FindControl(dialog, L"ListBox", L"");
    HWND entries = FindControl(dialog, L"SysListView32", L"");
    ASSERT_TRUE(status && items && entries);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return FindControl(dialog, L"Static",
                               L"Done: 1 of 1 items previewed. Nothing "
                               L"has been deleted.") != nullptr;
        },
        60s));
    const auto lines = ListLines(items);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(L"Temporary Folder: ", 0), 0u) << Narrow(lines[0]);
    bool listed = false;
    for (const auto& row : ListViewRows(entries, 3)) {
        listed = listed || (row[0] == L"file" && _wcsicmp(row[1].c_str(), planted.c_str()) == 0 &&
                            row[2] == L"0");
    }
    EXPECT_TRUE(listed) << Narrow(planted);
    EXPECT_TRUE(Exists(planted));
    if (const char* shots = std::getenv("QM_E2E_SHOTS")) {
        SaveScreenshot(dialog, Widen(std::string(shots) + "preview.bmp"));
    }

    ASSERT_TRUE(FindControl(dialog, L"Button", L"Close"));
    PostMessageW(entries, WM_KEYDOWN, VK_ESCAPE, 0);  // Esc closes as "Close" does
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));
    ASSERT_TRUE(CleanSelected(main, app.pid(), 60s));
    EXPECT_FALSE(Exists(planted));
}

}  // namespace
}  // namespace qm::e2e
