#pragma once
// Where a command-line run of this window program writes its report: to the file or pipe its
// standard output was redirected to, else to the console of the program that started it.
#include <string_view>

namespace qm::gui {

void WriteToStarter(std::string_view utf8_text);

}  // namespace qm::gui
