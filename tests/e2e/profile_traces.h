#pragma once
// Real traces in the test prefix's user profile and registry, made the way the programs that
// leave them would, and small probes to check what is left afterwards.
#include <windows.h>
#include <wininet.h>

#include <string>

namespace qm::e2e {

// The user's folders as the shell reports them in this prefix, without trailing backslash.
struct ProfileFolders {
    std::wstring app_data;        // CSIDL 26
    std::wstring internet_cache;  // CSIDL 32
    std::wstring cookies;         // CSIDL 33
    std::wstring history;         // CSIDL 34
    std::wstring temp;            // GetTempPath, without trailing backslash
    static ProfileFolders Current();
};

// Creates the folders above `path` and the file itself.
bool PlantFile(const std::wstring& path, const std::string& contents = "trace",
               DWORD attributes = FILE_ATTRIBUTE_NORMAL);
bool PlantFolder(const std::wstring& path);
bool SetText(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text,
             DWORD type = REG_SZ);

// The text in the ANSI code page, as older programs write it into their files.
std::string Ansi(const std::wstring& text);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& key);
bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& name);

// An entry in the Internet cache, made through WinINet with a file under Content.IE5.
bool PlantCacheEntry(const std::wstring& url);
bool CacheHasEntry(const std::wstring& url);
// Moves a file into the Recycle Bin through the shell; the number of items in the bin.
bool RecycleFile(const std::wstring& path);
long long RecycleBinItems();

}  // namespace qm::e2e
