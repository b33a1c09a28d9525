#include "gui/menu_bar.h"

#include <array>

#include "gui/control_ids.h"
#include "platform/win32/wide_text.h"

namespace qm::gui {
namespace {

struct Command {
    std::string_view item;
    MenuCommandId id;
};

constexpr std::array kCommands = {
    Command{"mnuExit", kMnuExit},
    Command{"mnuAddIE", kMnuAddIE},
    Command{"mnuDeleteIE", kMnuDeleteIE},
    Command{"mnuCR", kMnuCR},
    Command{"mnuAs", kMnuAs},
    Command{"mnuHP", kMnuHP},
    Command{"mnuAbout", kMnuAbout},
};

int IdOf(std::string_view item) {
    for (const Command& command : kCommands) {
        if (command.item == item) return command.id;
    }
    return 0;
}

}  // namespace

MenuBar::MenuBar(const app::MainMenu& model) : model_(model), bar_(CreateMenu()) {
    for (const app::Menu& menu : model.menus()) {
        HMENU popup = BuildPopup(menu);
        // Menu captions keep the program's "&" access keys; "&&" shows one "&" here too.
        AppendMenuW(bar_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                    win32::ToWide(menu.caption).c_str());
    }
}

HMENU MenuBar::BuildPopup(const app::Menu& menu) const {
    HMENU popup = CreatePopupMenu();
    for (const app::MenuItem& item : menu.items) {
        if (item.separator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else if (const int id = IdOf(item.name)) {
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(id),
                        win32::ToWide(item.caption).c_str());
        }
    }
    return popup;
}

bool MenuBar::OnCommand(int id) const {
    for (const Command& command : kCommands) {
        if (command.id != id) continue;
        const app::MenuItem* item = model_.FindItem(command.item);
        if (!item) return false;
        item->Click();
        return true;
    }
    return false;
}

}  // namespace qm::gui
