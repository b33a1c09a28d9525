#include "platform/sim/sim_message_loop.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace qm::sim {

void SimMessageLoop::SetTickCount(std::uint32_t tick) {
    tick_offset_ = tick - static_cast<std::uint32_t>(elapsed_);
}

void SimMessageLoop::At(std::uint32_t delay_ms, std::function<void()> action) {
    actions_.push_back({elapsed_ + delay_ms, next_order_++, std::move(action)});
}

void SimMessageLoop::StartTimer(int id, std::uint32_t interval_ms, std::function<void()> tick) {
    const std::uint32_t interval = std::max(interval_ms, kMinimumTimerInterval);
    timers_[id] = {interval, elapsed_ + interval, next_order_++, std::move(tick)};
}

void SimMessageLoop::StopTimer(int id) {
    timers_.erase(id);
}

std::uint64_t SimMessageLoop::EarliestDue() const {
    std::uint64_t earliest = std::numeric_limits<std::uint64_t>::max();
    for (const auto& [id, timer] : timers_) {
        if (!ticking_.contains(id)) earliest = std::min(earliest, timer.due);
    }
    for (const Action& action : actions_) earliest = std::min(earliest, action.due);
    return earliest;
}

bool SimMessageLoop::RunNextDueEvent(std::uint64_t due_by) {
    // Earliest due first; among equals, whatever was scheduled first.
    auto timer = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due > due_by || ticking_.contains(it->first)) continue;
        if (timer == timers_.end() || std::tie(it->second.due, it->second.order) <
                                          std::tie(timer->second.due, timer->second.order)) {
            timer = it;
        }
    }
    auto action = actions_.end();
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        if (it->due > due_by) continue;
        if (action == actions_.end() ||
            std::tie(it->due, it->order) < std::tie(action->due, action->order)) {
            action = it;
        }
    }
    const bool timer_due = timer != timers_.end();
    const bool action_due = action != actions_.end();
    if (!timer_due && !action_due) return false;

    if (timer_due && (!action_due || std::tie(timer->second.due, timer->second.order) <
                                         std::tie(action->due, action->order))) {
        // Re-arm before the tick runs: the handler may stop or restart its own timer, or pump
        // messages itself, and must then not see this tick as still pending.
        const int id = timer->first;
        std::function<void()> tick = timer->second.tick;
        timer->second.due = elapsed_ + timer->second.interval;
        timer->second.order = next_order_++;
        struct TickingGuard {
            std::set<int>& ticking;
            int id;
            ~TickingGuard() { ticking.erase(id); }
        } guard{ticking_, id};
        ticking_.insert(id);
        tick();
    } else {
        std::function<void()> run = std::move(action->run);
        actions_.erase(action);
        run();
    }
    return true;
}

void SimMessageLoop::Idle(std::uint32_t ms) {
    const std::uint64_t end = elapsed_ + ms;
    for (std::uint64_t due = EarliestDue(); due <= end; due = EarliestDue()) {
        elapsed_ = std::max(elapsed_, due);
        RunNextDueEvent(elapsed_);
    }
    elapsed_ = std::max(elapsed_, end);
}

void SimMessageLoop::PumpPending() {
    ++pumps_;
    const std::uint64_t frame_end = elapsed_ + kFrameMs;
    elapsed_ = std::max(elapsed_, std::min(frame_end, EarliestDue()));
    // Only what was due when this pump began: a handler that pumps moves the clock on, and
    // what falls due meanwhile belongs to the next pump, as posted messages would.
    const std::uint64_t due_by = elapsed_;
    while (RunNextDueEvent(due_by)) {
    }
}

}  // namespace qm::sim
