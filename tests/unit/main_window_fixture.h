#pragma once
// A main window on a fresh simulated machine, with every error report captured.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "platform/sim/machine.h"

namespace qm::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest()
        : reporter_([] { return true; },
                    [this](const std::string& address) { reports_.push_back(address); }),
          settings_(machine_.registry(), machine_.process(), reporter_),
          file_tools_(machine_.files(), machine_.shell(), reporter_),
          details_(machine_.system(), settings_, reporter_),
          window_(machine_.platform(), settings_, reporter_, details_) {}

    // The settings value as stored, or "<absent>".
    std::string Setting(std::string_view name) {
        return settings_.GetSettingString(settings::kSettingsRoot, settings::kSettingsPath, name,
                                          "<absent>");
    }
    void Tick(std::string_view check_box) {
        window_.ItemBox(*clean::FindByCheckBox(check_box)).SetValue(1);
    }
    // Chooses a menu item by its program name, as the user does.
    void Choose(std::string_view item) {
        const app::MenuItem* found = menu_.FindItem(item);
        ASSERT_TRUE(found) << item;
        found->Click();
    }
    // The four lines GetInfo writes on the default machine.
    std::vector<std::string> StatusLines() {
        return {"Your Computer has been running for..." + details_.GetUpTimeMinutes() + " Minutes",
                "OS Microsoft Windows XP", "IE version " + details_.GetIEVersion(),
                "Quillmoss is ready..."};
    }

    sim::Machine machine_;
    std::vector<std::string> reports_;
    errors::ErrorReporter reporter_;
    settings::SettingsStore settings_;
    cleaners::FileTools file_tools_;
    sysinfo::SystemDetails details_;
    app::MainWindow window_;
    app::MainMenu menu_{window_};
};

}  // namespace qm::testing
