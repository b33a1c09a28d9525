// Compound files through the system's structured storage: StgOpenStorage and its streams.
#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <objbase.h>

#include "platform/win32/com_ref.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace qm::win32 {
namespace {

// A jump list or a document holds kilobytes; a stream claiming more than this is not read.
constexpr ULONGLONG kLargestStream = 64ull << 20;

// The storage calls answer in their own facility; the core compares Windows error numbers.
platform::Status FromStorageResult(HRESULT result) {
    switch (result) {
        case S_OK:
            return platform::kOk;
        case STG_E_FILENOTFOUND:
        case STG_E_PATHNOTFOUND:
            return platform::kErrorFileNotFound;
        case STG_E_SHAREVIOLATION:
        case STG_E_LOCKVIOLATION:
            return platform::kErrorSharingViolation;
        case STG_E_ACCESSDENIED:
            return platform::kErrorAccessDenied;
        default:
            break;
    }
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
    // Not a compound file, a damaged or cut-short one, one of a format the system does not
    // know: whatever else the storage calls refuse says the file cannot be read as one.
    return platform::kErrorInvalidData;
}

}  // namespace

platform::Status Win32FileSystem::ReadCompoundStream(std::string_view path, std::string_view stream,
                                                     std::string& contents) {
    contents.clear();
    ComRef<IStorage> storage;
    // Read-only, and denying writers while it reads: no program can change it half-way.
    HRESULT result =
        ::StgOpenStorage(ToWide(path).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr,
                         0, storage.receive());
    if (FAILED(result)) return FromStorageResult(result);
    ComRef<IStream> opened;
    // A stream inside a storage opens only for its opener alone.
    result = storage->OpenStream(ToWide(stream).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                 0, opened.receive());
    if (FAILED(result)) return FromStorageResult(result);
    STATSTG stat{};
    result = opened->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(result)) return FromStorageResult(result);
    if (stat.cbSize.QuadPart > kLargestStream) return platform::kErrorInvalidData;
    contents.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
    std::size_t filled = 0;
    while (filled < contents.size()) {
        ULONG read = 0;
        result = opened->Read(contents.data() + filled,
                              static_cast<ULONG>(contents.size() - filled), &read);
        if (FAILED(result)) return FromStorageResult(result);
        if (read == 0) break;  // shorter than it said: what came is what there is
        filled += read;
    }
    contents.resize(filled);
    return platform::kOk;
}

}  // namespace qm::win32
