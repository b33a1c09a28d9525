// Windows' own traces under Wine: jump lists made with the system's structured storage, the
// thumbnail cache with a file held open, Explorer's lists and the user's error reports, cleaned
// through /clean and through the window on a Windows 10 prefix; on XP the boxes of traces that
// Windows never keeps are greyed.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kSessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPending[] = L"PendingFileRenameOperations";

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

void RemoveTree(const std::wstring& folder) {
    const std::wstring from = folder + L'\0';  // a list of names, ended by an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

// A jump list as the shell keeps one: a compound file whose DestList stream opens with a
// 32-byte header of version, number of entries and number of pinned entries.
bool PlantJumpList(const std::wstring& path, std::uint32_t version, std::uint32_t pinned) {
    if (!PlantFile(path)) return false;  // the folders above it
    IStorage* storage = nullptr;
    IStream* stream = nullptr;
    const DWORD mode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
    if (FAILED(StgCreateDocfile(path.c_str(), mode, 0, &storage))) return false;
    const std::uint32_t header[8] = {version, pinned + 3, pinned};
    ULONG written = 0;
    bool ok = SUCCEEDED(storage->CreateStream(L"DestList", mode, 0, 0, &stream)) &&
              SUCCEEDED(stream->Write(header, sizeof header, &written)) && written == sizeof header;
    if (stream) stream->Release();
    ok = ok && SUCCEEDED(storage->Commit(STGC_DEFAULT));
    storage->Release();
    return ok;
}

std::wstring PendingList() {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, kPending);
    return value ? value->text() : L"";
}

void SetPendingList(const std::wstring& list) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager.c_str(), 0, KEY_SET_VALUE, &key) != 0)
        return;
    if (list.empty())
        RegDeleteValueW(key, kPending);
    else
        RegSetValueExW(key, kPending, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                       static_cast<DWORD>(list.size() * sizeof(wchar_t)));
    RegCloseKey(key);
}

class WindowsTracesE2E : public ::testing::Test {
  protected:
    ~WindowsTracesE2E() override {
        RemoveTree(automatic), RemoveTree(custom);
        for (const wchar_t* name : {L"thumbcache_32.db", L"thumbcache_idx.db", L"iconcache_32.db"})
            DeleteFileW((explorer + L"\\" + name).c_str());
        RemoveTree(Folder(CSIDL_LOCAL_APPDATA) + L"\\Microsoft\\Windows\\WER");
        RemoveTree(machine_report);
        for (const wchar_t* key : {L"\\TypedPaths", L"\\ComDlg32"})
            DeleteTree(HKEY_CURRENT_USER, kExplorer + key);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorer.c_str(), 0, KEY_SET_VALUE, &key) == 0)
            RegDeleteValueW(key, L"QmOwnValue"), RegCloseKey(key);
        // The next run starts with every box as it comes.
        for (const wchar_t* item : {L"jumplists", L"thumbcache", L"explorermru", L"winerrors"})
            SetText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Qmoss", item, L"uu");
    }
    const std::wstring recent = Folder(CSIDL_RECENT);
    const std::wstring automatic = recent + L"\\AutomaticDestinations";
    const std::wstring custom = recent + L"\\CustomDestinations";
    const std::wstring explorer = Folder(CSIDL_LOCAL_APPDATA) + L"\\Microsoft\\Windows\\Explorer";
    const std::wstring machine_report =
        Folder(CSIDL_COMMON_APPDATA) + L"\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_qm";
};

TEST_F(WindowsTracesE2E, Win10CleanKeepsPinnedListsAndTheMachinesReports) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const std::wstring unpinned = automatic + L"\\5f7b5f1e01b83767.automaticDestinations-ms";
    const std::wstring pinned = automatic + L"\\f01b4d95cf55d32a.automaticDestinations-ms";
    const std::wstring unknown = automatic + L"\\9b9cdc69c1c24e2b.automaticDestinations-ms";
    const std::wstring broken = automatic + L"\\1b4dd67f29cb1962.automaticDestinations-ms";
    const std::wstring custom_list = custom + L"\\5f7b5f1e01b83767.customDestinations-ms";
    ASSERT_TRUE(PlantJumpList(unpinned, 4, 0) && PlantJumpList(pinned, 4, 2) &&
                PlantJumpList(unknown, 9, 0));
    ASSERT_TRUE(PlantFile(broken, "not a compound file") && PlantFile(custom_list));

    const std::wstring held = explorer + L"\\thumbcache_32.db";
    const std::wstring index = explorer + L"\\thumbcache_idx.db";
    const std::wstring icons = explorer + L"\\iconcache_32.db";
    ASSERT_TRUE(PlantFile(held) && PlantFile(index) && PlantFile(icons));
    // As Explorer holds its cache: open, and no sharing of deletion.
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kExplorer + L"\\TypedPaths", L"url1", L"C:\\Secret"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kExplorer + L"\\ComDlg32\\OpenSavePidlMRU\\txt", L"0",
                        L"secret.txt"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kExplorer + L"\\ComDlg32\\CIDSizeMRU", L"0", L"size"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kExplorer, L"QmOwnValue", L"stays"));

    const std::wstring wer = Folder(CSIDL_LOCAL_APPDATA) + L"\\Microsoft\\Windows\\WER";
    const std::wstring user_report = wer + L"\\ReportArchive\\AppCrash_qm";
    const std::wstring queued = wer + L"\\ReportQueue\\AppCrash_qm2\\Report.wer";
    ASSERT_TRUE(PlantFile(user_report + L"\\Report.wer") && PlantFile(queued));
    ASSERT_TRUE(PlantFile(machine_report + L"\\Report.wer"));

    const std::wstring before = PendingList();
    const std::wstring log = Folder(CSIDL_APPDATA) + L"\\qm-windows-traces.log";
    EXPECT_EQ(
        RunQuillmoss(L"/clean jumplists thumbcache explorermru winerrors /log \"" + log + L"\""),
        1);
    const std::wstring pending = PendingList();
    CloseHandle(holder);
    SetPendingList(before);  // the prefix's next restart must not look for the planted file

    EXPECT_FALSE(FileExists(unpinned));
    EXPECT_FALSE(FileExists(custom_list));
    EXPECT_TRUE(FileExists(pinned) && FileExists(unknown) && FileExists(broken));
    const std::string report = ReadWholeFile(log);
    EXPECT_NE(report.find("Jump lists cleaned; kept whole: 1 with pinned entries, 2 whose pins "
                          "could not be read."),
              std::string::npos)
        << report;

    EXPECT_NE(pending.find(L"\\??\\" + held + std::wstring(2, L'\0')), std::wstring::npos);
    EXPECT_FALSE(FileExists(index));
    EXPECT_TRUE(FileExists(icons));

    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kExplorer + L"\\TypedPaths", L"url1"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kExplorer + L"\\TypedPaths"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExplorer + L"\\ComDlg32\\OpenSavePidlMRU\\txt"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kExplorer + L"\\ComDlg32\\OpenSavePidlMRU"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kExplorer + L"\\ComDlg32\\CIDSizeMRU", L"0"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kExplorer, L"QmOwnValue"));

    EXPECT_FALSE(FolderExists(user_report));
    EXPECT_FALSE(FileExists(queued));
    EXPECT_TRUE(FileExists(machine_report + L"\\Report.wer"));
    DeleteFileW(log.c_str());
}

// Ticked on the Windows tab and cleaned with the other selected items.
TEST_F(WindowsTracesE2E, Win10JumpListBoxCleansThroughTheWindow) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const std::wstring unpinned = automatic + L"\\5f7b5f1e01b83767.automaticDestinations-ms";
    const std::wstring pinned = automatic + L"\\f01b4d95cf55d32a.automaticDestinations-ms";
    ASSERT_TRUE(PlantJumpList(unpinned, 3, 0) && PlantJumpList(pinned, 3, 1));
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    HWND main = app.window();
    SelectTab(FindControlById(main, gui::kTabStrip1), 1);
    SelectTab(FindControlById(main, gui::kTabStrip2), 8);  // "Windows"
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (box = FindControl(main, L"Button", L"Jump Lists")) != nullptr; }, 5s));
    ASSERT_TRUE(Click(box));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(box); }, 5s));
    ASSERT_TRUE(CleanSelected(main, app.pid(), 30s));
    EXPECT_FALSE(FileExists(unpinned));
    EXPECT_TRUE(FileExists(pinned));
}

// XP keeps no jump lists: their box is greyed, the clipboard's is not.
TEST_F(WindowsTracesE2E, XpGreysTheJumpListBox) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    HWND main = app.window();
    SelectTab(FindControlById(main, gui::kTabStrip1), 1);
    SelectTab(FindControlById(main, gui::kTabStrip2), 8);
    HWND jump = nullptr, clipboard = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            jump = FindControl(main, L"Button", L"Jump Lists");
            clipboard = FindControl(main, L"Button", L"Clipboard");
            return jump && clipboard;
        },
        5s));
    EXPECT_TRUE(IsShown(jump));
    EXPECT_FALSE(IsWindowEnabled(jump));
    EXPECT_TRUE(IsWindowEnabled(clipboard));
}

}  // namespace
}  // namespace qm::e2e
