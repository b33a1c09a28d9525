#include "platform/win32/spread_work.h"

#include "platform/win32/windows_api.h"

#include <algorithm>

#include "platform/win32/scoped_handle.h"

namespace qm::win32 {

namespace {

struct Batch {
    void (*work)(void*, std::size_t);
    void* context;
    LONG count;
    volatile LONG next = 0;
    // This thread's share plus one per pool thread still at it; whoever brings it to zero
    // after this thread has finished its own share wakes it.
    volatile LONG running = 1;
    HANDLE done = nullptr;
};

void TakeTurns(Batch& batch) {
    for (LONG i; (i = ::InterlockedIncrement(&batch.next) - 1) < batch.count;) {
        batch.work(batch.context, static_cast<std::size_t>(i));
    }
}

DWORD WINAPI Helper(void* parameter) {
    Batch& batch = *static_cast<Batch*>(parameter);
    TakeTurns(batch);
    if (::InterlockedDecrement(&batch.running) == 0) ::SetEvent(batch.done);
    return 0;
}

// One helper per processor, three at most: the calls wait on the file system, so a
// processor is worth one helper besides this thread, and more than four in all only queue.
LONG Helpers() {
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    return static_cast<LONG>(std::clamp<DWORD>(system.dwNumberOfProcessors, 1, 3));
}

}  // namespace

void SpreadWork(std::size_t count, void (*work)(void*, std::size_t), void* context) {
    static const LONG helpers = Helpers();
    Batch batch{work, context, static_cast<LONG>(count)};
    const LONG wanted = std::min<LONG>(helpers, batch.count - 1);
    ScopedKernelHandle done(wanted > 0 ? ::CreateEventW(nullptr, FALSE, FALSE, nullptr) : nullptr);
    batch.done = done.get();
    for (LONG i = 0; done && i < wanted; ++i) {
        ::InterlockedIncrement(&batch.running);
        // Without a pool thread this one does the whole batch itself.
        if (!::QueueUserWorkItem(Helper, &batch, WT_EXECUTEDEFAULT)) {
            ::InterlockedDecrement(&batch.running);
            break;
        }
    }
    TakeTurns(batch);
    if (::InterlockedDecrement(&batch.running) != 0) ::WaitForSingleObject(batch.done, INFINITE);
}

}  // namespace qm::win32
