// Scheduled cleaning in the real program, on a clock that runs sixty times as fast (CTest runs
// this one under faketime, Wine's server and programs included): the schedule the registry
// holds is armed at start-up, the clean asks after half an hour and not before, and the
// browser windows close only once the user said OK.
#include <gtest/gtest.h>

#include <cstdlib>

#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

TEST(ScheduleE2E, HalfAnHourAfterStartTheCleanAsksThenTheBrowsersClose) {
    if (!std::getenv("QM_E2E_FAST_CLOCK")) GTEST_SKIP() << "runs on the fast clock only";
    const std::wstring kQm = L"Software\\Microsoft\\Qmoss";
    DeleteTree(HKEY_LOCAL_MACHINE, kQm);
    for (const auto& [name, text] : {std::pair{L"remember", L"aa"},
                                     {L"recycle", L"tt"},
                                     {L"schedclean", L"1/2 Hours"},
                                     {L"closebrow", L"e"}})
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kQm, name, text));
    AppProcess browsers(Widen(std::getenv("QM_E2E_STAND_IN")), L"",
                        L"IEFrame MozillaWindowClass BLDOPERA");
    const auto open = [] {
        return FindWindowW(L"IEFrame", nullptr) && FindWindowW(L"MozillaWindowClass", nullptr) &&
               FindWindowW(L"BLDOPERA", nullptr);
    };
    ASSERT_TRUE(WaitUntil(open, 60min));  // a fresh prefix starts slowly
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");

    EXPECT_FALSE(WaitForMessageBox(app.pid(), 27min)) << "asked before the half hour";
    const auto box = WaitForMessageBox(app.pid(), 10min);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Do you want to clean selected items");
    EXPECT_TRUE(open()) << "closed before the user said OK";
    AnswerMessageBox(*box, IDOK);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return !FindWindowW(L"IEFrame", nullptr) &&
                   !FindWindowW(L"MozillaWindowClass", nullptr) &&
                   !FindWindowW(L"BLDOPERA", nullptr);
        },
        10min));
    DeleteTree(HKEY_LOCAL_MACHINE, kQm);
}

}  // namespace
}  // namespace qm::e2e
