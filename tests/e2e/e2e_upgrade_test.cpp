// The online upgrade across its three processes, against the test site: a copy of the
// program installed in a folder of its own finds the site's newer version, downloads it and
// hands over to it; the new version takes the installed program's place, thanks the user and
// opens the upgrade page. Each way it can fail, a file the site's key did not sign among
// them, leaves the installed program running, unchanged, and nothing recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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
const std::wstring kFolder = L"C:\\Program Files\\Quillmoss Upgrade\\";
const std::wstring kExe = kFolder + L"Quillmoss.exe";
const wchar_t kHttps[] = L"Software\\Classes\\https\\shell\\open\\command";
const std::wstring kOffer = L"Upgrade available.\r\nDo you want to download?";
const std::wstring kThanks = L"Quillmoss Upgraded. Thank you for upgrading.";
const std::wstring kUnverified =
    L"The upgrade could not be verified, so nothing was installed.\r\nQuillmoss stays as it is.";
const std::wstring kOffline =
    L"You are not connected to Internet\r\nMake sure you are connected to Internet";
const std::wstring kNoUpgrade = L"No Upgrade of Quillmoss was available";
const wchar_t kCaption[] = L"Quillmoss v2.80";

std::string Contents(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return file ? text.str() : "<absent>";
}

std::wstring Setting(const wchar_t* name) {
    return ReadValue(HKEY_LOCAL_MACHINE, kQm, name).value_or(RawValue{}).text();
}

// The prefix trusts the test site's CA as an administrator makes a machine trust one.
bool TrustTestSite() {
    const std::string der = Contents(Widen(std::getenv("QM_TEST_SITE_CA")));
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    return CertAddEncodedCertificateToStore(
               root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
               static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) &&
           CertCloseStore(root, 0);
}

// A shown message box of any process, by its message.
HWND Shown(const std::wstring& text, std::chrono::seconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = nullptr; !found && (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
                wchar_t shown[256] = {};
                GetWindowTextW(GetDlgItem(w, 0xFFFF), shown, 256);
                if (IsWindowVisible(w) && text == shown) found = w;
            }
            return found != nullptr;
        },
        timeout);
    return found;
}

// Ends the installed program that another Quillmoss started (minimised, it waits hidden in
// the notification area); false when none runs.
bool EndInstalledProgram() {
    bool found = false;
    WaitUntil(
        [&] {
            for (HWND w = nullptr; !found && (w = FindWindowExW(nullptr, w, nullptr, kCaption));) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
                wchar_t image[MAX_PATH] = {};
                GetModuleFileNameExW(process, nullptr, image, MAX_PATH);
                found = _wcsicmp(image, kExe.c_str()) == 0 && TerminateProcess(process, 0) &&
                        WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
                CloseHandle(process);
            }
            return found;
        },
        60s);
    return found;
}

// Quillmoss installed anew, pointed at a site; the settings key (the site with it) and the
// folder go at the end.
struct Installation {
    std::string original;
    std::optional<AppProcess> app;
    // Starts it, presses "Check for Upgrade" and answers OK to the box that says `answer`.
    // The site (none: the maker's) is named with the key of the test site, unless `key` is
    // false.
    bool Check(const std::optional<std::wstring>& site, const std::wstring& answer,
               HANDLE* hold = nullptr, bool key = true, std::chrono::seconds wait = 60s) {
        app.reset();
        Clean();
        CreateDirectoryW(kFolder.c_str(), nullptr);
        CopyFileW(Widen(std::getenv("QM_E2E_EXE")).c_str(), kExe.c_str(), FALSE);
        original = Contents(kExe);
        // Held open against writing, it cannot be replaced.
        if (hold)
            *hold = CreateFileW(kExe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
        if (site) SetText(HKEY_LOCAL_MACHINE, kQm, L"site", *site);
        if (key)
            SetText(HKEY_LOCAL_MACHINE, kQm, L"sitekey",
                    Widen(Contents(Widen(std::getenv("QM_TEST_SITE_KEY")))));
        SetText(HKEY_LOCAL_MACHINE, kQm, L"ver", L"5");
        app.emplace(kExe, kCaption);
        Press();
        const HWND box = Shown(answer, wait);
        AnswerMessageBox({box, L"", L""}, IDOK);
        return box != nullptr;
    }
    // Opens the options dialog and presses "Check for Upgrade".
    void Press() {
        PostMessageW(app->window(), WM_COMMAND, gui::kMnuAs, 0);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindControl(nullptr, L"", L"Advanced Options")); }, 10s);
        Click(FindControl(dialog, L"Button", L"Check for Upgrade"));
    }
    void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kQm);
        DeleteFileW((kFolder + L"qms.exe").c_str());
        DeleteFileW(kExe.c_str());
        RemoveDirectoryW(kFolder.c_str());
    }
    ~Installation() { app.reset(), Clean(); }
};

TEST(UpgradeE2E, ThreeProcessesReplaceTheProgramAndEachFailureLeavesItRunningUnchanged) {
    if (!std::getenv("QM_TEST_SITE") || !TrustTestSite()) GTEST_SKIP() << "no test site";
    const std::wstring site = Widen(std::getenv("QM_TEST_SITE"));
    const std::wstring log = Widen(std::getenv("QM_TEST_SITE_LOG"));
    Installation installed;
    struct Case {
        std::optional<std::wstring> site;
        std::wstring answer, then;  // the first box, answered OK, and the one after it
        bool key;
    };
    const auto check = [](std::optional<std::wstring> base, std::wstring answer,
                          std::wstring then = L"", bool key = true) {
        return Case{std::move(base), std::move(answer), std::move(then), key};
    };
    for (const auto& [base, answer, then, key] :
         {check(L"https://localhost:9", kOffline), check(site + L"/404", kNoUpgrade),
          check(site + L"/shortupdate", kOffer),
          check(site + L"/ver-4", kNoUpgrade),  // signed, and older: no downgrade
          check(site + L"/nosig", kUnverified), check(site + L"/otherkey", kUnverified),
          check(site, kUnverified, L"", false),  // another site is held to the maker's key
          check(std::nullopt, kOffline),         // a key alone points nowhere else
          check(site + L"/tamper", kOffer, kUnverified),
          check(site + L"/nosigexe", kOffer, kUnverified),
          check(site + L"/shortsig", kOffer, kUnverified)}) {
        const std::string what = Narrow(base.value_or(L"no site") + L" " + answer + L" " + then);
        ASSERT_TRUE(installed.Check(base, answer, nullptr, key)) << what;
        if (!then.empty()) {
            const HWND box = Shown(then, 30s);
            EXPECT_TRUE(box) << what;
            AnswerMessageBox({box, L"", L""}, IDOK);
        }
        // Six downloads, all cut short, take a moment on the loopback; then nothing more.
        EXPECT_FALSE(installed.app->Ended(base == site + L"/shortupdate" ? 15s : 1s)) << what;
        EXPECT_EQ(Contents(kExe), installed.original) << what;
        EXPECT_EQ(Contents(kFolder + L"qms.exe"), "<absent>") << what;
        EXPECT_EQ(Setting(L"Up") + L"|" + Setting(L"ver").c_str() + L"|" + Setting(L"donreq"),
                  L"a|5|")
            << what;
    }
    // The copy fails: the old program is started again instead, as it was, and not thanked.
    HANDLE hold = nullptr;
    ASSERT_TRUE(installed.Check(site, kOffer, &hold));
    EXPECT_TRUE(installed.app->Ended(60s));
    EXPECT_TRUE(EndInstalledProgram());
    CloseHandle(hold);
    EXPECT_EQ(Setting(L"Up") + Widen(Contents(kExe) == installed.original ? "same" : ""), L"asame");
    EXPECT_FALSE(Shown(kThanks, 1s));

    const auto browser = ReadValue(HKEY_LOCAL_MACHINE, kHttps, L"");
    SetText(HKEY_LOCAL_MACHINE, kHttps, L"",
            L"cscript.exe //nologo \"" + Widen(std::getenv("QM_E2E_BROWSER")) + L"\" %1");
    ASSERT_TRUE(installed.Check(site, kOffer));
    EXPECT_TRUE(installed.app->Ended(60s));
    const HWND thanks = Shown(kThanks, 60s);
    std::wstring next = L"Z:" + Widen(std::getenv("QM_TEST_SITE_UPDATE_FILE"));
    std::ranges::replace(next, L'/', L'\\');
    EXPECT_TRUE(Contents(kExe) == Contents(next) && Contents(kFolder + L"qms.exe") == "<absent>");
    EXPECT_EQ(Setting(L"Up") + Setting(L"ver") + Setting(L"donreq"), L"a6");
    AnswerMessageBox({thanks, L"", L""}, IDOK);
    EXPECT_TRUE(WaitUntil(
        [&] { return Contents(log).find("GET /upgrade.php") != std::string::npos; }, 20s));
    EXPECT_TRUE(EndInstalledProgram());
    if (browser) SetText(HKEY_LOCAL_MACHINE, kHttps, L"", browser->text());
}

// A site that stops answering holds the check, never the window: it answers at once while the
// check waits, and a confirmed Exit ends the program without waiting for the transfer.
TEST(UpgradeE2E, AStalledCheckLeavesTheWindowAnsweringAndExitEndsTheProgramAtOnce) {
    if (!std::getenv("QM_TEST_SITE") || !TrustTestSite()) GTEST_SKIP() << "no test site";
    Installation installed;
    // A box the site cannot reach: none comes while the transfer stalls.
    ASSERT_FALSE(installed.Check(Widen(std::getenv("QM_TEST_SITE")) + L"/stall", L"no such box",
                                 nullptr, true, 3s));
    const HWND main = installed.app->window();
    for (int i = 0; i < 3; ++i) {
        const auto sent = std::chrono::steady_clock::now();
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result));
        EXPECT_LT(std::chrono::steady_clock::now() - sent, 1s);
    }
    PostMessageW(main, WM_COMMAND, gui::kMnuExit, 0);
    // The options dialog and the wait window are the process's too: the box is found by its text.
    const HWND box = Shown(L"Are you sure you want to exit Quillmoss?", 10s);
    ASSERT_TRUE(box);
    AnswerMessageBox({box, L"", L""}, IDYES);
    EXPECT_TRUE(installed.app->Ended(2s));
}

}  // namespace
}  // namespace qm::e2e
