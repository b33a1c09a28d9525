#include "platform/sim/sim_compound.h"

#include <charconv>

#include "platform/sim/sim_file_system.h"

namespace qm::sim {
namespace {

constexpr std::string_view kMagic = "QMSIM-COMPOUND\n";

}  // namespace

std::string EncodeCompound(const CompoundStreams& streams) {
    std::string content(kMagic);
    for (const auto& [name, data] : streams) {
        content += name + '\0' + std::to_string(data.size()) + '\0' + data;
    }
    return content;
}

std::optional<CompoundStreams> DecodeCompound(std::string_view content) {
    if (!content.starts_with(kMagic)) return std::nullopt;
    content.remove_prefix(kMagic.size());
    CompoundStreams streams;
    while (!content.empty()) {
        const std::size_t name_end = content.find('\0');
        if (name_end == std::string_view::npos) return std::nullopt;
        const std::size_t size_end = content.find('\0', name_end + 1);
        if (size_end == std::string_view::npos) return std::nullopt;
        std::size_t size = 0;
        const char* first = content.data() + name_end + 1;
        const char* last = content.data() + size_end;
        if (std::from_chars(first, last, size).ptr != last) return std::nullopt;
        if (content.size() - size_end - 1 < size) return std::nullopt;
        streams[std::string(content.substr(0, name_end))] =
            std::string(content.substr(size_end + 1, size));
        content.remove_prefix(size_end + 1 + size);
    }
    return streams;
}

platform::Status SimFileSystem::ReadCompoundStream(std::string_view path, std::string_view stream,
                                                   std::string& contents) {
    std::string file;
    if (const platform::Status status = ReadFile(path, file); status != platform::kOk) {
        return status;
    }
    const std::optional<CompoundStreams> streams = DecodeCompound(file);
    if (!streams) return platform::kErrorInvalidData;
    const auto found = streams->find(std::string(stream));
    if (found == streams->end()) return platform::kErrorFileNotFound;
    contents = found->second;
    return platform::kOk;
}

}  // namespace qm::sim
