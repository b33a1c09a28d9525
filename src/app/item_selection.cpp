// The item boxes around a clean run: panel hints, "Select All" / "Deselect All", and the
// memory that ticks at start-up what the last confirmed run cleaned.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "browsers/browser_profiles.h"
#include "clean/policy_items.h"
#include "errors/labels.h"

namespace qm::app {
namespace {

using errors::ReportingStep;
using errors::SilentStep;
namespace label = errors::label;

constexpr std::string_view kRemember = "remember";
constexpr std::string_view kFirstReadText = "aa";
constexpr std::string_view kPolicyItemsHint = "Your organisation set the greyed items.";

// The order in which the restore ticks the boxes. It is not the run order, and it decides
// which hint a panel shows afterwards: the last ticked item of the panel that has one.
constexpr std::array<std::string_view, clean::kItemCount> kRestoreOrder = {
    "wzip1",       "wzip2",       "wordpad",   "paint",      "media",      "docs",
    "rmenu",       "temp",        "recycle",   "findfile",   "autocom",    "ihistory",
    "urllist",     "iecache",     "index",     "cookies",    "operach",    "operacoo",
    "operaType",   "netch",       "netcoo",    "nettypeurl", "msoffice",   "outlookd",
    "chromehist",  "chromecache", "chromecoo", "chromesess", "chromeform", "ffhist",
    "ffcache",     "ffcoo",       "ffsess",    "ffform",     "jumplists",  "thumbcache",
    "explorermru", "clipboard",   "dnscache",  "winerrors",
};

constexpr bool NamesEveryItemOnce() {
    for (const auto& item : clean::kCatalogue) {
        int seen = 0;
        for (std::string_view name : kRestoreOrder) seen += name == item.value_name ? 1 : 0;
        if (seen != 1) return false;
    }
    return true;
}
static_assert(NamesEveryItemOnce(), "the restore order must name each item value once");

// Only spaces, as the tab captions have always been compared.
std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void MainWindow::OnItemBoxChanged(const clean::CleaningItem& item) {
    if (const auto family = clean::BrowserFamilyOf(item)) {
        // A browser item says which profiles it would clean, as found this moment.
        std::string found;
        if (ItemBox(item).value() == 1) {
            browsers::ProfileFinder finder(platform_);
            found = browsers::FoundText(
                *family == clean::BrowserFamily::Chromium ? finder.Chromium() : finder.Firefox());
            if (found.empty()) found = "No profile found.";
        }
        return SilentStep([&] { HintLabel(item.panel).SetCaption(found); });
    }
    // The mail item has no hint and leaves whatever the label shows.
    if (item.hint.empty()) return;
    SilentStep(
        [&] { HintLabel(item.panel).SetCaption(ItemBox(item).value() == 1 ? item.hint : ""); });
}

void MainWindow::OnCustomBoxChanged(int slot) {
    CheckBox& box = CustomBox(slot);
    SilentStep([&] {
        HintLabel(clean::kCustomPanel).SetCaption(box.value() == 1 ? "Clean " + box.caption() : "");
    });
}

void MainWindow::RefreshCustomBoxes() {
    std::array<const clean::CustomItem*, cleaners::kCustomSlots> held{};
    const std::vector<clean::CustomItem> items = clean::DefinedCustomItems(settings_);
    for (const clean::CustomItem& item : items)
        held[static_cast<std::size_t>(item.slot - 1)] = &item;
    for (int slot = 1; slot <= cleaners::kCustomSlots; ++slot) {
        const clean::CustomItem* item = held[static_cast<std::size_t>(slot - 1)];
        CheckBox& box = CustomBox(slot);
        if (!item) box.SetValue(0);
        // Captions show "&&" as "&"; a path may hold an ampersand.
        std::string caption;
        if (item) {
            for (const char c : item->place.Caption())
                caption += c == '&' ? "&&" : std::string(1, c);
        }
        box.SetCaption(caption);
        box.SetVisible(item != nullptr);
        // A place added while the organisation sets the items is not ticked by the user.
        if (items_by_policy_) box.SetEnabled(false);
    }
}

void MainWindow::Command5_Click() {
    SetSelectedPanelBoxes(label::kForm1Command5Click, 1);
}

void MainWindow::Command6_Click() {
    SetSelectedPanelBoxes(label::kForm1Command6Click, 0);
}

void MainWindow::SetSelectedPanelBoxes(std::string_view error_label, int value) {
    std::vector<const clean::CleaningItem*> items;
    ReportingStep(reporter_, error_label, [&] {
        items = clean::ItemsOfPanel(TrimSpaces(tab_strip2_->selected_caption()));
    });
    // Box by box in panel order, so the hint left is that of the last box that changed.
    // A greyed box is not the user's to change.
    for (const clean::CleaningItem* item : items) {
        ReportingStep(reporter_, error_label, [&] {
            if (ItemBox(*item).enabled()) ItemBox(*item).SetValue(value);
        });
    }
    if (tab_strip2_->selected_index() + 1 != static_cast<std::size_t>(clean::kCustomPanel)) return;
    for (CheckBox* box : custom_boxes_) {
        if (box->visible() && box->enabled()) box->SetValue(value);
    }
}

void MainWindow::Check1_Click() {
    // Takes effect at the next start; the running window keeps its boxes as they are.
    SilentStep([&] {
        if (check1_->value() == 1) {
            ReadCreatingDefault(kRemember);
        } else {
            settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, kRemember);
        }
    });
}

std::string MainWindow::ReadCreatingDefault(std::string_view name) {
    return settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath, name,
                                        kFirstReadText);
}

void MainWindow::RestoreCheckedItems() {
    // Part of start-up, so its errors go out under the start-up's label and the next step runs.
    std::string remember;
    ReportingStep(reporter_, label::kForm1Load, [&] { remember = ReadCreatingDefault(kRemember); });
    if (remember.empty()) {
        // The read has just created the switch; a first start must leave the memory off.
        ReportingStep(reporter_, label::kForm1Load, [&] {
            settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, kRemember);
        });
        return;
    }
    ReportingStep(reporter_, label::kForm1Load, [&] { check1_->SetValue(1); });
    for (std::string_view name : kRestoreOrder) {
        ReportingStep(reporter_, label::kForm1Load, [&] {
            // "tt" after a run that cleaned it; "uu", or the "aa" a first read writes, do not.
            if (settings::ContainsLetter(ReadCreatingDefault(name), 't')) {
                ItemBox(*clean::FindByValueName(name)).SetValue(1);
            }
        });
    }
    ReportingStep(reporter_, label::kForm1Load, [&] {
        RefreshCustomBoxes();
        for (const clean::CustomItem& item : clean::DefinedCustomItems(settings_)) {
            if (settings::ContainsLetter(settings_.Get(item.value_name), 't'))
                CustomBox(item.slot).SetValue(1);
        }
    });
    ReportingStep(reporter_, label::kForm1Load, [&] { rearm_schedule_(); });
}

void MainWindow::ApplyPolicies() {
    std::optional<clean::PolicyItems> policy;
    ReportingStep(reporter_, label::kForm1Load, [&] { policy = clean::ItemsByPolicy(settings_); });
    if (policy) {
        ReportingStep(reporter_, label::kForm1Load, [&] {
            for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
                CheckBox& box = ItemBox(item);
                const bool listed = std::find(policy->items.begin(), policy->items.end(), &item) !=
                                    policy->items.end();
                // An item this Windows has no trace of stays unticked, as its box is greyed.
                if (box.enabled()) box.SetValue(listed ? 1 : 0);
                box.SetEnabled(false);
            }
            for (int slot = 1; slot <= cleaners::kCustomSlots; ++slot) {
                const bool listed =
                    std::any_of(policy->customs.begin(), policy->customs.end(),
                                [slot](const clean::CustomItem& c) { return c.slot == slot; });
                CustomBox(slot).SetValue(listed ? 1 : 0);
                CustomBox(slot).SetEnabled(false);
            }
            items_by_policy_ = true;
            // Remembering ticks means nothing while the organisation sets them.
            check1_->SetEnabled(false);
            for (Label* hint : hint_labels_) hint->SetCaption(std::string(kPolicyItemsHint));
        });
    }
    // A schedule the organisation sets runs whether or not the user's ticks are remembered.
    ReportingStep(reporter_, label::kForm1Load, [&] {
        const bool remembered = check1_->value() == 1;
        if (!remembered && settings_.policies().Governs("schedclean")) rearm_schedule_();
    });
}

}  // namespace qm::app
