#include "app/main_menu.h"

#include "app/main_window.h"
#include "links/web_links.h"

namespace qm::app {

MainMenu::MainMenu(MainWindow& window) {
    auto item = [&window](std::string name, std::string caption, void (MainWindow::*handler)()) {
        return MenuItem{std::move(name), std::move(caption),
                        [&window, handler] { (window.*handler)(); }};
    };
    // The help items open their pages like the panel's links; their captions live with them.
    auto link = [&window](std::string_view name) {
        std::string caption;
        for (const links::WebLink& web_link : links::kWebLinks) {
            if (web_link.control == name) caption = web_link.caption;
        }
        return MenuItem{std::string(name), std::move(caption),
                        [&window, name] { window.WebLink_Click(name); }};
    };
    const MenuItem separator{};

    menus_.push_back({"&File", {item("mnuExit", "E&xit", &MainWindow::mnuExit_Click)}});
    menus_.push_back({"&Option",
                      {item("mnuAddIE", "&Add To IE", &MainWindow::mnuAddIE_Click),
                       item("mnuDeleteIE", "&Delete From IE", &MainWindow::mnuDeleteIE_Click),
                       item("mnuCR", "&Clean && Reboot", &MainWindow::mnuCR_Click), separator,
                       item("mnuAs", "&Advance Settings", &MainWindow::mnuAs_Click)}});
    menus_.push_back({"&Help", {link("mnuHP"), separator, link("mnuAbout")}});
}

const MenuItem* MainMenu::FindItem(std::string_view name) const {
    for (const Menu& menu : menus_) {
        for (const MenuItem& item : menu.items) {
            if (!item.separator() && item.name == name) return &item;
        }
    }
    return nullptr;
}

}  // namespace qm::app
