#include "database/platform_vfs.h"

#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace qm::database {

namespace {

using platform::OpenMode;
using platform::Status;

constexpr Status kErrorDiskFull = 112;
constexpr Status kErrorHandleDiskFull = 39;

// One open file as SQLite sees it: its sqlite3_file header first.
struct VfsFile {
    sqlite3_file base;
    platform::OpenFile* file;  // owned; deleted in Close
    platform::FileSystem* files;
    char* delete_on_close;  // the path, when SQLite asked for that; owned
};

PlatformVfs& Owner(sqlite3_vfs* vfs) {
    return *static_cast<PlatformVfs*>(vfs->pAppData);
}
VfsFile& Of(sqlite3_file* file) {
    return *reinterpret_cast<VfsFile*>(file);
}

int Close(sqlite3_file* handle) {
    VfsFile& file = Of(handle);
    delete file.file;
    file.file = nullptr;
    if (file.delete_on_close != nullptr) {
        file.files->DeleteFile(file.delete_on_close);
        delete[] file.delete_on_close;
        file.delete_on_close = nullptr;
    }
    return SQLITE_OK;
}

int Read(sqlite3_file* handle, void* buffer, int amount, sqlite3_int64 offset) {
    std::size_t read = 0;
    auto* bytes = static_cast<char*>(buffer);
    const std::size_t size = static_cast<std::size_t>(amount);
    if (Of(handle).file->Read(static_cast<std::uint64_t>(offset), {bytes, size}, read) !=
        platform::kOk) {
        return SQLITE_IOERR_READ;
    }
    if (read == size) return SQLITE_OK;
    // SQLite relies on the rest being zeros after a short read.
    std::memset(bytes + read, 0, size - read);
    return SQLITE_IOERR_SHORT_READ;
}

int Write(sqlite3_file* handle, const void* buffer, int amount, sqlite3_int64 offset) {
    const Status status = Of(handle).file->Write(
        static_cast<std::uint64_t>(offset),
        {static_cast<const char*>(buffer), static_cast<std::size_t>(amount)});
    if (status == platform::kOk) return SQLITE_OK;
    return status == kErrorDiskFull || status == kErrorHandleDiskFull ? SQLITE_FULL
                                                                      : SQLITE_IOERR_WRITE;
}

int Truncate(sqlite3_file* handle, sqlite3_int64 size) {
    return Of(handle).file->Truncate(static_cast<std::uint64_t>(size)) == platform::kOk
               ? SQLITE_OK
               : SQLITE_IOERR_TRUNCATE;
}

int Sync(sqlite3_file* handle, int) {
    return Of(handle).file->Flush() == platform::kOk ? SQLITE_OK : SQLITE_IOERR_FSYNC;
}

int FileSize(sqlite3_file* handle, sqlite3_int64* size) {
    std::uint64_t found = 0;
    if (Of(handle).file->GetSize(found) != platform::kOk) return SQLITE_IOERR_FSTAT;
    *size = static_cast<sqlite3_int64>(found);
    return SQLITE_OK;
}

// Every file is held alone by the one connection that opened it: no other process can reach
// it, so every lock SQLite asks for is already held.
int Lock(sqlite3_file*, int) {
    return SQLITE_OK;
}
int Unlock(sqlite3_file*, int) {
    return SQLITE_OK;
}
int CheckReservedLock(sqlite3_file*, int* reserved) {
    *reserved = 0;
    return SQLITE_OK;
}
int FileControl(sqlite3_file*, int, void*) {
    return SQLITE_NOTFOUND;
}
int SectorSize(sqlite3_file*) {
    return 4096;
}
int DeviceCharacteristics(sqlite3_file*) {
    return 0;
}

const sqlite3_io_methods kMethods = {1,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSize,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr};

int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* handle, int flags, int* out_flags) {
    VfsFile& file = Of(handle);
    file.base.pMethods = nullptr;  // until opened: SQLite then calls no method of it
    file.file = nullptr;
    file.delete_on_close = nullptr;
    PlatformVfs& owner = Owner(vfs);
    file.files = &owner.files();
    // Temporary files would be nameless; the build keeps all of them in memory instead.
    if (name == nullptr) return SQLITE_CANTOPEN;
    const bool create = (flags & SQLITE_OPEN_CREATE) != 0;
    const bool writing = (flags & SQLITE_OPEN_READWRITE) != 0;
    if (create && (flags & SQLITE_OPEN_EXCLUSIVE) != 0) {
        std::uint32_t attributes = 0;
        if (owner.files().GetAttributes(name, attributes) == platform::kOk) return SQLITE_CANTOPEN;
    }
    const OpenMode mode =
        create ? OpenMode::OpenOrCreate : (writing ? OpenMode::ReadWrite : OpenMode::Read);
    std::unique_ptr<platform::OpenFile> opened;
    Status status = owner.files().OpenAlone(name, mode, opened);
    int granted = flags;
    // A database that may not be written is still read, as SQLite's own layers do.
    if (status == platform::kErrorAccessDenied && writing && !create) {
        status = owner.files().OpenAlone(name, OpenMode::Read, opened);
        granted = (flags & ~SQLITE_OPEN_READWRITE) | SQLITE_OPEN_READONLY;
    }
    if (status != platform::kOk) {
        owner.set_last_open_failure(status);
        return SQLITE_CANTOPEN;
    }
    if ((flags & SQLITE_OPEN_DELETEONCLOSE) != 0) {
        const std::size_t length = std::strlen(name);
        file.delete_on_close = new char[length + 1];
        std::memcpy(file.delete_on_close, name, length + 1);
    }
    file.file = opened.release();
    file.base.pMethods = &kMethods;
    if (out_flags != nullptr) *out_flags = granted;
    return SQLITE_OK;
}

int Delete(sqlite3_vfs* vfs, const char* name, int) {
    const Status status = Owner(vfs).files().DeleteFile(name);
    if (status == platform::kOk) return SQLITE_OK;
    return status == platform::kErrorFileNotFound || status == platform::kErrorPathNotFound
               ? SQLITE_IOERR_DELETE_NOENT
               : SQLITE_IOERR_DELETE;
}

// As SQLite's own layers answer: an empty file does not exist (a journal emptied by a commit
// is no hot journal).
int Access(sqlite3_vfs* vfs, const char* name, int flags, int* result) {
    *result = 0;
    std::vector<platform::DirEntry> entries;
    if (Owner(vfs).files().List(name, entries) != platform::kOk || entries.size() != 1) {
        return SQLITE_OK;
    }
    const platform::DirEntry& entry = entries.front();
    const bool folder = (entry.attributes & platform::attr::kDirectory) != 0;
    if (flags == SQLITE_ACCESS_EXISTS) {
        *result = folder || entry.size > 0;
    } else {
        *result =
            (entry.attributes & platform::attr::kReadOnly) == 0 || flags == SQLITE_ACCESS_READ;
    }
    return SQLITE_OK;
}

// Paths come in whole, in Windows form, and stay as they are.
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    const std::size_t length = std::strlen(name);
    if (length + 1 > static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
    std::memcpy(out, name, length + 1);
    return SQLITE_OK;
}

int Randomness(sqlite3_vfs*, int size, char* out) {
    std::random_device source;
    for (int i = 0; i < size; ++i) out[i] = static_cast<char>(source());
    return size;
}

// No one else can hold our files, so there is never anything to wait for.
int Sleep(sqlite3_vfs*, int microseconds) {
    return microseconds;
}

int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) {
    // Julian day number in milliseconds, as SQLite counts.
    constexpr sqlite3_int64 kUnixEpoch = 24405875 * static_cast<sqlite3_int64>(8640000);
    const auto since_epoch = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    *now = kUnixEpoch + since_epoch.count();
    return SQLITE_OK;
}

int CurrentTime(sqlite3_vfs* vfs, double* now) {
    sqlite3_int64 milliseconds = 0;
    CurrentTimeInt64(vfs, &milliseconds);
    *now = static_cast<double>(milliseconds) / 86400000.0;
    return SQLITE_OK;
}

int GetLastError(sqlite3_vfs*, int, char*) {
    return 0;
}

}  // namespace

platform::OpenFile* PlatformVfs::FileOf(sqlite3_file* file) {
    return file != nullptr && file->pMethods == &kMethods ? Of(file).file : nullptr;
}

PlatformVfs::PlatformVfs(platform::FileSystem& files)
    : files_(files), name_("quillmoss-" + std::to_string(reinterpret_cast<std::uintptr_t>(this))) {
    sqlite3_initialize();
    vfs_ = new sqlite3_vfs{};
    vfs_->iVersion = 2;
    vfs_->szOsFile = sizeof(VfsFile);
    vfs_->mxPathname = 32767 * 3;  // the longest Windows path, in UTF-8
    vfs_->zName = name_.c_str();
    vfs_->pAppData = this;
    vfs_->xOpen = Open;
    vfs_->xDelete = Delete;
    vfs_->xAccess = Access;
    vfs_->xFullPathname = FullPathname;
    vfs_->xRandomness = Randomness;
    vfs_->xSleep = Sleep;
    vfs_->xCurrentTime = CurrentTime;
    vfs_->xGetLastError = GetLastError;
    vfs_->xCurrentTimeInt64 = CurrentTimeInt64;
    sqlite3_vfs_register(vfs_, 0);
}

PlatformVfs::~PlatformVfs() {
    sqlite3_vfs_unregister(vfs_);
    delete vfs_;
}

}  // namespace qm::database

// SQLite is built without a file layer of its own (SQLITE_OS_OTHER): there is nothing to
// set up or take down, and no default VFS, so nothing opens a file but through PlatformVfs.
extern "C" int sqlite3_os_init(void) {
    return SQLITE_OK;
}
extern "C" int sqlite3_os_end(void) {
    return SQLITE_OK;
}
