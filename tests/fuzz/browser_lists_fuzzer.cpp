// Feeds arbitrary bytes to the readers of the browsers' profile lists, as Local State when
// the first byte is even and as profiles.ini when it is odd. Whatever the file holds, nothing
// may crash, and every name or path handed out must stay where the cleaners expect it: a
// single plain folder name for the Chromium family, a path of plain names below the Firefox
// folder for a relative Firefox profile.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "browsers/profile_texts.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool StaysBelow(const std::string& path) {
    const std::string names = "\\" + path + "\\";
    return !path.empty() && names.find("\\..\\") == std::string::npos &&
           names.find("\\.\\") == std::string::npos && names.find("\\\\") == std::string::npos &&
           path.find_first_of(":/") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 1) == 0) {
        if (const auto names = qm::browsers::ProfilesInLocalState(text)) {
            for (const std::string& name : *names) {
                Check(qm::browsers::IsPlainFolderName(name));
                Check(StaysBelow(name) && name.find('\\') == std::string::npos);
            }
        }
        return 0;
    }
    for (const auto& profile : qm::browsers::ProfilesInIni(text)) {
        if (const auto below = qm::browsers::RelativeProfilePath(profile.path))
            Check(StaysBelow(*below));
    }
    return 0;
}
