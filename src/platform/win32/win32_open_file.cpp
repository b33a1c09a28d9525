// A file opened alone through CreateFileW with no sharing, read and written at any offset
// with positioned ReadFile/WriteFile (an OVERLAPPED offset on a synchronous handle).
#include "platform/win32/windows_api.h"

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace qm::win32 {

using platform::Status;

namespace {

Status LastError() {
    return static_cast<Status>(::GetLastError());
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

constexpr DWORD kPiece = 1u << 20;

class Win32OpenFile final : public platform::OpenFile {
  public:
    explicit Win32OpenFile(ScopedFile file) : file_(std::move(file)) {}

    Status Read(std::uint64_t offset, std::span<char> buffer, std::size_t& read) override {
        read = 0;
        while (read < buffer.size()) {
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(buffer.size() - read, kPiece));
            OVERLAPPED at = At(offset + read);
            DWORD got = 0;
            if (!::ReadFile(file_.get(), buffer.data() + read, want, &got, &at)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) return platform::kOk;
                return LastError();
            }
            if (got == 0) break;
            read += got;
        }
        return platform::kOk;
    }

    Status Write(std::uint64_t offset, std::string_view data) override {
        while (!data.empty()) {
            const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size(), kPiece));
            OVERLAPPED at = At(offset);
            DWORD written = 0;
            if (!::WriteFile(file_.get(), data.data(), piece, &written, &at)) return LastError();
            if (written == 0) return ERROR_WRITE_FAULT;
            data.remove_prefix(written);
            offset += written;
        }
        return platform::kOk;
    }

    Status Truncate(std::uint64_t size) override {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(size);
        if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return LastError();
        return ::SetEndOfFile(file_.get()) ? platform::kOk : LastError();
    }

    Status Flush() override {
        return ::FlushFileBuffers(file_.get()) ? platform::kOk : LastError();
    }

    Status GetSize(std::uint64_t& size) override {
        LARGE_INTEGER found{};
        if (!::GetFileSizeEx(file_.get(), &found)) return LastError();
        size = static_cast<std::uint64_t>(found.QuadPart);
        return platform::kOk;
    }

  private:
    ScopedFile file_;
};

}  // namespace

Status Win32FileSystem::OpenAlone(std::string_view path, platform::OpenMode mode,
                                  std::unique_ptr<platform::OpenFile>& file) {
    file.reset();
    const std::wstring wide = ToWidePath(path);
    const bool writing = mode != platform::OpenMode::Read;
    // As for whole-file writes: the read-only flag is honoured even where Wine, running as
    // root, would not enforce it.
    const DWORD existing = ::GetFileAttributesW(wide.c_str());
    if (writing && existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
            FILE_ATTRIBUTE_READONLY)
        return ERROR_ACCESS_DENIED;
    const DWORD access = writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    const DWORD creation = mode == platform::OpenMode::OpenOrCreate ? OPEN_ALWAYS : OPEN_EXISTING;
    ScopedFile opened(::CreateFileW(wide.c_str(), access, 0, nullptr, creation,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
    if (!opened) return LastError();
    file = std::make_unique<Win32OpenFile>(std::move(opened));
    return platform::kOk;
}

}  // namespace qm::win32
