#pragma once
// HTTP(S) transfers from the maker's web site: one GET at a time, synchronous, never from or
// into the Internet cache, and bounded by a timeout so a server that stops answering cannot
// hold the program forever.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace qm::platform {

// WinINet's error numbers; both backends fail with these.
inline constexpr Status kErrorInternetTimeout = 12002;
inline constexpr Status kErrorInternetNameNotResolved = 12007;
inline constexpr Status kErrorInternetConnectionAborted = 12030;
inline constexpr Status kErrorInternetCannotConnect = 12029;
inline constexpr Status kErrorInternetInvalidCa = 12045;

enum class HttpBody {
    Skip,    // the answer's headers are enough; the body is not read
    Keep,    // the body is kept in the response
    ToFile,  // the body goes into a file, created or replaced, and closed before Get returns
};

struct HttpRequest {
    std::string_view url;
    HttpBody body = HttpBody::Keep;
    std::string_view file;  // ToFile only
    // The longest wait for the connection, for sending, and for each piece of the answer.
    std::uint32_t timeout_ms = 30'000;
};

struct HttpResponse {
    int status_code = 0;  // from the status line; 0 until an answer came
    // The header block as received: the status line first, CR LF line ends, names in the
    // server's own letter case.
    std::string headers;
    std::string body;              // Keep only
    std::uint64_t body_bytes = 0;  // received (Keep) or written (ToFile)
};

class Http {
  public:
    virtual ~Http() = default;
    // kOk once an answer (of any status) came and, unless skipped, its whole body: as long as
    // its length header announced, or up to the end of the connection when there is none. A
    // body that ends short fails with kErrorInternetConnectionAborted, one that stops coming
    // with kErrorInternetTimeout; a server certificate that does not lead to a trusted root
    // is refused. What arrived before a failure stays in `response`; a file is never left
    // behind half written.
    virtual Status Get(const HttpRequest& request, HttpResponse& response) = 0;
};

}  // namespace qm::platform
