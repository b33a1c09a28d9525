// The static thread runtime (winpthreads) times its waits with GetTickCount64, which Windows
// has only since Vista: imported, it would keep Quillmoss from starting on XP at all. The
// runtime's import slot is defined here instead (the link names it with -u, so this file comes
// before kernel32's import library): its first call looks the function up, and where there is
// none a 64-bit count is built from GetTickCount, whose 32 bits wrap every 49.7 days.
#include "platform/win32/windows_api.h"

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI FromTickCount() {
    // Each wrap of the 32-bit count, seen as a smaller value than the last, adds 2^32. The
    // runtime asks from its own threads; the compare-exchange keeps the two halves together.
    static volatile LONGLONG last = 0;
    for (;;) {
        const LONGLONG before = last;
        const DWORD now = ::GetTickCount();
        LONGLONG next = (before & ~0xFFFFFFFFLL) | now;
        if (now < static_cast<DWORD>(before & 0xFFFFFFFF)) next += 0x100000000LL;
        if (::InterlockedCompareExchange64(&last, next, before) == before)
            return static_cast<ULONGLONG>(next);
    }
}

ULONGLONG WINAPI FirstCall();

}  // namespace

extern "C" {
// The name the runtime's calls go through, as its import library would define it.
TickCount64Fn qm_get_tick_count_64 __asm__(
#ifdef _WIN64
    "__imp_GetTickCount64"
#else
    "__imp__GetTickCount64@0"
#endif
    ) = FirstCall;
}

namespace {

ULONGLONG WINAPI FirstCall() {
    const auto found = reinterpret_cast<TickCount64Fn>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    qm_get_tick_count_64 = found != nullptr ? found : FromTickCount;
    return qm_get_tick_count_64();
}

}  // namespace
