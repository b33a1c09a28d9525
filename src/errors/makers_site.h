#pragma once
// The maker's web site: error reports, update files and help pages all live there.
#include <string_view>

namespace qm::errors {

inline constexpr std::string_view kMakersSite = "https://www.quillmoss.com";

}  // namespace qm::errors
