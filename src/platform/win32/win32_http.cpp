#include "platform/win32/win32_http.h"

#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <wininet.h>

#include <cstdlib>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"

namespace qm::win32 {

namespace {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::InternetCloseHandle(h); }
};
using ScopedInternet = ScopedHandle<InternetHandleTraits>;

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
    BodySink(const platform::HttpRequest& request, platform::HttpResponse& response)
        : request_(request), response_(response) {}
    // A file still open here was left by a failed transfer: half a file is no file.
    ~BodySink() {
        if (!file_) return;
        file_.reset();
        ::DeleteFileW(path_.c_str());
    }

    platform::Status Open() {
        if (request_.body != platform::HttpBody::ToFile) return platform::kOk;
        path_ = ToWidePath(request_.file);
        file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
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
    const platform::HttpRequest& request_;
    platform::HttpResponse& response_;
    std::wstring path_;
    ScopedFile file_;
};

platform::Status ReadBody(HINTERNET request, platform::HttpResponse& response, BodySink& sink) {
    const std::wstring length_text = QueryText(request, HTTP_QUERY_CONTENT_LENGTH);
    const bool announced = !length_text.empty();
    const unsigned long long length =
        announced ? std::wcstoull(length_text.c_str(), nullptr, 10) : 0;
    if (const platform::Status opened = sink.Open(); opened != platform::kOk) return opened;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read))
            return LastError();
        if (read == 0) break;
        if (const platform::Status wrote = sink.Write(buffer.data(), read); wrote != platform::kOk)
            return wrote;
    }
    if (announced && response.body_bytes < length) return platform::kErrorInternetConnectionAborted;
    return sink.Finish();
}

}  // namespace

platform::Status Win32Http::Get(const platform::HttpRequest& request,
                                platform::HttpResponse& response) {
    response = {};
    const std::wstring url = ToWide(request.url);
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

    ScopedInternet session(
        ::InternetOpenW(L"Quillmoss", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return LastError();
    SetTimeouts(session.get(), request.timeout_ms);
    ScopedInternet connection(::InternetConnectW(session.get(), host.c_str(), parts.nPort, nullptr,
                                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return LastError();
    SetTimeouts(connection.get(), request.timeout_ms);
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    ScopedInternet http(::HttpOpenRequestW(connection.get(), L"GET", object.c_str(), nullptr,
                                           nullptr, nullptr, flags, 0));
    if (!http) return LastError();
    SetTimeouts(http.get(), request.timeout_ms);
    if (!::HttpSendRequestW(http.get(), nullptr, 0, nullptr, 0)) return LastError();

    DWORD status = 0;
    DWORD size = sizeof status;
    if (::HttpQueryInfoW(http.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                         &size, nullptr))
        response.status_code = static_cast<int>(status);
    response.headers = ToUtf8(QueryText(http.get(), HTTP_QUERY_RAW_HEADERS_CRLF));
    if (request.body == platform::HttpBody::Skip) return platform::kOk;
    BodySink sink(request, response);
    return ReadBody(http.get(), response, sink);
}

}  // namespace qm::win32
