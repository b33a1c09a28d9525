#include "errors/error_reporter.h"

#include <exception>
#include <utility>

namespace qm::errors {

ErrorReporter::ErrorReporter(OnlineTest online, Sender send)
    : online_(std::move(online)), send_(std::move(send)) {}

void ErrorReporter::SetChannel(OnlineTest online, Sender send) {
    online_ = std::move(online);
    send_ = std::move(send);
    reach_ = Reach::Unknown;
}

std::string ErrorReporter::ReportAddress(std::string_view site, std::string_view label,
                                         std::int32_t number, std::string_view description) {
    // The label's commas, quotes and blanks and the description's punctuation must reach the
    // server as they are, so everything but the unreserved characters is encoded.
    const std::string query =
        std::string(label) + std::to_string(number) + std::string(description);
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string address(site);
    address.append("/error-reporting/error-msg.php?");
    for (const char c : query) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.' || c == '~') {
            address.push_back(c);
        } else {
            address.push_back('%');
            address.push_back(kHex[byte >> 4]);
            address.push_back(kHex[byte & 0xF]);
        }
    }
    return address;
}

void ErrorReporter::Report(std::string_view label, const RuntimeError& error) {
    // Taken first, before the online test and the send pump messages: a procedure failing
    // meanwhile reports (and clears) on its own.
    ++reports_;
    number_ = error.number();
    description_ = error.description();
    const std::int32_t number = number_;
    // Only the runtime's own wording goes out: a description may name the user's files.
    const std::string_view text = GenericText(number);
    auto pair = std::make_pair(std::string(label), number);
    if (number != 0 && online_ && send_ && !sent_.contains(pair)) {
        // A reporter must never become a new source of errors for the procedure that called
        // it: whatever the channel throws is dropped like a failed request, and the site
        // counts as out of reach from then on.
        try {
            if (reach_ == Reach::Unknown) {
                reach_ = Reach::Asking;
                reach_ = online_() ? Reach::Online : Reach::Offline;
            }
            if (reach_ == Reach::Online) {
                send_(ReportAddress(site_, label, number, text));
                sent_.insert(std::move(pair));
            }
        } catch (const std::exception&) {
            reach_ = Reach::Offline;
        }
    }
    number_ = 0;
    description_.clear();
}

}  // namespace qm::errors
