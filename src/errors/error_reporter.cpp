#include "errors/error_reporter.h"

#include <exception>
#include <utility>

namespace qm::errors {

ErrorReporter::ErrorReporter(OnlineTest online, Sender send)
    : online_(std::move(online)), send_(std::move(send)) {}

void ErrorReporter::SetChannel(OnlineTest online, Sender send) {
    online_ = std::move(online);
    send_ = std::move(send);
}

std::string ErrorReporter::ReportAddress(std::string_view site, std::string_view label,
                                         std::int32_t number, std::string_view description) {
    // Nothing is escaped: the server reads the query exactly as the label, the number and
    // the description run together.
    std::string address;
    address.reserve(site.size() + label.size() + description.size() + 48);
    address.append(site);
    address.append("/error-reporting/error-msg.php?");
    address.append(label);
    address.append(std::to_string(number));
    address.append(description);
    return address;
}

void ErrorReporter::Report(std::string_view label, const RuntimeError& error) {
    number_ = error.number();
    description_ = error.description();
    // The address is built from local copies: the online test and the send may pump
    // messages, and a procedure that fails meanwhile reports (and clears) on its own.
    const std::int32_t number = number_;
    const std::string description = description_;
    if (number != 0 && online_ && send_) {
        // A reporter must never become a new source of errors for the procedure that called
        // it: whatever the channel throws is dropped like a failed request.
        try {
            if (online_()) send_(ReportAddress(site_, label, number, description));
        } catch (const std::exception&) {
        }
    }
    number_ = 0;
    description_.clear();
}

}  // namespace qm::errors
