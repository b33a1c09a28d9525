// The real Windows API as a contract-suite machine. Each test works in a scratch folder under
// the user's temporary folder and a scratch key under Software\QuillmossContract in both
// roots; everything is removed again when the test's backend goes, and so are the cache
// entries and Recent Documents shortcuts a test adds.
#include "platform/win32/windows_api.h"
// After windows.h, which they need.
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wincrypt.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "backend.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_message_loop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_signatures.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_url_cache.h"

namespace qm::contract {
namespace {

constexpr char kScratchKeyParent[] = "Software\\QuillmossContract";

std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    return "qm-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
}

// Tests leave read-only, hidden and deeply nested things behind on purpose; all of it goes.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    win32::ScopedFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                ::RemoveDirectoryW(path.c_str());  // a link goes alone, never its target
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

// Under Wine, the unix name of a path on C: (which need not exist yet); empty elsewhere.
std::string UnixNameOf(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix && path.starts_with("C:/") ? prefix + ("/drive_c" + path.substr(2)) : "";
}

// Runs a unix program under Wine until `path` is (or, `link` false, is no longer) a folder
// link: Wine gives no handle to wait on for a unix program. Wine starts a unix program only
// after resuming and closing a thread handle it never made, whatever value its stack held,
// which can be any handle of the starting process (it was the cached HKEY_LOCAL_MACHINE on
// one machine, and every later test of the machine key failed). So Wine's start program starts
// it: whatever start loses that way ends with start.
bool RunUntilLink(const std::string& command, const std::string& path, bool link) {
    const auto done = [&] {
        const DWORD attributes = ::GetFileAttributesW(win32::ToWidePath(path).c_str());
        return link == (attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    };
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::wstring line =
        L"\"" + std::wstring(system) + L"\\start.exe\" /unix " + win32::ToWide(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    for (int wait = 0; wait < 500 && !done(); ++wait) ::Sleep(10);
    return done();
}

std::string Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
    return length > 0 && length < ARRAYSIZE(value) ? win32::ToUtf8(value) : std::string();
}

// The test site's CA goes into the machine's root store the way an administrator puts one
// there, so WinINet checks the site's certificate exactly as it checks any other.
bool TrustTestSiteCa() {
    std::string der;
    win32::Win32FileSystem files;
    if (files.ReadFile(Environment(L"QM_TEST_SITE_CA"), der) != platform::kOk) return false;
    const HCERTSTORE root =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    if (!root) return false;
    const BOOL added = ::CertAddEncodedCertificateToStore(
        root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(root, 0);
    return added != FALSE;
}

class Win32Hold final : public FileHold {
  public:
    explicit Win32Hold(win32::ScopedFile file) : file_(std::move(file)) {}

  private:
    win32::ScopedFile file_;
};

// A browser reading a cached file keeps its entry locked until it lets go.
class UrlCacheEntryHold final : public FileHold {
  public:
    explicit UrlCacheEntryHold(std::wstring url) : url_(std::move(url)) {}
    ~UrlCacheEntryHold() override { ::UnlockUrlCacheEntryFileW(url_.c_str(), 0); }

  private:
    std::wstring url_;
};

// Emptying the bin in a test must never reach a real user's bin. Under Wine the bin is the
// freedesktop trash of $XDG_DATA_HOME, which the test set-up points into the build; on
// Windows itself, or without that set-up, the bin is not offered at all.
bool RecycleBinIsTheTestsOwn() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const bool under_wine =
        ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    return under_wine && ::GetEnvironmentVariableW(L"XDG_DATA_HOME", nullptr, 0) > 1;
}

class Win32Backend final : public Backend {
  public:
    ~Win32Backend() override {
        for (const auto& [link, unix_link] : unix_links_)
            RunUntilLink("/bin/rm \"" + unix_link + "\"", link, false);
        for (const std::wstring& url : cache_urls_) ::DeleteUrlCacheEntryW(url.c_str());
        for (const std::string& shortcut : shortcuts_)
            ::DeleteFileW(win32::ToWidePath(shortcut).c_str());
        for (const std::string& folder : folders_) RemoveTree(win32::ToWidePath(folder));
        for (const std::string& key : keys_) {
            const std::wstring wide = win32::ToWide(key);
            ::SHDeleteKeyW(HKEY_CURRENT_USER, wide.c_str());
            ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, wide.c_str());
        }
        // The parent goes only once no other test run still uses it.
        const std::wstring parent = win32::ToWide(kScratchKeyParent);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, parent.c_str());
    }

    platform::Registry& registry() override { return registry_; }
    platform::FileSystem& files() override { return files_; }
    platform::Shell& shell() override { return shell_; }
    platform::SystemInfo& system() override { return system_; }

    std::string ScratchFolder() override {
        std::string folder;
        files_.GetTempPath(folder);  // with its trailing backslash
        folder += UniqueName();
        ::CreateDirectoryW(win32::ToWidePath(folder).c_str(), nullptr);
        folders_.push_back(folder);
        return folder;
    }

    std::string ScratchKey() override {
        const std::string key = std::string(kScratchKeyParent) + "\\" + UniqueName();
        keys_.push_back(key);
        return key;
    }

    std::unique_ptr<FileHold> Hold(const std::string& path, HoldMode mode) override {
        const DWORD share = mode == HoldMode::NoDelete ? FILE_SHARE_READ : 0;
        win32::ScopedFile file(::CreateFileW(win32::ToWidePath(path).c_str(), GENERIC_READ, share,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
        if (!file) return nullptr;
        return std::make_unique<Win32Hold>(std::move(file));
    }

    bool IsReal() const override { return true; }

    std::string OtherNameOf(const std::string& folder) override {
        std::string name = UnixNameOf(folder);
        std::replace(name.begin(), name.end(), '/', '\\');
        return name.empty() ? name : "Z:" + name;
    }

    // Wine 8 makes no folder link through Windows (CreateSymbolicLinkW answers TRUE and makes
    // nothing; a junction's FSCTL_SET_REPARSE_POINT fails with ERROR_NOT_SUPPORTED), but it
    // shows a unix symbolic link to a folder as a folder link and follows it.
    bool MakeFolderLink(const std::string& link, const std::string& target) override {
        const std::string unix_link = UnixNameOf(link), unix_target = UnixNameOf(target);
        if (unix_link.empty() || unix_target.empty()) return false;
        unix_links_.emplace_back(link, unix_link);
        return RunUntilLink("/bin/ln -s \"" + unix_target + "\" \"" + unix_link + "\"", link, true);
    }

    bool MakeCompoundFile(const std::string& path,
                          const std::map<std::string, std::string>& streams) override {
        win32::ComRef<IStorage> storage;
        constexpr DWORD kCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
        if (FAILED(::StgCreateDocfile(win32::ToWide(path).c_str(), kCreate, 0, storage.receive())))
            return false;
        for (const auto& [name, data] : streams) {
            win32::ComRef<IStream> stream;
            ULONG written = 0;
            if (FAILED(storage->CreateStream(win32::ToWide(name).c_str(), kCreate, 0, 0,
                                             stream.receive())) ||
                FAILED(stream->Write(data.data(), static_cast<ULONG>(data.size()), &written)) ||
                written != data.size())
                return false;
        }
        return SUCCEEDED(storage->Commit(STGC_DEFAULT));
    }

    platform::UrlCache* url_cache() override { return &url_cache_; }

    bool AddUrlCacheEntry(const std::string& url) override {
        const std::wstring wide = win32::ToWide(url);
        wchar_t file[MAX_PATH + 1] = {};
        if (!::CreateUrlCacheEntryW(wide.c_str(), 0, L"htm", file, 0)) return false;
        if (files_.WriteFile(win32::ToUtf8(file), "<html></html>") != platform::kOk) return false;
        const FILETIME never{};
        if (!::CommitUrlCacheEntryW(wide.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr,
                                    0, nullptr, nullptr)) {
            ::DeleteFileW(file);
            return false;
        }
        cache_urls_.push_back(wide);
        return true;
    }

    std::unique_ptr<FileHold> HoldUrlCacheEntry(const std::string& url) override {
        std::wstring wide = win32::ToWide(url);
        std::uint64_t buffer[1024];  // far more than a test's short address needs
        DWORD size = sizeof buffer;
        auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer);
        if (!::RetrieveUrlCacheEntryFileW(wide.c_str(), info, &size, 0)) return nullptr;
        return std::make_unique<UrlCacheEntryHold>(std::move(wide));
    }

    bool AddRecentDocument(const std::string& path) override {
        std::string recent;
        if (shell_.GetFolderPath(CSIDL_RECENT, recent) != platform::kOk) return false;
        const std::wstring wide = win32::ToWide(path);
        ::SHAddToRecentDocs(SHARD_PATHW, wide.c_str());
        // The shell names the shortcut after the document.
        shortcuts_.push_back(recent + "\\" + path.substr(path.find_last_of('\\') + 1) + ".lnk");
        return true;
    }

    bool RecycleFile(const std::string& path) override {
        if (!RecycleBinIsTheTestsOwn()) return false;
        std::wstring from = win32::ToWide(path);
        from.append(2, L'\0');  // a list of one path
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
    }

    platform::Http& http() override { return http_; }
    platform::Signatures& signatures() override { return signatures_; }
    platform::MessageLoop& loop() override { return loop_; }
    std::string TestSite() override {
        static const bool trusted = TrustTestSiteCa();
        return trusted ? Environment(L"QM_TEST_SITE") : std::string();
    }
    std::string UntrustedTestSite() override { return Environment(L"QM_TEST_SITE_UNTRUSTED"); }

  private:
    // First in, last out: the History namespace's automation calls need it.
    win32::ComApartment apartment_;
    win32::Win32Registry registry_;
    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    win32::Win32SystemInfo system_;
    win32::Win32UrlCache url_cache_;
    win32::Win32MessageLoop loop_;
    win32::Win32Http http_{&loop_};
    win32::Win32Signatures signatures_;
    std::vector<std::string> folders_;
    std::vector<std::string> keys_;
    std::vector<std::wstring> cache_urls_;
    std::vector<std::string> shortcuts_;
    std::vector<std::pair<std::string, std::string>> unix_links_;  // Windows and unix names
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<Win32Backend>();
}

}  // namespace qm::contract
