#pragma once
// The taskbar's and Start menu's jump lists (Windows 7 and later). An automatic list is a
// compound file whose DestList stream indexes its entries and says how many the user pinned;
// it goes whole when it holds no pin, and stays whole otherwise, as it does whenever its pins
// cannot be told (not a compound file, cut short, a DestList of a format not known here).
// Quick Access's own list (f01b4d95cf55d32a) is one of them: its pins are Explorer's pinned
// folders.
// Custom lists are what programs publish of themselves; they go, and each program writes its
// own again when it next runs.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace qm::cleaners {

struct DestListHeader {
    std::uint32_t version = 0;
    std::uint32_t entries = 0;
    std::uint32_t pinned = 0;
};
// The header of a DestList stream of a known format (versions 1 to 4: Windows 7 to 11);
// nullopt for anything shorter, newer or self-contradicting.
std::optional<DestListHeader> ReadDestListHeader(std::string_view stream);

struct JumpListTally {
    std::size_t removed = 0;
    std::size_t pinned = 0;      // kept: pins in them
    std::size_t unreadable = 0;  // kept: their pins cannot be told
    std::size_t in_use = 0;      // kept: another program holds them
    std::size_t failed = 0;      // could not be removed for another reason
    // The item's line when anything stayed; nullopt when everything went.
    std::optional<std::string> KeptLine() const;
};

JumpListTally CleanJumpLists(platform::Platform& platform);

}  // namespace qm::cleaners
