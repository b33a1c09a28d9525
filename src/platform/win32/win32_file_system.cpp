#include "platform/win32/win32_file_system.h"

#include "platform/win32/windows_api.h"

#include <atomic>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/spread_work.h"
#include "platform/win32/wide_text.h"

namespace qm::win32 {

using platform::DirEntry;
using platform::Status;

namespace {

Status LastError() {
    return static_cast<Status>(::GetLastError());
}

Status Succeeded(BOOL done) {
    return done ? platform::kOk : LastError();
}

DirEntry ToEntry(const WIN32_FIND_DATAW& found) {
    DirEntry entry;
    entry.name = ToUtf8(found.cFileName);
    entry.attributes = found.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return entry;
}

// Large files are read and written in pieces a DWORD count can carry.
constexpr DWORD kChunk = 1u << 20;

}  // namespace

Status Win32FileSystem::List(std::string_view pattern_path, std::vector<DirEntry>& entries) {
    entries.clear();
    const std::wstring pattern = ToWidePath(pattern_path);
    WIN32_FIND_DATAW found{};
    ScopedFind find(::FindFirstFileW(pattern.c_str(), &found));
    if (!find) return LastError();
    do {
        entries.push_back(ToEntry(found));
    } while (::FindNextFileW(find.get(), &found));
    const Status status = LastError();
    return status == ERROR_NO_MORE_FILES ? platform::kOk : status;
}

Status Win32FileSystem::GetAttributes(std::string_view path, std::uint32_t& attributes) {
    const DWORD found = ::GetFileAttributesW(ToWidePath(path).c_str());
    if (found == INVALID_FILE_ATTRIBUTES) return LastError();
    attributes = found;
    return platform::kOk;
}

Status Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return Succeeded(::SetFileAttributesW(ToWidePath(path).c_str(), attributes));
}

Status Win32FileSystem::DeleteFile(std::string_view path) {
    return Succeeded(::DeleteFileW(ToWidePath(path).c_str()));
}

namespace {

// SetFileInformationByHandle (Vista and later) with FileDispositionInfoEx (Windows 10 and
// later), by number: the headers of an XP build know neither.
using SetFileInformationByHandleFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
constexpr int kFileDispositionInfoEx = 21;
constexpr DWORD kDispositionDelete = 0x1, kDispositionIgnoreReadOnly = 0x10;

SetFileInformationByHandleFn SetFileInformationByHandleIfThere() {
    static const auto found =
        reinterpret_cast<SetFileInformationByHandleFn>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetFileInformationByHandle")));
    return found;
}

// The one-call delete; false when this Windows cannot do it (then nothing has changed).
bool DeleteIgnoringReadOnly(const std::wstring& path, Status& status) {
    static std::atomic<bool> unsupported = false;
    const SetFileInformationByHandleFn set_information = SetFileInformationByHandleIfThere();
    if (unsupported || set_information == nullptr) return false;
    ScopedFile file(::CreateFileW(path.c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        // Missing, held open or a folder: refused as DeleteFile would refuse it.
        status = LastError();
        return true;
    }
    DWORD flags = kDispositionDelete | kDispositionIgnoreReadOnly;
    if (set_information(file.get(), kFileDispositionInfoEx, &flags, sizeof flags)) {
        status = platform::kOk;
        return true;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
        error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED) {
        unsupported = true;
        return false;
    }
    status = static_cast<Status>(error);
    return true;
}

}  // namespace

Status Win32FileSystem::ForceDeleteFile(std::string_view path) {
    const std::wstring wide = ToWidePath(path);
    if (Status status = platform::kOk; DeleteIgnoringReadOnly(wide, status)) return status;
    if (!::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL)) return LastError();
    return Succeeded(::DeleteFileW(wide.c_str()));
}

Status Win32FileSystem::RemoveDirectory(std::string_view path) {
    return Succeeded(::RemoveDirectoryW(ToWidePath(path).c_str()));
}

Status Win32FileSystem::CreateDirectory(std::string_view path) {
    return Succeeded(::CreateDirectoryW(ToWidePath(path).c_str(), nullptr));
}

Status Win32FileSystem::OpenForRead(std::string_view path) {
    ScopedFile file(::CreateFileW(ToWidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file ? platform::kOk : LastError();
}

Status Win32FileSystem::OpenForDelete(std::string_view path) {
    // Backup semantics open folders as well; a link is opened itself, not what it leads to.
    ScopedFile file(::CreateFileW(
        ToWidePath(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr));
    return file ? platform::kOk : LastError();
}

void Win32FileSystem::OpenEachForDelete(std::span<const std::string_view> paths,
                                        std::span<Status> results) {
    struct Each {
        Win32FileSystem* files;
        std::span<const std::string_view> paths;
        std::span<Status> results;
    } each{this, paths, results};
    SpreadWork(
        paths.size(),
        [](void* context, std::size_t i) {
            auto& batch = *static_cast<Each*>(context);
            batch.results[i] = batch.files->OpenForDelete(batch.paths[i]);
        },
        &each);
}

Status Win32FileSystem::ReadFile(std::string_view path, std::string& contents) {
    ScopedFile file(::CreateFileW(ToWidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return LastError();
    contents.clear();
    std::string chunk(kChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) return LastError();
        if (got == 0) return platform::kOk;
        contents.append(chunk.data(), got);
    }
}

Status Win32FileSystem::WriteFile(std::string_view path, std::string_view contents) {
    return Write(path, contents, false);
}

Status Win32FileSystem::WriteFileThrough(std::string_view path, std::string_view contents) {
    return Write(path, contents, true);
}

Status Win32FileSystem::Write(std::string_view path, std::string_view contents, bool through) {
    const std::wstring wide = ToWidePath(path);
    // Windows refuses to replace a read-only file. Where the file system underneath does not
    // enforce the flag itself (Wine running as root), the flag is honoured here all the same.
    const DWORD existing = ::GetFileAttributesW(wide.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0)
        return ERROR_ACCESS_DENIED;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (through ? FILE_FLAG_WRITE_THROUGH : 0);
    ScopedFile file(
        ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, flags, nullptr));
    if (!file) return LastError();
    while (!contents.empty()) {
        const DWORD piece = contents.size() < kChunk ? static_cast<DWORD>(contents.size()) : kChunk;
        DWORD written = 0;
        if (!::WriteFile(file.get(), contents.data(), piece, &written, nullptr)) return LastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        contents.remove_prefix(written);
    }
    // Write-through covers the data; the flush takes the file's size and place on the disk
    // with it.
    return through ? Succeeded(::FlushFileBuffers(file.get())) : platform::kOk;
}

Status Win32FileSystem::ScheduleDeleteAtRestart(std::string_view path) {
    // Windows 95, 98 and ME have no restart list: the call is not there to make. Wine keeps
    // one even when it says it is Windows 98, so the platform is asked here.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        return platform::kErrorCallNotImplemented;
    }
#pragma GCC diagnostic pop
    // Windows takes any path into its restart list, there or not; a missing one is refused
    // here, so that the answer says whether there will be anything to delete.
    const std::wstring wide = ToWidePath(path);
    if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return LastError();
    // The \\?\ form reaches the restart list as \??\C:\..., as the plain one would, but with
    // the name kept exactly.
    return Succeeded(::MoveFileExW(wide.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

namespace {

// The TMP or TEMP value Windows takes the temporary folder from, when that value is relative.
std::wstring RelativeTempVariable() {
    for (const wchar_t* name : {L"TMP", L"TEMP"}) {
        const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
        if (size <= 1) continue;
        std::wstring value(size, L'\0');
        value.resize(::GetEnvironmentVariableW(name, value.data(), size));
        if (value.empty()) continue;
        return IsFullyQualifiedPath(value) ? std::wstring() : value;
    }
    return {};
}

}  // namespace

Status Win32FileSystem::GetTempPath(std::string& path) {
    path.clear();
    // Windows resolves a relative TMP or TEMP against the current folder, so the folder it
    // names is wherever the program happens to stand. Such a value is handed back as written,
    // so that the cleaners see it is no place of its own.
    if (const std::wstring relative = RelativeTempVariable(); !relative.empty()) {
        path = ToUtf8(relative);
        if (path.back() != '\\') path += '\\';
        return platform::kOk;
    }
    // The answer may change between the two calls (another thread setting TMP), so the
    // buffer grows until the path fits.
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return LastError();
        if (length < buffer.size()) {
            path = ToUtf8(std::wstring_view(buffer.data(), length));
            return platform::kOk;
        }
        buffer.assign(length + 1, L'\0');
    }
}

namespace {

// What a path really opens, for its identity or its final path. Backup semantics open folders
// too; without FILE_FLAG_OPEN_REPARSE_POINT the handle is to what a link leads to. Asking only
// for attributes works on files held open, and a drive without its medium fails quietly
// instead of asking the user to insert one.
ScopedFile OpenToQuery(std::string_view path) {
    const UINT error_mode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    ScopedFile file(::CreateFileW(ToWidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const DWORD error = ::GetLastError();
    ::SetErrorMode(error_mode);
    ::SetLastError(error);
    return file;
}

}  // namespace

Status Win32FileSystem::GetIdentity(std::string_view path, platform::FileIdentity& identity) {
    const ScopedFile file = OpenToQuery(path);
    if (!file) return LastError();
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.get(), &information)) return LastError();
    identity.volume = information.dwVolumeSerialNumber;
    identity.index =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return platform::kOk;
}

Status Win32FileSystem::ListDriveRoots(std::vector<std::string>& roots) {
    roots.clear();
    // "C:\", "D:\", ... each ended by a NUL, the list by another; drives may come and go
    // between the size probe and the read, so the buffer grows until it holds the answer.
    std::wstring buffer(4 * 26 + 1, L'\0');
    for (;;) {
        const DWORD length =
            ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return LastError();
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.assign(length + 1, L'\0');
    }
    for (std::size_t start = 0; start < buffer.size();) {
        const std::size_t end = buffer.find(L'\0', start);
        const std::size_t stop = end == std::wstring::npos ? buffer.size() : end;
        const std::wstring root = buffer.substr(start, stop - start);
        // Only the machine's own disks: asking a floppy, a card reader or a disc drive for
        // its root may spin it up or wait for a medium, and a lost network drive for a server.
        if (!root.empty()) {
            const UINT type = ::GetDriveTypeW(root.c_str());
            if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) roots.push_back(ToUtf8(root));
        }
        start = stop + 1;
    }
    return platform::kOk;
}

namespace {

// GetFinalPathNameByHandleW is Vista's: XP's kernel32 lacks it, so it is looked up.
using GetFinalPathNameByHandleFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

GetFinalPathNameByHandleFn GetFinalPathNameByHandleIfThere() {
    static const auto found =
        reinterpret_cast<GetFinalPathNameByHandleFn>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    return found;
}

// "\\?\C:\x" is "C:\x" and "\\?\UNC\server\share" is "\\server\share".
std::wstring WithoutLongPathPrefix(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

}  // namespace

Status Win32FileSystem::GetFinalPath(std::string_view path, std::string& final_path) {
    const GetFinalPathNameByHandleFn get_final_path = GetFinalPathNameByHandleIfThere();
    if (get_final_path == nullptr) return platform::kErrorCallNotImplemented;
    const ScopedFile file = OpenToQuery(path);
    if (!file) return LastError();
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        // FILE_NAME_NORMALIZED | VOLUME_NAME_DOS: the drive-letter form.
        const DWORD length =
            get_final_path(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
        if (length == 0) return LastError();
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.assign(length + 1, L'\0');
    }
    final_path = ToUtf8(WithoutLongPathPrefix(std::move(buffer)));
    return platform::kOk;
}

}  // namespace qm::win32
