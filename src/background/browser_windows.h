#pragma once
// The boss keys and the closing of browser windows: two services that act on other programs'
// top-level windows. F9 hides every shown Internet Explorer frame and Quillmoss's main window;
// F10 brings them back as they were. Before a scheduled clean every Internet Explorer, Mozilla,
// Firefox and Opera window, and every window of a Chromium-family browser's own program, may
// be asked to close.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/message_loop.h"
#include "platform/system_info.h"

namespace qm::background {

// Window classes, compared exactly: "ieframe" is some other program's window.
inline constexpr std::string_view kIEFrameClass = "IEFrame";
inline constexpr std::string_view kMozillaClass = "MozillaWindowClass";
inline constexpr std::string_view kOperaClass = "BLDOPERA";
// Other programs draw their windows with the same class: only the browsers' own count.
inline constexpr std::string_view kChromiumClass = "Chrome_WidgetWin_1";

// timHideIE: polls the keys twice a second for as long as the program runs, also while its
// window is hidden.
inline constexpr int kHideIETimerId = 3;
inline constexpr std::uint32_t kHideIEIntervalMs = 500;

// The longest a clean waits for the browsers it asked to close.
inline constexpr std::uint32_t kBrowserCloseWaitMs = 10'000;

// Posts a close request to every browser window and returns without waiting for any: the
// windows asked.
std::vector<platform::WindowHandle> CloseBrowserWindows(platform::Desktop& desktop);
// Keeps the program answering until none of these windows is a browser window any more (it
// closed, or its handle went to another program's window) and, when any was asked, until
// `profiles_held` says no browser holds its profiles any more; or until `limit_ms` has
// passed: a browser that asks its user first, or hangs, must not hold the clean for ever.
void WaitForBrowsersToClose(platform::Desktop& desktop, platform::SystemInfo& system,
                            platform::MessageLoop& loop,
                            const std::vector<platform::WindowHandle>& windows,
                            std::uint32_t limit_ms, const std::function<bool()>& profiles_held);

class BossKeys {
  public:
    explicit BossKeys(platform::Desktop& desktop) : desktop_(desktop) {}
    BossKeys(const BossKeys&) = delete;
    BossKeys& operator=(const BossKeys&) = delete;

    // Starts timHideIE; it is never stopped.
    void Start(platform::MessageLoop& loop);
    // Both keys are looked at on every tick: pressed together, the hide comes first.
    void timHideIE_Timer();
    void HideIEWindows();
    void RestoreIEWindows();

  private:
    struct HiddenWindowEntry {
        platform::WindowHandle window;
        platform::WindowPlacement placement;  // as it was just before the window was hidden
    };

    platform::Desktop& desktop_;
    // Frames hidden and not restored yet, in the order they were hidden.
    std::vector<HiddenWindowEntry> hidden_windows_;
};

}  // namespace qm::background
