#include "cleaners/jump_lists.h"

#include <cstring>
#include <vector>

#include "paths/folder_path.h"

namespace qm::cleaners {
namespace {

using platform::Status;

constexpr std::size_t kHeaderSize = 32;
constexpr std::string_view kDestList = "DestList";

std::uint32_t ReadUint32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    return value;
}

// The files of `folder` matching `pattern`, folders and links left out.
std::vector<std::string> FilesOf(platform::FileSystem& files, const std::string& folder,
                                 std::string_view pattern) {
    std::vector<platform::DirEntry> entries;
    std::vector<std::string> found;
    if (files.List(folder + "\\" + std::string(pattern), entries) != platform::kOk) return found;
    for (const platform::DirEntry& entry : entries) {
        if ((entry.attributes & (platform::attr::kDirectory | platform::attr::kReparsePoint)) != 0)
            continue;
        found.push_back(folder + "\\" + entry.name);
    }
    return found;
}

// A folder that is really a link leads elsewhere: nothing in it is taken for a jump list.
bool IsPlainFolder(platform::FileSystem& files, const std::string& folder) {
    std::uint32_t attributes = 0;
    return files.GetAttributes(folder, attributes) == platform::kOk &&
           (attributes & platform::attr::kDirectory) != 0 &&
           (attributes & platform::attr::kReparsePoint) == 0;
}

void Remove(platform::FileSystem& files, const std::string& path, JumpListTally& tally) {
    const Status status = files.DeleteFile(path);
    if (status == platform::kOk) {
        ++tally.removed;
    } else if (status == platform::kErrorSharingViolation) {
        ++tally.in_use;
    } else if (status != platform::kErrorFileNotFound) {
        ++tally.failed;
    }
}

void CleanAutomaticList(platform::FileSystem& files, const std::string& path,
                        JumpListTally& tally) {
    std::string stream;
    const Status read = files.ReadCompoundStream(path, kDestList, stream);
    if (read == platform::kErrorSharingViolation) {
        ++tally.in_use;
        return;
    }
    const std::optional<DestListHeader> header =
        read == platform::kOk ? ReadDestListHeader(stream) : std::nullopt;
    if (!header || header->pinned > 0) {
        ++(header ? tally.pinned : tally.unreadable);
        files.RecordKept(path, platform::FileSystem::KeptFor::Pins);
        return;
    }
    Remove(files, path, tally);
}

void AppendCount(std::string& line, std::size_t count, std::string_view what) {
    if (count == 0) return;
    line += line.empty() ? "" : ", ";
    line += std::to_string(count) + " " + std::string(what);
}

}  // namespace

std::optional<DestListHeader> ReadDestListHeader(std::string_view stream) {
    if (stream.size() < kHeaderSize) return std::nullopt;
    DestListHeader header{ReadUint32(stream, 0), ReadUint32(stream, 4), ReadUint32(stream, 8)};
    if (header.version < 1 || header.version > 4) return std::nullopt;
    if (header.pinned > header.entries) return std::nullopt;
    return header;
}

std::optional<std::string> JumpListTally::KeptLine() const {
    std::string kept;
    AppendCount(kept, pinned, "with pinned entries");
    AppendCount(kept, unreadable, "whose pins could not be read");
    AppendCount(kept, in_use, "in use");
    AppendCount(kept, failed, "that could not be removed");
    if (kept.empty()) return std::nullopt;
    return "Jump lists cleaned; kept whole: " + kept + ".";
}

JumpListTally CleanJumpLists(platform::Platform& platform) {
    JumpListTally tally;
    std::string recent;
    if (platform.shell.GetFolderPath(platform::csidl::kRecent, recent) != platform::kOk ||
        recent.empty())
        return tally;
    const std::string automatic = paths::AddBackslash(recent) + "AutomaticDestinations";
    if (IsPlainFolder(platform.files, automatic)) {
        for (const std::string& path :
             FilesOf(platform.files, automatic, "*.automaticDestinations-ms"))
            CleanAutomaticList(platform.files, path, tally);
    }
    const std::string custom = paths::AddBackslash(recent) + "CustomDestinations";
    if (IsPlainFolder(platform.files, custom)) {
        for (const std::string& path : FilesOf(platform.files, custom, "*.customDestinations-ms"))
            Remove(platform.files, path, tally);
    }
    return tally;
}

}  // namespace qm::cleaners
