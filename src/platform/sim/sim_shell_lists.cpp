// The shell's two lists of things past: Recent Documents and the Recycle Bin.
#include <stdexcept>

#include "platform/sim/sim_shell.h"
#include "platform/sim/text_fold.h"

namespace qm::sim {

namespace {

// Explorer keeps each document's name in RecentDocs as UTF-16LE with its terminator.
std::vector<std::uint8_t> Utf16Bytes(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (const char32_t code_point : ToCodePoints(text)) {
        if (code_point >= 0x10000) {
            put(0xD800 + ((code_point - 0x10000) >> 10));
            put(0xDC00 + ((code_point - 0x10000) & 0x3FF));
        } else {
            put(code_point);
        }
    }
    put(0);
    return bytes;
}

bool IsShortcut(const std::string& name) {
    return name.size() >= 4 &&
           EqualsIgnoringCase(std::string_view(name).substr(name.size() - 4), ".lnk");
}

}  // namespace

void SimShell::AddRecentDocument(const std::string& name) {
    const auto recent = folders_.find(kRecentFolder);
    if (recent == folders_.end()) throw std::invalid_argument("no Recent folder on this machine");
    files_.AddFile(recent->second + "\\" + name + ".lnk", "L", platform::attr::kArchive);

    platform::RegKey key = 0;
    if (registry_.CreateKey(platform::Root::CurrentUser, kRecentDocsKey, key) != platform::kOk) {
        return;
    }
    const auto number = static_cast<std::uint32_t>(recent_order_.size());
    registry_.SetValue(key, std::to_string(number), platform::RegType::Binary, Utf16Bytes(name));
    recent_order_.insert(recent_order_.begin(), number);
    // MRUListEx: the value numbers, newest first, ended by -1.
    std::vector<std::uint8_t> order;
    for (const std::uint32_t value : recent_order_) {
        for (int shift = 0; shift < 32; shift += 8) order.push_back((value >> shift) & 0xFF);
    }
    order.insert(order.end(), 4, 0xFF);
    registry_.SetValue(key, "MRUListEx", platform::RegType::Binary, order);
    registry_.CloseKey(key);
}

void SimShell::ClearRecentDocs() {
    const auto recent = folders_.find(kRecentFolder);
    if (recent != folders_.end()) {
        std::vector<platform::DirEntry> entries;
        files_.List(recent->second + "\\*", entries);
        for (const platform::DirEntry& entry : entries) {
            if ((entry.attributes & platform::attr::kDirectory) || !IsShortcut(entry.name)) {
                continue;
            }
            // A shortcut held open by another program simply stays, as in Explorer.
            files_.DeleteFile(recent->second + "\\" + entry.name);
        }
    }
    registry_.DeleteTree(platform::Root::CurrentUser, kRecentDocsKey);
    recent_order_.clear();
}

std::int32_t SimShell::EmptyRecycleBin() {
    std::vector<platform::DirEntry> entries;
    files_.List(recycle_bin_ + "\\*", entries);
    std::vector<std::string> names;
    for (const platform::DirEntry& entry : entries) {
        if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
    }
    if (names.empty()) return kUnexpected;
    bool all_gone = true;
    for (const std::string& name : names) {
        all_gone = files_.DeleteTree(recycle_bin_ + "\\" + name) == platform::kOk && all_gone;
    }
    // Something held open stays in the bin; saying S_OK then would claim it is empty.
    return all_gone ? 0 : kFail;
}

}  // namespace qm::sim
