#include "background/browser_windows.h"

#include <algorithm>
#include <iterator>
#include <ranges>

#include "browsers/browser_profiles.h"
#include "errors/error_reporter.h"
#include "paths/ascii_case.h"

namespace qm::background {

namespace {

bool IsBrowserWindow(platform::Desktop& desktop, platform::WindowHandle window) {
    const std::string window_class = desktop.WindowClassName(window);
    if (window_class == kIEFrameClass || window_class == kMozillaClass ||
        window_class == kOperaClass)
        return true;
    if (window_class != kChromiumClass) return false;
    const std::string program = paths::UpperAscii(desktop.WindowProgramName(window));
    return std::any_of(std::begin(browsers::kChromiumBrowsers),
                       std::end(browsers::kChromiumBrowsers),
                       [&](const browsers::ChromiumBrowser& browser) {
                           return paths::UpperAscii(browser.program) == program;
                       });
}

}  // namespace

std::vector<platform::WindowHandle> CloseBrowserWindows(platform::Desktop& desktop) {
    std::vector<platform::WindowHandle> asked;
    for (const platform::WindowHandle window : desktop.TopLevelWindows()) {
        errors::SilentStep([&] {
            if (IsBrowserWindow(desktop, window) && desktop.PostCloseRequest(window)) {
                asked.push_back(window);
            }
        });
    }
    return asked;
}

void WaitForBrowsersToClose(platform::Desktop& desktop, platform::SystemInfo& system,
                            platform::MessageLoop& loop,
                            const std::vector<platform::WindowHandle>& windows,
                            std::uint32_t limit_ms, const std::function<bool()>& profiles_held) {
    const auto any_open = [&] {
        bool open = false;
        for (const platform::WindowHandle window : windows) {
            errors::SilentStep([&] { open = open || IsBrowserWindow(desktop, window); });
        }
        return open;
    };
    // The elapsed time as an unsigned difference stays right across the tick count's wrap.
    const std::uint32_t start = system.GetTickCount();
    const auto busy = [&] {
        bool held = false;
        if (!windows.empty()) errors::SilentStep([&] { held = profiles_held(); });
        return any_open() || held;
    };
    while (busy() && system.GetTickCount() - start < limit_ms) loop.PumpPending();
}

void BossKeys::Start(platform::MessageLoop& loop) {
    loop.StartTimer(kHideIETimerId, kHideIEIntervalMs, [this] { timHideIE_Timer(); });
}

void BossKeys::timHideIE_Timer() {
    errors::SilentStep([&] {
        if (!desktop_.KeyPressedSinceLastQuery(platform::virtual_key::kF9)) return;
        HideIEWindows();
        desktop_.HideMainWindow();
    });
    errors::SilentStep([&] {
        if (!desktop_.KeyPressedSinceLastQuery(platform::virtual_key::kF10)) return;
        RestoreIEWindows();
        // Shown before it is brought forward: a hidden window cannot take the foreground.
        desktop_.RestoreMainWindow();
        desktop_.BringMainWindowForward();
    });
}

void BossKeys::HideIEWindows() {
    // Only frames the user can see: Internet Explorer keeps hidden frames of its own, which a
    // restore must not bring onto the screen. Frames still hidden by an earlier press stay on
    // the list, so that pressing F9 twice never loses them.
    for (const platform::WindowHandle window : desktop_.TopLevelWindows()) {
        errors::SilentStep([&] {
            if (desktop_.WindowClassName(window) != kIEFrameClass ||
                !desktop_.IsWindowVisible(window))
                return;
            HiddenWindowEntry entry{window, {}};
            if (!desktop_.GetWindowPlacement(window, entry.placement)) return;
            hidden_windows_.push_back(entry);
            platform::WindowPlacement hide = entry.placement;
            hide.show_command = platform::show_command::kHide;
            desktop_.SetWindowPlacement(window, hide);
        });
    }
}

void BossKeys::RestoreIEWindows() {
    // Each frame comes back once: the list is done with after this walk. A frame closed since
    // may have left its handle to a new window of another program, which is not touched.
    const std::vector<HiddenWindowEntry> to_restore = std::move(hidden_windows_);
    hidden_windows_.clear();
    errors::SilentStep([&] {
        for (const HiddenWindowEntry& entry : std::views::reverse(to_restore)) {
            if (desktop_.WindowClassName(entry.window) != kIEFrameClass) continue;
            desktop_.SetWindowPlacement(entry.window, entry.placement);
        }
    });
}

}  // namespace qm::background
