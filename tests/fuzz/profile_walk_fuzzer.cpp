// Feeds arbitrary bytes to the profile walk as the content of a profile registry written in
// Windows-1252 by a user "José". Whatever the file holds, every folder the walk hands out must
// lie strictly inside the Mozilla folder, since the Netscape cleaners delete in each of them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cleaners/netscape_profiles.h"
#include "platform/sim/windows_1252.h"

namespace {

constexpr std::string_view kMozilla =
    "C:\\Documents and Settings\\Jos\xC3\xA9\\Application Data\\Mozilla\\";

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return Upper(a) == Upper(b); });
}

// A "." or ".." name between separators of either kind.
bool HasDotName(std::string_view path) {
    std::string names = "\\" + std::string(path) + "\\";
    std::replace(names.begin(), names.end(), '/', '\\');
    return names.find("\\.\\") != std::string::npos || names.find("\\..\\") != std::string::npos;
}

bool IsC1Byte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte < 0xA0;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    // An odd first byte makes bytes 0x80 to 0x9F no character, as a code page with holes
    // would: stretches holding one must be skipped.
    const bool with_holes = !content.empty() && (content.front() & 1) != 0;
    const qm::cleaners::ProfileCodePage code_page{
        qm::sim::Utf8ToWindows1252, [&](std::string_view bytes, std::string& utf8) {
            // It converts before it refuses: the walk must not use what a refusal left behind.
            return qm::sim::Windows1252ToUtf8(bytes, utf8) &&
                   !(with_holes && std::any_of(bytes.begin(), bytes.end(), IsC1Byte));
        }};
    const auto folders = qm::cleaners::FindProfileFolders(content, kMozilla, code_page);
    std::size_t previous_end = 0;
    for (const auto& folder : folders) {
        Check(StartsWithIgnoringCase(folder, kMozilla));
        const std::string_view inside = std::string_view(folder).substr(kMozilla.size());
        Check(!inside.empty());
        Check(!HasDotName(inside));
        Check(inside.find_first_of(std::string_view("\0:/<>\"|?*", 10)) == std::string_view::npos);
        Check(inside.front() != '\\');
        // Each folder is a stretch of the content, spelt in the code page, found after the one
        // before it.
        std::string stretch;
        Check(qm::sim::Utf8ToWindows1252(folder, stretch));
        const std::size_t at = content.find(stretch, previous_end);
        Check(at != std::string_view::npos);
        Check(!with_holes || std::none_of(stretch.begin(), stretch.end(), IsC1Byte));
        previous_end = at + stretch.size();
    }
    return 0;
}
