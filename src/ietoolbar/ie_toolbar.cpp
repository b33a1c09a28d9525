#include "ietoolbar/ie_toolbar.h"

#include "errors/error_reporter.h"

namespace qm::ietoolbar {

using platform::Root;

std::array<ButtonValue, 8> ButtonValues(platform::Process& process) {
    // The folder keeps its own backslash for a drive root, so C:\ gives "C:\\iconwipe.ico".
    // Windows folds the doubled separator when it opens the path, and the toolbar buttons
    // already out there hold exactly these bytes, so it is left as it always was.
    const std::string folder = process.ProgramFolder() + "\\";
    const std::string icon = folder + std::string(kIconFile);
    const std::string text = "Quillmoss";
    return {{
        {"ButtonText", text},
        // Internet Explorer's class for a toolbar button that runs a program.
        {"CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"},
        {"Default Visible", "Yes"},
        {"Exec", folder + process.ProgramName()},
        {"HotIcon", icon},
        {"Icon", icon},
        {"MenuStatusBar", text},
        {"MenuText", text},
    }};
}

void ToolbarButton::AddIEToolbarButton() {
    errors::SilentStep([&] {
        Root root = Root::LocalMachine;
        platform::RegKey key = 0;
        if (registry_.CreateKey(root, kButtonKey, key) == platform::kOk) {
            registry_.CloseKey(key);
        } else {
            root = Root::CurrentUser;
        }
        // Each write stands alone: one that fails leaves the others to be tried.
        for (const ButtonValue& value : ButtonValues(process_)) {
            settings_.SaveSettingString(root, kButtonKey, value.name, value.text);
        }
    });
}

void ToolbarButton::DeleteIEToolbarButton() {
    settings_.DeleteKey(Root::LocalMachine, kButtonKey);
    settings_.DeleteKey(Root::CurrentUser, kButtonKey);
}

}  // namespace qm::ietoolbar
