#include "app/main_window.h"

#include <utility>

#include "cleaners/windows_traces.h"
#include "links/web_links.h"

namespace qm::app {

namespace {

constexpr std::string_view kAboutText =
    "We have put in our best efforts to ensure this product is hassle free, user friendly and "
    "easy to use. We have also worked hard to ensure that this product is bug and error free. "
    "However, if you come across a bug or error, we recommend that you write to us so we can "
    "ensure that you find Quillmoss a quality product which is a pleasure to use. If you come "
    "across anything you feel that will make Quillmoss a better product we want to hear about "
    "it !! ";
constexpr std::string_view kWebSiteText = "www.quillmoss.com";
constexpr std::string_view kSupportMailText = "support@quillmoss.com";

}  // namespace

MainWindow::MainWindow(platform::Platform& platform, settings::SettingsStore& settings,
                       errors::ErrorReporter& reporter, sysinfo::SystemDetails& system_details)
    : platform_(platform),
      settings_(settings),
      reporter_(reporter),
      system_details_(system_details),
      clean_run_(*this, platform, settings, reporter),
      toolbar_button_(platform.registry, platform.process, settings) {
    tab_strip1_ = &Add<TabStrip>(
        "TabStrip1", std::vector<std::string>{"Main", "Privacy Settings", "Q && A", "System Info"},
        nullptr);
    for (std::size_t i = 0; i < top_panels_.size(); ++i) {
        top_panels_[i] = &Add<Frame>("frmone", "", nullptr, static_cast<int>(i));
    }
    BuildMainPanel();
    BuildPrivacyPanel();
    BuildQandAPanel();
    BuildSystemInfoPanel();
    errors::SilentStep([&] { RefreshCustomBoxes(); });

    // The window opens on the Main panel with the item strip on its first tab.
    for (std::size_t i = top_panels_.size(); i-- > 0;) top_panels_[i]->BringToFront();
    for (std::size_t i = 0; i < item_panels_.size(); ++i) item_panels_[i]->SetVisible(i == 0);

    tab_strip1_->SetOnClick([this] { TabStrip1_Click(); });
    tab_strip2_->SetOnClick([this] { TabStrip2_Click(); });
    command4_->SetOnClick([this] { Command4_Click(); });
    command5_->SetOnClick([this] { Command5_Click(); });
    command6_->SetOnClick([this] { Command6_Click(); });
    command7_->SetOnClick([this] { Command7_Click(); });
    preview_button_->SetOnClick([this] { cmdPreview_Click(); });
    options_.SetOnPlacesChanged([this] { errors::SilentStep([&] { RefreshCustomBoxes(); }); });
    check1_->SetOnChange([this] { Check1_Click(); });
    add_to_ie_->SetOnClick([this] { cmdAddtoIE_Click(); });
    command2_->SetOnClick([this] { Command2_Click(); });
    clean_and_reboot_->SetOnClick([this] { cmdCleanAndReboot_Click(); });
    // The boss keys work from the moment the window exists, whether it is shown or not.
    boss_keys_.Start(platform_.loop);
}

MainWindow::~MainWindow() {
    platform_.loop.StopTimer(background::kHideIETimerId);
    scheduler_.SwitchOff();
}

template <class T, class... Args>
T& MainWindow::Add(Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    all_.push_back(control.get());
    owned_.push_back(std::move(control));
    return added;
}

void MainWindow::BuildMainPanel() {
    Frame* panel = top_panels_[kMainTab];
    list1_ = &Add<ListBox>("List1", "", panel);
    command4_ = &Add<Button>("Command4", "Exit", panel);
    clean_and_reboot_ = &Add<Button>("cmdCleanAndReboot", "Clean and Reboot", panel);
    command2_ = &Add<Button>("Command2", "Delete from Internet Explorer", panel);
    add_to_ie_ = &Add<Button>("cmdAddtoIE", "Add to Internet Explorer", panel);
    Frame* boss_keys = &Add<Frame>("Frame1", "", panel);
    Add<Label>("Label18", "Boss Keys", boss_keys);
    Add<Label>("Label15", "F9 = Hide IE Windows", boss_keys);
    Add<Label>("Label16", "F10 = Restore IE Windows", boss_keys);
}

void MainWindow::BuildPrivacyPanel() {
    Frame* panel = top_panels_[kPrivacyTab];
    std::vector<std::string> tab_captions;
    for (const auto& item_panel : clean::PanelsInTabOrder()) {
        tab_captions.emplace_back(item_panel.tab_caption);
    }
    tab_strip2_ = &Add<TabStrip>("TabStrip2", std::move(tab_captions), panel);

    for (const auto& item_panel : clean::PanelsInTabOrder()) {
        const auto slot = static_cast<std::size_t>(item_panel.tab - 1);
        Frame* frame = &Add<Frame>("frmPopularFolders", "", panel, item_panel.tab - 1);
        item_panels_[slot] = frame;
        bool greyed = false;
        for (const clean::CleaningItem* item : clean::ItemsOfPanel(item_panel.tab)) {
            CheckBox& box =
                Add<CheckBox>(std::string(item->check_box), std::string(item->caption), frame);
            box.SetOnChange([this, item] { OnItemBoxChanged(*item); });
            // Greyed where this Windows keeps no such trace.
            if (!cleaners::HasWindowsTrace(platform_, item->value_name)) {
                box.SetEnabled(false);
                greyed = true;
            }
            item_boxes_[static_cast<std::size_t>(item->run_position - 1)] = &box;
        }
        if (item_panel.tab == clean::kCustomPanel) {
            for (int custom = 1; custom <= cleaners::kCustomSlots; ++custom) {
                CheckBox& box = Add<CheckBox>(cleaners::CustomBoxName(custom), "", frame);
                box.SetVisible(false);
                box.SetOnChange([this, custom] { OnCustomBoxChanged(custom); });
                custom_boxes_[static_cast<std::size_t>(custom - 1)] = &box;
            }
        }
        hint_labels_[slot] =
            &Add<Label>(std::string(item_panel.hint_label),
                        greyed ? "Greyed items: this Windows keeps no such trace." : "", frame);
        if (!item_panel.extra_label.empty()) {
            Add<Label>(std::string(item_panel.extra_label), std::string(item_panel.extra_text),
                       frame);
        }
    }

    check1_ = &Add<CheckBox>("Check1", "Remember Last Checked Items", panel);
    command5_ = &Add<Button>("Command5", "Select All", panel);
    command6_ = &Add<Button>("Command6", "Deselect All", panel);
    command7_ = &Add<Button>("Command7", "Clean All Selected Items", panel);
    preview_button_ = &Add<Button>("cmdPreview", "Preview", panel);
}

void MainWindow::BuildQandAPanel() {
    Frame* panel = top_panels_[kQandATab];
    Frame* about = &Add<Frame>("Frame3", "About Quillmoss", panel);
    Add<Label>("Label6", std::string(kAboutText), about);

    Frame* questions = &Add<Frame>("Frame2", "Q && A", panel);
    Add<Label>("Label5",
               "With our help pages, user interactive boards we will try to help you with as many "
               "internet privacy related questions that you may have.",
               questions);
    // The panel's links are the labels of the link table; the menu's help items are not here.
    for (const links::WebLink& link : links::kWebLinks) {
        if (!link.control.starts_with("Label")) continue;
        const std::string_view control = link.control;
        Add<Label>(std::string(control), std::string(link.caption), questions)
            .SetOnClick([this, control] { WebLink_Click(control); });
    }
    // The contact data only shows; clicking it does nothing.
    Add<Label>("Label14", std::string(kWebSiteText), questions);
    Add<Label>("Label13", std::string(kSupportMailText), questions);
}

void MainWindow::BuildSystemInfoPanel() {
    Frame* panel = top_panels_[kSystemInfoTab];
    Frame* processors = &Add<Frame>("Frame4", "Processors", panel);
    Add<Label>("Label19", "Processor Type:", processors);
    value_labels_.processor_type = &Add<Label>("Label21", "", processors);
    Add<Label>("Label20", "Number of Processors:", processors);
    value_labels_.processor_count = &Add<Label>("Label22", "", processors);

    Frame* memory = &Add<Frame>("Frame5", "Memory", panel);
    Add<Label>("Label23", "Total Memory:", memory);
    value_labels_.total_memory = &Add<Label>("Label25", "", memory);
    Add<Label>("Label24", "Available Memory:", memory);
    value_labels_.available_memory = &Add<Label>("Label26", "", memory);

    Frame* windows = &Add<Frame>("Frame6", "Windows", panel);
    Add<Label>("Label27", "OS Name:", windows);
    value_labels_.os_name = &Add<Label>("Label29", "", windows);
    Add<Label>("Label28", "OS Version:", windows);
    value_labels_.os_version = &Add<Label>("Label30", "", windows);
}

CheckBox& MainWindow::ItemBox(const clean::CleaningItem& item) {
    return *item_boxes_.at(static_cast<std::size_t>(item.run_position - 1));
}

Label& MainWindow::HintLabel(int panel) {
    return *hint_labels_.at(static_cast<std::size_t>(panel - 1));
}

Control* MainWindow::FindControl(std::string_view name, int index) {
    for (Control* control : all_) {
        if (control->name() == name && control->index() == index) return control;
    }
    return nullptr;
}

std::size_t MainWindow::FrontTopPanel() const {
    std::size_t front = 0;
    std::uint64_t front_z = 0;
    for (std::size_t i = 0; i < top_panels_.size(); ++i) {
        const Frame& panel = *top_panels_[i];
        if (panel.visible() && panel.z_order() >= front_z) {
            front = i;
            front_z = panel.z_order();
        }
    }
    return front;
}

}  // namespace qm::app
