// The boss keys under Wine, pressed as the user presses them, from whichever program has the
// keyboard: F9 hides the Internet Explorer frames (stand-ins of that class) and Quillmoss, and
// no other program's windows; F10 puts them back where and as they were.
#include <gtest/gtest.h>

#include <cstdlib>

#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

TEST(BossKeysE2E, F9HidesInternetExplorerAndQuillmossAndF10PutsThemBack) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe) << "QM_E2E_EXE must name Quillmoss.exe";
    AppProcess app(Widen(exe), L"Quillmoss v2.80");
    ASSERT_TRUE(std::getenv("QM_E2E_STAND_IN")) << "run-e2e.sh names the stand-in windows";
    AppProcess others(Widen(std::getenv("QM_E2E_STAND_IN")), L"",
                      L"IEFrame IEFrame MozillaWindowClass BLDOPERA");
    HWND frames[2] = {}, opera = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            frames[0] = FindWindowExW(nullptr, nullptr, L"IEFrame", nullptr);
            frames[1] = FindWindowExW(nullptr, frames[0], L"IEFrame", nullptr);
            return frames[1] && (opera = FindWindowW(L"BLDOPERA", nullptr));
        },
        20s));
    ShowWindowAsync(frames[1], SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(frames[1]) != FALSE; }, 5s));
    WINDOWPLACEMENT before[2]{}, after{};
    for (int i = 0; i < 2; ++i)
        before[i].length = sizeof after, GetWindowPlacement(frames[i], &before[i]);
    const auto press_until_all = [&](BYTE key, BOOL visible) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        return WaitUntil(
            [&] {
                for (const HWND window : {frames[0], frames[1], app.window()}) {
                    if (IsWindowVisible(window) != visible) return false;
                }
                return true;
            },
            10s);
    };

    EXPECT_TRUE(press_until_all(VK_F9, FALSE));
    EXPECT_TRUE(IsWindowVisible(opera) && IsWindowVisible(FindWindowW(L"MozillaWindowClass", 0)));
    EXPECT_TRUE(press_until_all(VK_F10, TRUE));
    for (int i = 0; i < 2; ++i) {
        after.length = sizeof after, GetWindowPlacement(frames[i], &after);
        EXPECT_EQ(after.showCmd, before[i].showCmd) << i;
        EXPECT_TRUE(EqualRect(&after.rcNormalPosition, &before[i].rcNormalPosition)) << i;
    }
}

}  // namespace
}  // namespace qm::e2e
