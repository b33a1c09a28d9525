#pragma once
// The web as a test scripts it: a standing answer per address, answers queued for the next
// requests, a switch that takes the machine offline, and a record of every request.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/http.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_file_system.h"

namespace qm::sim {

class SimHttp final : public platform::Http {
  public:
    explicit SimHttp(SimFileSystem& files) : files_(files) {}

    void Serve(const std::string& url, HttpAnswer answer) { standing_[url] = std::move(answer); }
    void ServeNext(const std::string& url, HttpAnswer answer) {
        queued_[url].push_back(std::move(answer));
    }
    void SetOnline(bool online) { online_ = online; }
    const std::vector<HttpCall>& calls() const { return calls_; }

    platform::Status Get(const platform::HttpRequest& request,
                         platform::HttpResponse& response) override;

  private:
    HttpAnswer Next(const std::string& url);

    SimFileSystem& files_;
    bool online_ = true;
    std::map<std::string, HttpAnswer> standing_;
    std::map<std::string, std::deque<HttpAnswer>> queued_;
    std::vector<HttpCall> calls_;
};

}  // namespace qm::sim
