// What the main window does when a tab is selected, and the status lines it writes.
#include "app/main_window.h"

#include "links/web_links.h"

namespace qm::app {

using errors::SilentStep;

void MainWindow::TabStrip1_Click() {
    const std::size_t s = tab_strip1_->selected_index();
    SilentStep([&] { top_panels_[s]->BringToFront(); });

    if (s == kPrivacyTab) {
        SilentStep([&] {
            item_panels_[0]->SetVisible(true);
            for (std::size_t i = 1; i <= 3; ++i) item_panels_[i]->SetVisible(false);
        });
        // Back to the first item tab the way the program always has: one left-arrow key-down
        // per step, each of which runs TabStrip2_Click.
        const std::size_t t = tab_strip2_->selected_index();
        for (std::size_t i = 0; i < t; ++i) {
            SilentStep([&] { tab_strip2_->KeyDown(vk::kLeft); });
        }
    }

    if (s == kSystemInfoTab) {
        SilentStep([&] { system_details_.GetProcessor(system_values_); });
        SilentStep([&] { system_details_.MemInfo(system_values_); });
        SilentStep([&] { system_details_.GetOSName(system_values_); });
        ShowSystemInfoLabels();
    }

    SilentStep([&] { list1_->Clear(); });
    GetInfo();
}

void MainWindow::TabStrip2_Click() {
    const std::size_t t = tab_strip2_->selected_index();
    // The places may have changed in Advanced Settings since the panel last showed.
    if (t + 1 == static_cast<std::size_t>(clean::kCustomPanel))
        SilentStep([&] { RefreshCustomBoxes(); });
    SilentStep([&] { item_panels_[t]->BringToFront(); });
    for (std::size_t i = 0; i < item_panels_.size(); ++i) {
        SilentStep([&] { item_panels_[i]->SetVisible(i == t); });
    }
}

void MainWindow::GetInfo() {
    // Each line is one statement: a line whose value cannot be had is left out and the
    // others are still written.
    SilentStep([&] {
        list1_->AddItem("Your Computer has been running for..." +
                        system_details_.GetUpTimeMinutes() + " Minutes");
    });
    SilentStep([&] {
        const std::string name = system_details_.GetOSName(system_values_);
        ShowSystemInfoLabels();
        list1_->AddItem("OS Microsoft Windows " + name);
    });
    SilentStep([&] { list1_->AddItem("IE version " + system_details_.GetIEVersion()); });
    SilentStep([&] { list1_->AddItem("Quillmoss is ready..."); });
}

void MainWindow::cmdAddtoIE_Click() {
    SilentStep([&] { list1_->Clear(); });
    GetInfo();
    toolbar_button_.AddIEToolbarButton();
}

void MainWindow::Command2_Click() {
    SilentStep([&] { list1_->Clear(); });
    GetInfo();
    toolbar_button_.DeleteIEToolbarButton();
}

void MainWindow::WebLink_Click(std::string_view control) {
    links::OpenLinkOf(platform_.shell, control);
}

void MainWindow::ShowSystemInfoLabels() {
    value_labels_.processor_type->SetCaption(system_values_.processor_type);
    value_labels_.processor_count->SetCaption(system_values_.processor_count);
    value_labels_.total_memory->SetCaption(system_values_.total_memory);
    value_labels_.available_memory->SetCaption(system_values_.available_memory);
    value_labels_.os_name->SetCaption(system_values_.os_name);
    value_labels_.os_version->SetCaption(system_values_.os_version);
}

void MainWindow::ClearProgress() {
    list1_->Clear();
}

void MainWindow::AppendProgress(std::string_view line) {
    list1_->AddItem(line);
}

void MainWindow::SelectLastProgressLine() {
    list1_->SetSelectedIndex(static_cast<int>(list1_->count()) - 1);
}

void MainWindow::SendLeftArrowToTopTabs() {
    tab_strip1_->KeyDown(vk::kLeft);
}

int MainWindow::CustomBoxValue(int slot) {
    return CustomBox(slot).visible() ? CustomBox(slot).value() : 0;
}

int MainWindow::BoxValue(const clean::CleaningItem& item) {
    return ItemBox(item).value();
}

}  // namespace qm::app
