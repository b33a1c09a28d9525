#pragma once
// The one error channel of the program. A reporting procedure hands each run-time error to
// Report() with its label and goes on with its next step; nothing is shown or logged locally.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "errors/makers_site.h"
#include "errors/runtime_error.h"

namespace qm::errors {

class ErrorReporter {
  public:
    using OnlineTest = std::function<bool()>;
    using Sender = std::function<void(const std::string& address)>;

    // Without an online test the machine counts as offline and nothing is sent.
    ErrorReporter() = default;
    ErrorReporter(OnlineTest online, Sender send);

    // Sends the report when online, unless this label went with this number before in this
    // run; the error state is clear afterwards either way. Whether the site can be reached is
    // asked once a run, with the first report, and the answer kept, a "no" as much as a
    // "yes": a clean run meeting many locked files must not wait on the network for each.
    // A send that fails (the sender throws) makes the site unreachable for the rest of the
    // run too. Reports made while the online test itself is under way (its wait handles the
    // window's messages) are not sent: the answer is not in yet.
    void Report(std::string_view label, const RuntimeError& error);

    // The address of one report: site + "/error-reporting/error-msg.php?" + the label, the
    // number and the description run together and percent-encoded as one query.
    static std::string ReportAddress(std::string_view site, std::string_view label,
                                     std::int32_t number, std::string_view description);

    // A new channel is asked anew whether the site can be reached.
    void SetChannel(OnlineTest online, Sender send);
    void SetSite(std::string_view site) { site_ = site; }
    const std::string& site() const { return site_; }

    // Number and description of the error being reported; 0 and empty outside Report().
    std::int32_t current_number() const { return number_; }
    const std::string& current_description() const { return description_; }
    // Errors handed to Report() so far, sent or not: the unattended clean's exit code.
    int reports() const { return reports_; }

  private:
    enum class Reach { Unknown, Asking, Online, Offline };

    OnlineTest online_;
    Reach reach_ = Reach::Unknown;
    Sender send_;
    std::string site_{kMakersSite};
    std::int32_t number_ = 0;
    std::string description_;
    int reports_ = 0;
    // A procedure failing in a loop would otherwise send the same report once per turn.
    std::set<std::pair<std::string, std::int32_t>> sent_;
};

// Reporting style: runs one step; a RuntimeError it raises is reported with the label and
// the caller goes on with its next step.
template <class Step>
void ReportingStep(ErrorReporter& reporter, std::string_view label, Step&& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        reporter.Report(label, e);
    }
}

// Silent style: a RuntimeError raised by the step is ignored.
template <class Step>
void SilentStep(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

}  // namespace qm::errors
