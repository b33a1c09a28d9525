#pragma once
// Folder links (junctions, symbolic links, mount points) carry this attribute bit. The
// deleting tools remove such a link as an entry of the folder being cleaned but never walk
// into it: its contents belong to another place on the machine.
#include <cstdint>

namespace qm::cleaners {

inline constexpr std::uint32_t kReparsePointAttribute = 0x400;

inline bool IsFolderLink(std::uint32_t attributes) {
    return (attributes & kReparsePointAttribute) != 0;
}

}  // namespace qm::cleaners
