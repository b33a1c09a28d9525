#include "links/web_links.h"

#include "errors/error_reporter.h"

namespace qm::links {

void OpenLinkOf(platform::Shell& shell, std::string_view control) {
    for (const WebLink& link : kWebLinks) {
        if (link.control == control) {
            errors::SilentStep([&] { shell.OpenInBrowser(link.address); });
            return;
        }
    }
}

}  // namespace qm::links
