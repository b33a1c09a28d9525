#include "clean/wait_seconds.h"

namespace qm::clean {

void WaitSeconds(platform::SystemInfo& system, platform::MessageLoop& loop, std::int32_t seconds) {
    if (seconds <= 0) return;
    // The tick count wraps to 0 after 2^32 ms (49.7 days) and turns negative as a signed
    // number after 2^31 ms (24.8 days). Comparing an end time with the current tick would then
    // end the pause at once or never; the elapsed time, taken as an unsigned 32-bit
    // difference, stays right across both wraps for any pause shorter than 49 days.
    const std::uint32_t start = system.GetTickCount();
    const std::uint32_t duration = static_cast<std::uint32_t>(seconds) * 1000u;
    while (system.GetTickCount() - start < duration) {
        loop.PumpPending();
    }
}

}  // namespace qm::clean
