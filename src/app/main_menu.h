#pragma once
// The main window's menu bar as a model: "&File", "&Option" and "&Help". Captions are stored as
// the program has them: "&" marks the access key and "&&" shows a single "&". Each item runs
// its MainWindow handler when chosen. The notification-area icon's pop-up menu is the
// window's own (MainWindow::TrayIcon_Notify).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::app {

class MainWindow;

struct MenuItem {
    std::string name;     // program name ("mnuExit"); empty for a separator
    std::string caption;  // empty for a separator
    std::function<void()> on_click;

    bool separator() const { return name.empty(); }
    void Click() const {
        if (on_click) on_click();
    }
};

struct Menu {
    std::string caption;
    std::vector<MenuItem> items;
};

class MainMenu {
  public:
    explicit MainMenu(MainWindow& window);

    // Every menu in the order the bar shows them.
    const std::vector<Menu>& menus() const { return menus_; }
    // The item with this program name; null if none.
    const MenuItem* FindItem(std::string_view name) const;

  private:
    std::vector<Menu> menus_;
};

}  // namespace qm::app
