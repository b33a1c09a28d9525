// Transfers against the test site: what the updater and the reporter rely on, on both machines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "backend.h"
#include "platform/http.h"
#include "update/updater.h"

namespace qm::contract {
namespace {

using platform::HttpBody;

class HttpContract : public ::testing::Test {
  protected:
    void SetUp() override {
        if (site.empty()) GTEST_SKIP() << "no test site (run through tests/site/with-site.sh)";
    }
    platform::Status Get(const std::string& url, HttpBody body, std::uint32_t timeout_ms = 20000,
                         const std::string& file = "") {
        return backend->http().Get({url, body, file, timeout_ms}, response);
    }

    std::unique_ptr<Backend> backend = MakeBackend();
    std::string site = backend->TestSite();
    platform::HttpResponse response;
};

TEST_F(HttpContract, AnswersCarryTheirStatusTheirHeadersAsSentAndTheWholeBody) {
    ASSERT_EQ(Get(site + "/qms.txt", HttpBody::Keep), platform::kOk);
    EXPECT_TRUE(response.headers.starts_with("HTTP/1.1 200")) << response.headers;
    EXPECT_EQ(response.body, "6\r\n");
    EXPECT_EQ(update::HeaderValue(response.headers, "CONTENT-LENGTH"), "3");
    // A name in another letter case comes as the server spelt it, and is still found.
    ASSERT_EQ(Get(site + "/lowerlength/qms.txt", HttpBody::Keep), platform::kOk);
    EXPECT_NE(response.headers.find("\r\ncontent-length: 3\r\n"), std::string::npos);
    EXPECT_EQ(update::HeaderValue(response.headers, "Content-Length"), "3");
    for (int status : {403, 404, 500}) {
        ASSERT_EQ(Get(site + "/" + std::to_string(status) + "/qms.txt", HttpBody::Skip),
                  platform::kOk);
        EXPECT_EQ(response.status_code, status);
    }

    const std::string file = backend->ScratchFolder() + "\\qms.exe";
    ASSERT_EQ(Get(site + "/qmsupdate.exe", HttpBody::ToFile, 20000, file), platform::kOk);
    std::string program;
    ASSERT_EQ(backend->files().ReadFile(file, program), platform::kOk);
    EXPECT_EQ(program.size(), 4096u);
    EXPECT_EQ(response.body_bytes, 4096u);

    // A report's encoded query reaches the site exactly as sent (the site echoes it).
    const std::string report = "/error-reporting/error-msg.php?modClean%2CWipeDir53File%20not";
    ASSERT_EQ(Get(site + report, HttpBody::Keep), platform::kOk);
    EXPECT_EQ(response.body, report);
}

TEST_F(HttpContract, AnAnswerThatEndsShortOrStopsComingFailsInTimeAndLeavesNoFile) {
    EXPECT_EQ(Get(site + "/short/qmsupdate.exe", HttpBody::Keep),
              platform::kErrorInternetConnectionAborted);
    // Stalled servers (the test site holds them two minutes) must not hold the program.
    EXPECT_NE(Get(site + "/stallhead/qms.txt", HttpBody::Skip, 1500), platform::kOk);
    const std::string file = backend->ScratchFolder() + "\\qms.exe";
    std::uint32_t attributes = 0;
    for (const char* path : {"/short/qmsupdate.exe", "/stall/qmsupdate.exe"}) {
        EXPECT_NE(Get(site + path, HttpBody::ToFile, 1500, file), platform::kOk) << path;
        EXPECT_EQ(backend->files().GetAttributes(file, attributes), platform::kErrorFileNotFound);
    }
}

TEST_F(HttpContract, TheWholeLimitEndsATrickleOrAStallWhileTheLoopKeepsRunning) {
    int ticks = 0;
    backend->loop().StartTimer(7, 100, [&] { ++ticks; });
    const std::string file = backend->ScratchFolder() + "\\qms.exe";
    // A byte every two seconds never waits long enough for the 20 s timeout of one read, and a
    // head that never comes is cut off before it: only the limit of the whole ends these.
    for (const auto& [path, body] : {std::pair{"/trickle/qmsupdate.exe", HttpBody::Keep},
                                     {"/trickle/qmsupdate.exe", HttpBody::ToFile},
                                     {"/stallhead/qms.txt", HttpBody::Skip}}) {
        ticks = 0;
        const std::uint32_t start = backend->system().GetTickCount();
        EXPECT_EQ(backend->http().Get({site + path, body, file, 20000, 3000}, response),
                  platform::kErrorInternetTimeout)
            << path;
        const std::uint32_t spent = backend->system().GetTickCount() - start;
        EXPECT_TRUE(spent >= 2900 && spent < 6000) << path << " took " << spent << " ms";
        // The window's timers ticked throughout the wait.
        EXPECT_GE(ticks, 10) << path;
        EXPECT_LE(response.body_bytes, 3u);
        std::uint32_t attributes = 0;
        EXPECT_EQ(backend->files().GetAttributes(file, attributes), platform::kErrorFileNotFound);
    }
    backend->loop().StopTimer(7);
}

TEST_F(HttpContract, ACertificateFromNoTrustedRootIsRefused) {
    EXPECT_EQ(Get(backend->UntrustedTestSite() + "/qms.txt", HttpBody::Keep),
              platform::kErrorInternetInvalidCa);
    EXPECT_EQ(response.status_code, 0);
}

}  // namespace
}  // namespace qm::contract
