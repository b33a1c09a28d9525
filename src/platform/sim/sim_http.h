#pragma once
// The web as a test scripts it: a standing answer per address, answers queued for the next
// requests, a switch that takes the machine offline, and a record of every request. An answer
// may take virtual time; Get then pumps the machine's message loop until the transfer is over
// (or its limit has passed), so the program's timers and the scripted user act meanwhile.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/http.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_message_loop.h"

namespace qm::sim {

class SimHttp final : public platform::Http {
  public:
    SimHttp(SimFileSystem& files, SimMessageLoop& loop) : files_(files), loop_(loop) {}

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
    SimMessageLoop& loop_;
    bool online_ = true;
    std::map<std::string, HttpAnswer> standing_;
    std::map<std::string, std::deque<HttpAnswer>> queued_;
    std::vector<HttpCall> calls_;
};

}  // namespace qm::sim
