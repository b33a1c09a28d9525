#pragma once
// The thread's message queue as the waits use it, and thread timers. The timers belong to the
// thread rather than to a window, so they keep ticking inside the modal loop of a message box
// as well as in the main loop and in PumpPending.
#include <map>

#include "platform/message_loop.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class Win32MessageLoop final : public platform::MessageLoop {
  public:
    Win32MessageLoop() = default;
    Win32MessageLoop(const Win32MessageLoop&) = delete;
    Win32MessageLoop& operator=(const Win32MessageLoop&) = delete;
    ~Win32MessageLoop() override;

    void PumpPending() override;
    void StartTimer(int id, std::uint32_t interval_ms, std::function<void()> tick) override;
    void StopTimer(int id) override;
    // Handles the thread's messages as they come until `event` is signalled (true) or
    // `timeout_ms` has passed (false). Once a WM_QUIT has been seen it only waits.
    bool PumpUntil(HANDLE event, DWORD timeout_ms);

    // A WM_QUIT met while pumping is put back for the main loop; this says whether one was.
    bool quit_seen() const { return quit_seen_; }

  private:
    struct Timer {
        UINT_PTR system_id = 0;
        std::function<void()> tick;
    };

    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR system_id, DWORD time);
    bool DispatchAll();
    void Tick(int id);

    std::map<int, Timer> timers_;
    bool quit_seen_ = false;
};

}  // namespace qm::win32
