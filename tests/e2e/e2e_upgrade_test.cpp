// The online upgrade across its three processes, against the test site: a copy of the
// program installed in a folder of its own finds the site's newer version, downloads it and
// hands over to it; the new version takes the installed program's place, thanks the user and
// opens the upgrade page. Each way it can fail leaves the installed program able to run.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kQm[] = L"Software\\Microsoft\\Qmoss";
const wchar_t kFolder[] = L"C:\\Program Files\\Quillmoss Upgrade";
const wchar_t kCaption[] = L"Quillmoss v2.80";
const wchar_t kBrowserNote[] = L"C:\\qm-upgrade-page.txt";
const wchar_t kHttpsCommand[] = L"Software\\Classes\\https\\shell\\open\\command";

std::wstring Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? Widen(value) : L"";
}

std::string Contents(const std::wstring& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return file ? text.str() : "<absent>";
}

std::wstring Setting(const wchar_t* name) {
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, kQm, name);
    return value ? value->text() : L"<absent>";
}

// The prefix trusts the test site's CA as an administrator would make a machine trust one.
bool TrustTestSite() {
    const std::string der = Contents(Environment("QM_TEST_SITE_CA"));
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    const bool added =
        root && CertAddEncodedCertificateToStore(
                    root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                    static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (root) CertCloseStore(root, 0);
    return added;
}

// A shown message box of any process, by its text.
std::optional<MessageBoxInfo> BoxSaying(const std::wstring& text, std::chrono::seconds timeout) {
    std::optional<MessageBoxInfo> found;
    WaitUntil(
        [&] {
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
                wchar_t shown[256] = {};
                GetWindowTextW(GetDlgItem(w, 0xFFFF), shown, 256);
                if (IsWindowVisible(w) && text == shown) found = MessageBoxInfo{w, shown, L""};
            }
            return found.has_value();
        },
        timeout);
    return found;
}

// The shown main window of a Quillmoss started by another Quillmoss, ended with the test.
struct Successor {
    HWND window = nullptr;
    explicit Successor(std::chrono::seconds timeout) {
        WaitUntil(
            [&] {
                for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, kCaption));)
                    if (IsWindowVisible(w)) window = w;
                return window != nullptr;
            },
            timeout);
    }
    ~Successor() {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
};

// Quillmoss installed in a folder of its own, pointed at the test site (`behaviour` is a path
// the site acts on); the settings, the override and the folder go however the test ends.
struct Installation {
    std::wstring exe = std::wstring(kFolder) + L"\\Quillmoss.exe";
    std::string original;
    explicit Installation(const std::wstring& site) {
        Clean();
        CreateDirectoryW(kFolder, nullptr);
        CopyFileW(Environment("QM_E2E_EXE").c_str(), exe.c_str(), FALSE);
        original = Contents(exe);
        SetText(HKEY_LOCAL_MACHINE, kQm, L"site", site);
        SetText(HKEY_LOCAL_MACHINE, kQm, L"ver", L"5");
    }
    ~Installation() { Clean(); }
    void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kQm);
        DeleteFileW((std::wstring(kFolder) + L"\\qms.exe").c_str());
        DeleteFileW(exe.c_str());
        RemoveDirectoryW(kFolder);
    }
    // Starts the installed program and presses "Check for Upgrade"; the box it answers with.
    std::optional<MessageBoxInfo> Check(AppProcess& app) {
        PostMessageW(app.window(), WM_COMMAND, gui::kMnuAs, 0);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindControl(nullptr, L"", L"Advanced Options")); }, 10s);
        if (!Click(FindControl(dialog, L"Button", L"Check for Upgrade"))) return std::nullopt;
        return WaitForMessageBox(app.pid(), 60s);
    }
};

TEST(UpgradeE2E, TheOldProgramDownloadsTheNewOneWhichTakesItsPlaceAndThanksTheUser) {
    const std::wstring site = Environment("QM_TEST_SITE");
    if (site.empty() || !TrustTestSite()) GTEST_SKIP() << "no test site";
    Installation installed(site);
    const auto browser = ReadValue(HKEY_LOCAL_MACHINE, kHttpsCommand, L"");
    SetText(HKEY_LOCAL_MACHINE, kHttpsCommand, L"",
            std::wstring(L"C:\\windows\\system32\\cmd.exe /c echo %1>") + kBrowserNote);
    {
        AppProcess app(installed.exe, kCaption);
        const auto offer = installed.Check(app);
        ASSERT_TRUE(offer);
        EXPECT_EQ(offer->text, L"Upgrade available.\r\nDo you want to download?");
        EXPECT_EQ(offer->caption, L"Check For Quillmoss Update");
        AnswerMessageBox(*offer, IDOK);
        EXPECT_TRUE(app.Ended(60s));
        const auto thanks = BoxSaying(L"Quillmoss Upgraded. Thank you for upgrading.", 60s);
        ASSERT_TRUE(thanks);
        std::wstring next = L"Z:" + Environment("QM_TEST_SITE_UPDATE_FILE");
        std::replace(next.begin(), next.end(), L'/', L'\\');
        EXPECT_EQ(Contents(installed.exe), Contents(next));
        EXPECT_NE(Contents(installed.exe), installed.original);
        EXPECT_FALSE(FileExists(std::wstring(kFolder) + L"\\qms.exe"));
        EXPECT_EQ(Setting(L"Up") + Setting(L"ver") + Setting(L"donreq"), L"a6<absent>");
        AnswerMessageBox(*thanks, IDOK);
        EXPECT_TRUE(WaitUntil(
            [&] { return Contents(kBrowserNote).starts_with(Narrow(site) + "/upgrade.php"); },
            20s));
        const Successor upgraded(30s);
        EXPECT_TRUE(upgraded.window);
    }
    DeleteFileW(kBrowserNote);
    if (browser) SetText(HKEY_LOCAL_MACHINE, kHttpsCommand, L"", browser->text());
    const std::string log = Contents(Environment("QM_TEST_SITE_LOG"));
    EXPECT_NE(log.find("GET /qms.txt"), std::string::npos);
    EXPECT_NE(log.find("GET /qmsupdate.exe"), std::string::npos);
}

TEST(UpgradeE2E, OfflineMissingCutShortOrNotCopiedTheInstalledProgramStillRuns) {
    const std::wstring site = Environment("QM_TEST_SITE");
    if (site.empty() || !TrustTestSite()) GTEST_SKIP() << "no test site";
    for (const auto& [base, answer] : {
             std::pair<std::wstring, std::wstring>{L"https://localhost:9",
                                                   L"You are not connected to Internet\r\nMake "
                                                   L"sure you are connected to Internet"},
             {site + L"/404", L"No Upgrade of Quillmoss was available"},
             {site + L"/shortupdate", L"Upgrade available.\r\nDo you want to download?"},
         }) {
        Installation installed(base);
        AppProcess app(installed.exe, kCaption);
        const auto box = installed.Check(app);
        ASSERT_TRUE(box) << Narrow(base);
        EXPECT_EQ(box->text, answer);
        AnswerMessageBox(*box, IDOK);
        // Six tries, each cut short, then the wait window goes and nothing more is said.
        EXPECT_TRUE(WaitUntil(
            [] { return !IsWindowVisible(FindWindowW(L"QuillmossSplash", nullptr)); }, 60s));
        EXPECT_FALSE(app.Ended(0ms));
        EXPECT_EQ(Contents(installed.exe), installed.original);
        EXPECT_EQ(Setting(L"Up"), L"a");
    }
    // The installed program is held open against writing: the new version cannot copy itself
    // over it, and the old one is started again instead, as it was.
    Installation installed(site);
    AppProcess app(installed.exe, kCaption);
    HANDLE hold = CreateFileW(installed.exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    const auto offer = installed.Check(app);
    ASSERT_TRUE(offer);
    AnswerMessageBox(*offer, IDOK);
    EXPECT_TRUE(app.Ended(60s));
    EXPECT_TRUE(WaitUntil([] { return Setting(L"Up") == L"a"; }, 60s));
    const Successor restarted(60s);
    CloseHandle(hold);
    EXPECT_TRUE(restarted.window);
    EXPECT_EQ(Contents(installed.exe), installed.original);
    EXPECT_FALSE(BoxSaying(L"Quillmoss Upgraded. Thank you for upgrading.", 1s));
}

}  // namespace
}  // namespace qm::e2e
