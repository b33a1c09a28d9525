// The real Windows API as a contract-suite machine. Each test works in a scratch folder under
// the user's temporary folder and a scratch key under Software\QuillmossContract in both
// roots; everything is removed again when the test's backend goes.
#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <shlwapi.h>

#include <atomic>
#include <string>

#include "backend.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_info.h"

namespace qm::contract {
namespace {

constexpr char kScratchKeyParent[] = "Software\\QuillmossContract";

std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    return "qm-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    std::string folder = win32::ToUtf8(std::wstring_view(buffer, length));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
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
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

class Win32Hold final : public FileHold {
  public:
    explicit Win32Hold(win32::ScopedFile file) : file_(std::move(file)) {}

  private:
    win32::ScopedFile file_;
};

class Win32Backend final : public Backend {
  public:
    ~Win32Backend() override {
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
        const std::string folder = TempFolder() + "\\" + UniqueName();
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

  private:
    win32::Win32Registry registry_;
    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    win32::Win32SystemInfo system_;
    std::vector<std::string> folders_;
    std::vector<std::string> keys_;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<Win32Backend>();
}

}  // namespace qm::contract
