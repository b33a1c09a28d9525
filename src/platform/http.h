#pragma once
// HTTP(S) transfers from the maker's web site: plain GETs, never from or into the Internet
// cache, each bounded twice so a server that stops answering, or answers a byte at a time,
// cannot hold the program: per piece of the answer and for the whole transfer.
//
// Get returns when its transfer is done, but the window never waits on the network: the
// transfer runs elsewhere while the calling thread's message loop keeps running, exactly as
// in a pause of the clean run. Clicks, timer ticks and the tray are answered meanwhile, so
// their handlers may run (and make transfers of their own) inside a Get.
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

// The whole-transfer limit of a request that names none: ample for a small page or header.
inline constexpr std::uint32_t kDefaultTransferLimitMs = 60'000;

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
    // The longest the whole transfer may take, from the first connection to the last byte:
    // once it has passed, the transfer is abandoned and fails with kErrorInternetTimeout,
    // whatever is still arriving. Get then returns as soon as the transfer has let go: at
    // once where closing a connection ends a blocked read, else (Wine) when that read ends,
    // with the next piece or its timeout. Zero is no transfer at all (it fails at once).
    std::uint32_t limit_ms = kDefaultTransferLimitMs;
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
    // is refused. A transfer that outlasts its limit fails with kErrorInternetTimeout too.
    // What arrived before a failure stays in `response`; a file is never left behind half
    // written.
    virtual Status Get(const HttpRequest& request, HttpResponse& response) = 0;
};

}  // namespace qm::platform
