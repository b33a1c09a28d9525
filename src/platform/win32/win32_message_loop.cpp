#include "platform/win32/win32_message_loop.h"

#include <utility>

namespace qm::win32 {

namespace {

// A thread timer's callback gets only the id Windows chose, so this finds the loop and the
// program's own id again. Timers are per thread, and so is the table.
struct TimerOwner {
    Win32MessageLoop* loop;
    int id;
};
thread_local std::map<UINT_PTR, TimerOwner> g_timer_owners;

// How long an idle pump waits for input, so that a wait loop does not spin the processor.
constexpr DWORD kIdleWaitMs = 10;

}  // namespace

Win32MessageLoop::~Win32MessageLoop() {
    for (const auto& [id, timer] : timers_) {
        ::KillTimer(nullptr, timer.system_id);
        g_timer_owners.erase(timer.system_id);
    }
}

bool Win32MessageLoop::DispatchAll() {
    bool any = false;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (message.message == WM_QUIT) {
            // Not ours to act on: the main loop must see it to end the program.
            quit_seen_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return any;
}

void Win32MessageLoop::PumpPending() {
    if (DispatchAll() || quit_seen_) return;
    const DWORD woke =
        ::MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) DispatchAll();
}

bool Win32MessageLoop::PumpUntil(HANDLE event, DWORD timeout_ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (!quit_seen_) DispatchAll();
        // Checked before the time: a handler that ran long may have outlasted a transfer that
        // has ended meanwhile.
        if (::WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return true;
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= timeout_ms) return false;
        if (quit_seen_) return ::WaitForSingleObject(event, timeout_ms - spent) == WAIT_OBJECT_0;
        ::MsgWaitForMultipleObjectsEx(1, &event, timeout_ms - spent, QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
    }
}

void Win32MessageLoop::StartTimer(int id, std::uint32_t interval_ms, std::function<void()> tick) {
    StopTimer(id);
    const UINT_PTR system_id = ::SetTimer(nullptr, 0, interval_ms, &Win32MessageLoop::OnTimer);
    if (system_id == 0) return;
    timers_[id] = Timer{system_id, std::move(tick)};
    g_timer_owners[system_id] = TimerOwner{this, id};
}

void Win32MessageLoop::StopTimer(int id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return;
    ::KillTimer(nullptr, found->second.system_id);
    g_timer_owners.erase(found->second.system_id);
    timers_.erase(found);
}

void Win32MessageLoop::Tick(int id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // The handler may stop or restart its own timer, which destroys the stored callback;
    // running a copy keeps the code being executed alive until it returns.
    const std::function<void()> tick = found->second.tick;
    if (tick) tick();
}

void CALLBACK Win32MessageLoop::OnTimer(HWND, UINT, UINT_PTR system_id, DWORD) {
    const auto owner = g_timer_owners.find(system_id);
    // A tick already queued for a timer stopped since is dropped.
    if (owner == g_timer_owners.end()) return;
    owner->second.loop->Tick(owner->second.id);
}

}  // namespace qm::win32
