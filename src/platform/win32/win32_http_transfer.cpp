#include "platform/win32/win32_http_transfer.h"

// After windows.h, which it needs.
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"

namespace qm::win32 {

namespace {

platform::Status LastError() {
    const DWORD error = ::GetLastError();
    return error != 0 ? static_cast<platform::Status>(error)
                      : platform::kErrorInternetCannotConnect;
}

// WinINet keeps one timeout per direction; a request that sets them on every handle it owns
// is bounded whichever handle a given WinINet consults.
void SetTimeouts(HINTERNET handle, DWORD timeout_ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(handle, option, &timeout_ms, sizeof timeout_ms);
}

// A header as text, or empty when the answer has none.
std::wstring QueryText(HINTERNET request, DWORD what) {
    DWORD size = 0;
    ::HttpQueryInfoW(request, what, nullptr, &size, nullptr);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    if (!::HttpQueryInfoW(request, what, buffer.data(), &size, nullptr)) return {};
    return std::wstring(buffer.data(), size / sizeof(wchar_t));
}

// Where the body goes as it arrives: the response or a file.
class BodySink {
  public:
    BodySink(platform::HttpBody body, const std::string& file, platform::HttpResponse& response)
        : body_(body), file_name_(file), response_(response) {}
    // A file still open here was left by a failed transfer: half a file is no file.
    ~BodySink() {
        if (!file_) return;
        file_.reset();
        ::DeleteFileW(path_.c_str());
    }

    platform::Status Open() {
        if (body_ != platform::HttpBody::ToFile) return platform::kOk;
        path_ = ToWidePath(file_name_);
        // Open to deletion: a caller that gave up on this transfer removes the file's name
        // while the worker may still hold it.
        file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file_ ? platform::kOk : static_cast<platform::Status>(::GetLastError());
    }
    platform::Status Write(const char* data, DWORD size) {
        response_.body_bytes += size;
        if (!file_) {
            response_.body.append(data, size);
            return platform::kOk;
        }
        DWORD written = 0;
        if (!::WriteFile(file_.get(), data, size, &written, nullptr) || written != size)
            return static_cast<platform::Status>(::GetLastError());
        return platform::kOk;
    }
    // The file counts as written only once it is closed without complaint.
    platform::Status Finish() {
        if (!file_) return platform::kOk;
        const bool closed = ::CloseHandle(file_.release()) != FALSE;
        if (closed) return platform::kOk;
        const auto status = static_cast<platform::Status>(::GetLastError());
        ::DeleteFileW(path_.c_str());
        return status;
    }

  private:
    platform::HttpBody body_;
    const std::string& file_name_;
    platform::HttpResponse& response_;
    std::wstring path_;
    ScopedFile file_;
};

}  // namespace

HttpTransfer::HttpTransfer(const platform::HttpRequest& request)
    : url_(request.url),
      file_(request.file),
      body_(request.body),
      timeout_ms_(request.timeout_ms),
      limit_ms_(request.limit_ms),
      done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    ::InitializeCriticalSection(&lock_);
}

HttpTransfer::~HttpTransfer() {
    CloseAll();
    ::DeleteCriticalSection(&lock_);
    if (done_) ::CloseHandle(done_);
}

void HttpTransfer::Run() {
    start_ = ::GetTickCount();
    status_ = Transfer();
    CloseAll();
    // A failure that the abort caused is the abort's, whatever WinINet made of it.
    if (status_ != platform::kOk && aborted()) status_ = abort_reason_;
    ::SetEvent(done_);
}

void HttpTransfer::Abort(platform::Status reason) {
    ::EnterCriticalSection(&lock_);
    if (abort_reason_ == platform::kOk) abort_reason_ = reason;
    ::LeaveCriticalSection(&lock_);
    CloseAll();
}

bool HttpTransfer::BoundByLimit(void* handle) const {
    const DWORD spent = ::GetTickCount() - start_;
    // A timeout of zero would be no timeout at all to WinINet.
    if (spent >= limit_ms_) return false;
    SetTimeouts(handle, std::min<DWORD>(timeout_ms_, limit_ms_ - spent));
    return true;
}

void HttpTransfer::DropFile() {
    if (body_ == platform::HttpBody::ToFile) ::DeleteFileW(ToWidePath(file_).c_str());
}

bool HttpTransfer::aborted() {
    ::EnterCriticalSection(&lock_);
    const bool result = abort_reason_ != platform::kOk;
    ::LeaveCriticalSection(&lock_);
    return result;
}

bool HttpTransfer::Keep(Slot slot, void* handle) {
    ::EnterCriticalSection(&lock_);
    const bool kept = abort_reason_ == platform::kOk;
    if (kept)
        handles_[slot] = handle;
    else
        ::InternetCloseHandle(handle);
    ::LeaveCriticalSection(&lock_);
    return kept;
}

void HttpTransfer::CloseAll() {
    ::EnterCriticalSection(&lock_);
    // The request first: closing it is what WinINet documents as ending a blocked call.
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        if (handles_[slot]) ::InternetCloseHandle(handles_[slot]);
        handles_[slot] = nullptr;
    }
    ::LeaveCriticalSection(&lock_);
}

platform::Status HttpTransfer::ReadBody(void* request) {
    BodySink sink(body_, file_, response_);
    const std::wstring length_text = QueryText(request, HTTP_QUERY_CONTENT_LENGTH);
    const bool announced = !length_text.empty();
    const unsigned long long length =
        announced ? std::wcstoull(length_text.c_str(), nullptr, 10) : 0;
    if (const platform::Status opened = sink.Open(); opened != platform::kOk) return opened;
    if (aborted()) return platform::kErrorInternetTimeout;  // a file made after DropFile
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        // Closing a handle does not end a blocked call on every WinINet (Wine's waits on),
        // so each call is bounded by the limit itself. A read asks only for what has come:
        // a full buffer's read would wait on, past any limit, for a server that trickles.
        if (!BoundByLimit(request)) return platform::kErrorInternetTimeout;
        DWORD available = 0;
        if (!::InternetQueryDataAvailable(request, &available, 0, 0)) return LastError();
        if (aborted()) return platform::kErrorInternetTimeout;
        const DWORD wanted =
            std::min<DWORD>(std::max<DWORD>(available, 1), static_cast<DWORD>(buffer.size()));
        DWORD read = 0;
        if (!::InternetReadFile(request, buffer.data(), wanted, &read)) return LastError();
        // A read that an abort cut off may look like the end of the answer.
        if (aborted()) return platform::kErrorInternetTimeout;
        if (read == 0) break;
        if (const platform::Status wrote = sink.Write(buffer.data(), read); wrote != platform::kOk)
            return wrote;
    }
    if (announced && response_.body_bytes < length)
        return platform::kErrorInternetConnectionAborted;
    return sink.Finish();
}

platform::Status HttpTransfer::Transfer() {
    const std::wstring url = ToWide(url_);
    // Lengths without buffers: the parts come back as pointers into the address itself, so
    // no host or path is too long to crack.
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts) || !parts.lpszHostName)
        return platform::kErrorInvalidParameter;
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return platform::kErrorInvalidParameter;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object;
    if (parts.lpszUrlPath) object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    // The query goes with the path, exactly as given.
    if (parts.lpszExtraInfo) object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty()) object = L"/";

    HINTERNET session =
        ::InternetOpenW(L"Quillmoss", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return LastError();
    if (!Keep(kSession, session)) return platform::kErrorInternetTimeout;
    if (!BoundByLimit(session)) return platform::kErrorInternetTimeout;
    HINTERNET connection = ::InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection) return LastError();
    if (!Keep(kConnection, connection)) return platform::kErrorInternetTimeout;
    if (!BoundByLimit(connection)) return platform::kErrorInternetTimeout;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    HINTERNET http =
        ::HttpOpenRequestW(connection, L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0);
    if (!http) return LastError();
    if (!Keep(kRequest, http)) return platform::kErrorInternetTimeout;
    if (!BoundByLimit(http)) return platform::kErrorInternetTimeout;
    if (!::HttpSendRequestW(http, nullptr, 0, nullptr, 0)) return LastError();
    if (aborted()) return platform::kErrorInternetTimeout;

    DWORD status = 0;
    DWORD size = sizeof status;
    if (::HttpQueryInfoW(http, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                         nullptr))
        response_.status_code = static_cast<int>(status);
    response_.headers = ToUtf8(QueryText(http, HTTP_QUERY_RAW_HEADERS_CRLF));
    if (body_ == platform::HttpBody::Skip) return platform::kOk;
    return ReadBody(http);
}

}  // namespace qm::win32
