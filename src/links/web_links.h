#pragma once
// The program's help: every help and contact item opens a page of the maker's web site in
// the user's default browser, without waiting for it and without looking at the outcome.
#include <array>
#include <string_view>

#include "platform/shell.h"

namespace qm::links {

struct WebLink {
    std::string_view control;  // the clickable label or menu item
    std::string_view caption;  // as the program has it: "&&" shows one "&", "&" an access key
    std::string_view address;
};

// The maker's site is the host error reports go to; the forum has a host of its own.
inline constexpr std::array<WebLink, 8> kWebLinks{{
    {"Label12", "Upgrade Questions", "https://www.quillmoss.com/qa.html"},
    {"Label11", "Privacy issues? No problem. Ask us any privacy related question.",
     "https://www.quillmoss.com/privacy.html"},
    {"Label10", "User interactive Forum", "https://forum.quillmoss.com/"},
    {"Label9", "Recommend Quillmoss to a friend", "https://www.quillmoss.com/friend.html"},
    {"Label8", "Suggest new features / improvments", "https://www.quillmoss.com/suggestions.html"},
    {"Label7", "Report a Bug", "https://www.quillmoss.com/bugreport.html"},
    {"mnuHP", "Help &Pages", "https://www.quillmoss.com/help/"},
    {"mnuAbout", "Visit &Us Online", "https://www.quillmoss.com/"},
}};

// The click handler of `control`: opens its page every time it is clicked. Any other
// control, such as the labels that merely show the web and e-mail addresses, does nothing.
void OpenLinkOf(platform::Shell& shell, std::string_view control);

}  // namespace qm::links
