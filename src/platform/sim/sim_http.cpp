#include "platform/sim/sim_http.h"

#include <algorithm>

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

// How an answer plays out on the clock: when the transfer ends, how, and what had come by then.
struct Outcome {
    std::uint64_t at = 0;  // virtual milliseconds after the request
    platform::Status status = platform::kOk;
    bool headers = false;
    std::uint64_t bytes = 0;  // of the body
};

Outcome PlayOut(const HttpAnswer& answer, const platform::HttpRequest& request,
                std::uint64_t body_size, bool cut_short) {
    using namespace platform;
    const std::uint64_t wait = request.timeout_ms;
    Outcome outcome;
    if (answer.delay_ms > wait) {
        outcome = {wait, kErrorInternetTimeout, false, 0};
    } else if (answer.failure != kOk) {
        outcome = {answer.delay_ms, answer.failure, false, 0};
    } else if (request.body == HttpBody::Skip) {
        outcome = {answer.delay_ms, kOk, true, 0};
    } else if (answer.trickle_ms > wait && body_size > 0) {
        outcome = {answer.delay_ms + wait, kErrorInternetTimeout, true, 0};
    } else {
        const std::uint64_t body_end = answer.delay_ms + body_size * answer.trickle_ms;
        if (answer.stall)
            outcome = {body_end + wait, kErrorInternetTimeout, true, body_size};
        else
            outcome = {body_end, cut_short ? kErrorInternetConnectionAborted : kOk, true,
                       body_size};
    }
    // The whole limit cuts every other wait short, with what had come by then.
    const std::uint64_t limit = request.limit_ms;
    if (outcome.at > limit) {
        const bool headers = outcome.headers && answer.delay_ms <= limit;
        std::uint64_t bytes = 0;
        if (headers)
            bytes = answer.trickle_ms == 0
                        ? outcome.bytes
                        : std::min(outcome.bytes, (limit - answer.delay_ms) / answer.trickle_ms);
        outcome = {limit, kErrorInternetTimeout, headers, bytes};
    }
    return outcome;
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
    calls_.push_back(
        {url, request.body, std::string(request.file), request.timeout_ms, request.limit_ms});
    if (!online_) return kErrorInternetNameNotResolved;
    if (request.limit_ms == 0) return kErrorInternetTimeout;
    const HttpAnswer answer = Next(url);

    // The client reads no further than the length it was promised.
    const std::uint64_t announced = answer.announced.value_or(answer.body.size());
    std::string received = answer.body;
    if (!answer.length_name.empty() && received.size() > announced) received.resize(announced);
    const bool cut_short = !answer.length_name.empty() && received.size() < announced;
    const Outcome outcome = PlayOut(answer, request, received.size(), cut_short);
    // The window's loop runs while the transfer takes its time, as it does on Windows.
    const std::uint32_t start = loop_.now();
    while (loop_.now() - start < outcome.at) loop_.PumpPending();
    if (!outcome.headers) return outcome.status;

    response.status_code = answer.status;
    response.headers = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) +
                       "\r\nServer: sim\r\n";
    if (!answer.length_name.empty())
        response.headers += answer.length_name + ": " + std::to_string(announced) + "\r\n";
    for (const std::string& line : answer.extra_headers) response.headers += line + "\r\n";
    response.headers += "\r\n";
    if (request.body == HttpBody::Skip) return outcome.status;

    received.resize(outcome.bytes);
    response.body_bytes = received.size();
    Status status = outcome.status;
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
