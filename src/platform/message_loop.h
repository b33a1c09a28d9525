#pragma once
// The main window's message loop as the waits see it, and its timers.
#include <cstdint>
#include <functional>

namespace qm::platform {

class MessageLoop {
  public:
    virtual ~MessageLoop() = default;
    // Handles every message already waiting (clicks, key presses, timer ticks) and returns.
    // On the simulated machine this is where virtual time moves on.
    virtual void PumpPending() = 0;
    // A repeating timer on the main window's thread; starting a running id restarts it.
    virtual void StartTimer(int id, std::uint32_t interval_ms, std::function<void()> tick) = 0;
    virtual void StopTimer(int id) = 0;
};

}  // namespace qm::platform
