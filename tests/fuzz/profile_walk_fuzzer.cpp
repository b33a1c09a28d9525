// Feeds arbitrary bytes to the profile walk as the content of a profile registry. Whatever the
// file holds, every folder the walk hands out must lie strictly inside the Mozilla folder,
// since the Netscape cleaners delete in each of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cleaners/netscape_profiles.h"

namespace {

constexpr std::string_view kMozilla =
    "C:\\Documents and Settings\\Tester\\Application Data\\Mozilla\\";

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    }
    return true;
}

bool HasDotName(std::string_view path) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find_first_of("\\/", start);
        const std::string_view name = path.substr(start, end - start);
        if (name == "." || name == "..") return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const auto folders = qm::cleaners::FindProfileFolders(content, kMozilla);
    std::size_t previous_end = 0;
    for (const auto& folder : folders) {
        Check(StartsWithIgnoringCase(folder, kMozilla));
        const std::string_view inside = std::string_view(folder).substr(kMozilla.size());
        Check(!inside.empty());
        Check(!HasDotName(inside));
        Check(inside.find_first_of(std::string_view("\0:/<>\"|?*", 10)) == std::string_view::npos);
        Check(inside.front() != '\\');
        // Each folder is a stretch of the content, found after the one before it.
        const std::size_t at = content.find(folder, previous_end);
        Check(at != std::string_view::npos);
        previous_end = at + folder.size();
    }
    return 0;
}
