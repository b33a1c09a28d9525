#pragma once
// A pause of whole seconds that keeps the window answering: it never sleeps, it pumps the
// window's pending messages until the time is up, so clicks and timer ticks run meanwhile.
#include <cstdint>

#include "platform/message_loop.h"
#include "platform/system_info.h"

namespace qm::clean {

// Zero or negative seconds return at once.
void WaitSeconds(platform::SystemInfo& system, platform::MessageLoop& loop, std::int32_t seconds);

}  // namespace qm::clean
