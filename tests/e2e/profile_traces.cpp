#include "profile_traces.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include "registry_probe.h"

namespace qm::e2e {
namespace {

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return {};
    return path;
}

std::wstring Parent(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

ProfileFolders ProfileFolders::Current() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return {Folder(CSIDL_APPDATA), Folder(CSIDL_INTERNET_CACHE), Folder(CSIDL_COOKIES),
            Folder(CSIDL_HISTORY), Parent(temp)};  // GetTempPath ends in a backslash
}

bool PlantFolder(const std::wstring& path) {
    if (FolderExists(path)) return true;
    std::wstring parent = Parent(path);
    if (!parent.empty() && parent.size() > 2 && !PlantFolder(parent)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool PlantFile(const std::wstring& path, const std::string& contents, DWORD attributes) {
    if (!PlantFolder(Parent(path))) return false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    return SetFileAttributesW(path.c_str(), attributes) != 0;
}

bool SetText(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text,
             DWORD type) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | kMachineView, nullptr,
                        &handle, nullptr))
        return false;
    LSTATUS status =
        RegSetValueExW(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

std::string Ansi(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && !FolderExists(path);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | kMachineView, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& name) {
    return ReadValue(root, key, name).has_value();
}

bool PlantCacheEntry(const std::wstring& url) {
    wchar_t file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) return false;
    if (!PlantFile(file, "<html></html>")) return false;
    FILETIME zero{};
    return CommitUrlCacheEntryW(url.c_str(), file, zero, zero, NORMAL_CACHE_ENTRY, nullptr, 0,
                                nullptr, nullptr) != 0;
}

bool CacheHasEntry(const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

bool RecycleFile(const std::wstring& path) {
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

long long RecycleBinItems() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(nullptr, &info))) return -1;
    return info.i64NumItems;
}

}  // namespace qm::e2e
