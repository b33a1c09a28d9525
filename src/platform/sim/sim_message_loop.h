#pragma once
// The main window's message loop on a virtual clock. Nothing waits for real time: each pump
// moves the clock on to the next thing that is due (a timer tick or a scripted user action),
// but never by more than one 16 ms frame, so a wait that polls the tick count still sees it
// grow in small steps.
//
// A timer is never re-entered: while its tick runs (and perhaps pumps, as a wait does), its
// next ticks hold back until the tick returns. Without this, every nested pump would move the
// clock on far enough to fire the same timer again and recurse without end.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/message_loop.h"

namespace qm::sim {

class SimMessageLoop final : public platform::MessageLoop {
  public:
    // Windows raises shorter timer intervals to this.
    static constexpr std::uint32_t kMinimumTimerInterval = 10;
    // The most a single pump moves the clock on when nothing is due sooner.
    static constexpr std::uint32_t kFrameMs = 16;

    std::uint32_t now() const { return static_cast<std::uint32_t>(elapsed_ + tick_offset_); }
    // Moves the tick count without moving anything that is already scheduled relative to now.
    void SetTickCount(std::uint32_t tick);
    void At(std::uint32_t delay_ms, std::function<void()> action);
    std::uint64_t pumps() const { return pumps_; }
    bool TimerRunning(int id) const { return timers_.contains(id); }

    // Runs every event due within `ms`, jumping straight from one to the next.
    void Idle(std::uint32_t ms);
    void PumpPending() override;
    void StartTimer(int id, std::uint32_t interval_ms, std::function<void()> tick) override;
    void StopTimer(int id) override;

  private:
    struct Timer {
        std::uint32_t interval = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0;
        std::function<void()> tick;
    };
    struct Action {
        std::uint64_t due = 0;
        std::uint64_t order = 0;
        std::function<void()> run;
    };

    // Runs the earliest event due by `due_by`; false when none is.
    bool RunNextDueEvent(std::uint64_t due_by);
    std::uint64_t EarliestDue() const;

    // Time is kept as 64-bit milliseconds since the machine was made, so scheduling never
    // wraps; only the tick count the program sees is cut to 32 bits.
    std::uint64_t elapsed_ = 0;
    std::uint32_t tick_offset_ = 3'600'000;  // Windows has been up an hour
    std::uint64_t pumps_ = 0;
    std::uint64_t next_order_ = 0;
    std::map<int, Timer> timers_;
    std::set<int> ticking_;  // timers whose tick is running now
    std::vector<Action> actions_;
};

}  // namespace qm::sim
