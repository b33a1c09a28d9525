#include "ietoolbar/ie_toolbar.h"

#include "errors/error_reporter.h"
#include "paths/ascii_case.h"

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
        platform::RegKey key = 0;
        const platform::Status machine_wide =
            registry_.CreateKey(Root::LocalMachine, kButtonKey, key);
        if (machine_wide == platform::kOk) {
            registry_.CloseKey(key);
        } else if (machine_wide != platform::kErrorAccessDenied) {
            // Only a user without the rights (a standard user on Vista and later) gets a button
            // of their own; a machine that fails otherwise gets none.
            return;
        }
        const Root root = machine_wide == platform::kOk ? Root::LocalMachine : Root::CurrentUser;
        const std::array<ButtonValue, 8> values = ButtonValues(process_);
        // Each write stands alone: one that fails leaves the others to be tried.
        for (const ButtonValue& value : values) {
            settings_.SaveSettingString(root, kButtonKey, value.name, value.text);
        }
        if (root == Root::LocalMachine) RemoveUserButtonOfAnotherCopy(values[3].text);
    });
}

void ToolbarButton::RemoveUserButtonOfAnotherCopy(std::string_view exec) {
    // Internet Explorer takes the user's button over the machine's: one left there by a copy in
    // another folder (an earlier per-user add) would go on starting that copy.
    const std::string theirs =
        settings_.GetSettingString(Root::CurrentUser, kButtonKey, "Exec", "");
    if (!theirs.empty() && paths::UpperAscii(theirs) != paths::UpperAscii(exec)) {
        settings_.DeleteKey(Root::CurrentUser, kButtonKey);
    }
}

void ToolbarButton::DeleteIEToolbarButton() {
    settings_.DeleteKey(Root::LocalMachine, kButtonKey);
    settings_.DeleteKey(Root::CurrentUser, kButtonKey);
}

}  // namespace qm::ietoolbar
