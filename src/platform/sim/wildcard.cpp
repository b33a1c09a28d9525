#include "platform/sim/wildcard.h"

#include <string>

#include "platform/sim/text_fold.h"

namespace qm::sim {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") pattern = "*";
    const std::u32string mask = ToCodePoints(FoldCase(pattern));
    const std::u32string text = ToCodePoints(FoldCase(name));

    std::size_t m = 0;
    std::size_t n = 0;
    std::size_t star = std::u32string::npos;  // mask position just after the last '*'
    std::size_t star_text = 0;                // text position that '*' currently swallows to
    while (n < text.size()) {
        if (m < mask.size() && mask[m] == U'*') {
            star = ++m;
            star_text = n;
        } else if (m < mask.size() && (mask[m] == U'?' || mask[m] == text[n])) {
            ++m;
            ++n;
        } else if (star != std::u32string::npos) {
            m = star;
            n = ++star_text;
        } else {
            return false;
        }
    }
    while (m < mask.size() && (mask[m] == U'*' || mask[m] == U'.')) ++m;
    return m == mask.size();
}

}  // namespace qm::sim
