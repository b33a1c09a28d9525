#include "platform/sim/sim_http.h"

namespace qm::sim {

namespace {

std::string Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

HttpAnswer SimHttp::Next(const std::string& url) {
    auto queued = queued_.find(url);
    if (queued != queued_.end() && !queued->second.empty()) {
        HttpAnswer answer = std::move(queued->second.front());
        queued->second.pop_front();
        return answer;
    }
    auto standing = standing_.find(url);
    if (standing != standing_.end()) return standing->second;
    HttpAnswer missing;
    missing.status = 404;
    missing.body = "<html>Not Found</html>";
    return missing;
}

platform::Status SimHttp::Get(const platform::HttpRequest& request,
                              platform::HttpResponse& response) {
    using namespace platform;
    response = {};
    const std::string url(request.url);
    calls_.push_back({url, request.body, std::string(request.file), request.timeout_ms});
    if (!online_) return kErrorInternetNameNotResolved;
    const HttpAnswer answer = Next(url);
    if (answer.failure != kOk) return answer.failure;

    response.status_code = answer.status;
    response.headers = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) +
                       "\r\nServer: sim\r\n";
    const std::uint64_t announced = answer.announced.value_or(answer.body.size());
    if (!answer.length_name.empty())
        response.headers += answer.length_name + ": " + std::to_string(announced) + "\r\n";
    for (const std::string& line : answer.extra_headers) response.headers += line + "\r\n";
    response.headers += "\r\n";
    if (request.body == HttpBody::Skip) return kOk;

    // The client reads no further than the length it was promised.
    std::string received = answer.body;
    if (!answer.length_name.empty() && received.size() > announced) received.resize(announced);
    response.body_bytes = received.size();
    Status status = kOk;
    if (answer.stall)
        status = kErrorInternetTimeout;
    else if (!answer.length_name.empty() && received.size() < announced)
        status = kErrorInternetConnectionAborted;
    if (request.body == HttpBody::Keep) {
        response.body = std::move(received);
    } else if (status == kOk) {
        status = files_.WriteFile(request.file, received);
        if (status != kOk) response.body_bytes = 0;
    } else {
        files_.DeleteFile(request.file);  // the part that came is not kept
    }
    return status;
}

}  // namespace qm::sim
