#include "platform/win32/win32_http.h"

#include <memory>
#include <vector>

#include "platform/win32/win32_http_transfer.h"
#include "platform/win32/win32_message_loop.h"

namespace qm::win32 {

namespace {

// How long an aborted transfer is given to let go of WinINet and of its partial file. Closing
// its handles ends a blocked call at once; this only bounds a WinINet that is slow to notice.
constexpr DWORD kWindDownMs = 1'000;

// Every transfer whose worker still runs, so that the end of the program can abort them.
class LiveTransfers {
  public:
    LiveTransfers() { ::InitializeCriticalSection(&lock_); }
    ~LiveTransfers() { ::DeleteCriticalSection(&lock_); }

    // False once the program is ending: no transfer starts then.
    bool Add(const std::shared_ptr<HttpTransfer>& transfer) {
        ::EnterCriticalSection(&lock_);
        const bool added = !closing_;
        if (added) live_.push_back(transfer);
        ::LeaveCriticalSection(&lock_);
        return added;
    }
    void Remove(const HttpTransfer* transfer) {
        ::EnterCriticalSection(&lock_);
        std::erase_if(live_, [&](const auto& live) { return live.get() == transfer; });
        ::LeaveCriticalSection(&lock_);
    }
    void CancelAll() {
        ::EnterCriticalSection(&lock_);
        closing_ = true;
        const std::vector<std::shared_ptr<HttpTransfer>> live = live_;
        for (const auto& transfer : live)
            transfer->Abort(platform::kErrorInternetConnectionAborted);
        ::LeaveCriticalSection(&lock_);
        const DWORD start = ::GetTickCount();
        for (const auto& transfer : live) {
            const DWORD spent = ::GetTickCount() - start;
            if (spent >= kWindDownMs ||
                ::WaitForSingleObject(transfer->done(), kWindDownMs - spent) != WAIT_OBJECT_0)
                transfer->DropFile();
        }
    }

  private:
    CRITICAL_SECTION lock_;
    bool closing_ = false;
    std::vector<std::shared_ptr<HttpTransfer>> live_;
};

// Never destroyed: a worker may still be inside it while the process ends.
LiveTransfers& Live() {
    static LiveTransfers* const live = new LiveTransfers;
    return *live;
}

DWORD WINAPI Work(void* parameter) {
    const std::unique_ptr<std::shared_ptr<HttpTransfer>> transfer(
        static_cast<std::shared_ptr<HttpTransfer>*>(parameter));
    (*transfer)->Run();
    Live().Remove(transfer->get());
    return 0;
}

}  // namespace

bool Win32Http::Wait(void* event, unsigned long timeout_ms) {
    if (loop_) return loop_->PumpUntil(event, timeout_ms);
    return ::WaitForSingleObject(event, timeout_ms) == WAIT_OBJECT_0;
}

platform::Status Win32Http::Get(const platform::HttpRequest& request,
                                platform::HttpResponse& response) {
    response = {};
    if (request.limit_ms == 0) return platform::kErrorInternetTimeout;
    const auto transfer = std::make_shared<HttpTransfer>(request);
    if (!transfer->done()) return static_cast<platform::Status>(::GetLastError());
    if (!Live().Add(transfer)) return platform::kErrorInternetConnectionAborted;
    auto* worker_share = new std::shared_ptr<HttpTransfer>(transfer);
    const HANDLE worker = ::CreateThread(nullptr, 0, &Work, worker_share, 0, nullptr);
    if (worker) {
        ::CloseHandle(worker);
    } else {
        // No thread to spare: the transfer runs here, as it always could.
        Work(worker_share);
    }
    bool finished = Wait(transfer->done(), request.limit_ms);
    if (!finished) {
        transfer->Abort(platform::kErrorInternetTimeout);
        // Where closing its handles does not end a blocked call (Wine), the worker still
        // returns once that call does: when the next piece comes, or at its timeout.
        finished = Wait(transfer->done(), request.timeout_ms + kWindDownMs);
    }
    if (!finished) {
        // Its share keeps everything the worker touches alive until it ends on its own.
        transfer->DropFile();
        return platform::kErrorInternetTimeout;
    }
    response = transfer->response();
    return transfer->status();
}

void CancelAllTransfers() {
    Live().CancelAll();
}

}  // namespace qm::win32
