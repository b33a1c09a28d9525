#pragma once
// The simulated machine's compound files: a file whose content is this encoding of its named
// streams. Only the simulation reads and writes it; real compound files are the system's.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qm::sim {

using CompoundStreams = std::map<std::string, std::string>;

std::string EncodeCompound(const CompoundStreams& streams);
// nullopt for content that is no simulated compound file, or is cut short.
std::optional<CompoundStreams> DecodeCompound(std::string_view content);

}  // namespace qm::sim
