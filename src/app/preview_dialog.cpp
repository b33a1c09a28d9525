#include "app/preview_dialog.h"

#include <utility>

#include "clean/clean_run.h"
#include "cli/preview_session.h"

namespace qm::app {

using controls::ListView;
using dry_run::DryDeletion;

PreviewDialog::PreviewDialog(platform::Platform& platform, settings::SettingsStore& settings)
    : platform_(platform), settings_(settings) {
    items_ = &Add<controls::ListBox>("lstItems", "");
    entries_ = &Add<ListView>("lvwEntries",
                              std::vector<ListView::Column>{{"What"}, {"Path"}, {"Size", true}});
    status_ = &Add<controls::Label>("lblStatus", "");
    cancel_ = &Add<controls::Button>("cmdCancel", "Cancel");
    close_ = &Add<controls::Button>("cmdClose", "Close");
    cancel_->SetOnClick([this] { cmdCancel_Click(); });
    close_->SetOnClick([this] { cmdClose_Click(); });
    // Selecting a summary line opens it up: its entries fill the list below.
    items_->Subscribe([this](controls::Change change) {
        if (change == controls::Change::Selection) ShowEntries();
    });
}

template <class T, class... Args>
T& PreviewDialog::Add(Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    all_.push_back(control.get());
    owned_.push_back(std::move(control));
    return added;
}

controls::Control* PreviewDialog::FindControl(std::string_view name) {
    for (controls::Control* control : all_) {
        if (control->name() == name) return control;
    }
    return nullptr;
}

void PreviewDialog::Run(std::span<const clean::CleaningItem* const> items,
                        std::span<const clean::CustomItem> customs) {
    busy_ = true;
    const auto pump = [this] {
        platform_.loop.PumpPending();
        return !cancelled_;
    };
    cli::PreviewSession session(platform_);
    for (const clean::CleaningItem* item : items) {
        status_->SetCaption("Previewing " + std::string(item->caption) + "...");
        if (!pump()) break;
        records_.push_back(session.Preview(*item, pump));
        cli::PreviewTally tally;
        for (const DryDeletion& deletion : records_.back()) tally.Add(deletion);
        items_->AddItem(std::string(item->caption) + ": " + tally.Text() + tally.KindsText() +
                        (cancelled_ ? " (cancelled)" : ""));
        if (items_->selected_index() < 0) items_->SetSelectedIndex(0);
        if (cancelled_) break;
    }
    for (const clean::CustomItem& custom : customs) {
        if (cancelled_ || !pump()) break;
        records_.push_back(session.Preview(custom));
        cli::PreviewTally tally;
        for (const DryDeletion& deletion : records_.back()) tally.Add(deletion);
        items_->AddItem(custom.place.Caption() + ": " + tally.Text() + tally.KindsText());
        if (items_->selected_index() < 0) items_->SetSelectedIndex(0);
    }
    const std::string done = std::to_string(records_.size()) + " of " +
                             std::to_string(items.size() + customs.size()) + " items previewed";
    status_->SetCaption(cancelled_ ? "Cancelled: " + done + ". Nothing has been deleted."
                                   : "Done: " + done + ". Nothing has been deleted.");
    cancel_->SetVisible(false);
    busy_ = false;
}

void PreviewDialog::cmdClose_Click() {
    cancelled_ = true;
    if (!loaded_) return;
    loaded_ = false;
    on_unload_();
}

void PreviewDialog::ShowEntries() {
    const int selected = items_->selected_index();
    std::vector<ListView::Row> rows;
    if (selected >= 0) {
        for (const DryDeletion& deletion : records_[static_cast<std::size_t>(selected)]) {
            rows.push_back(RowOf(deletion));
        }
    }
    entries_->SetRows(std::move(rows));
}

ListView::Row PreviewDialog::RowOf(const DryDeletion& d) {
    using Kind = DryDeletion::Kind;
    const std::string size = std::to_string(d.size);
    switch (d.kind) {
        case Kind::File:
            return {"file", d.path, size};
        case Kind::Folder:
            return {"folder", d.path, ""};
        case Kind::RegistryKey:
            return {"registry key", d.path, ""};
        case Kind::RegistryValue:
            return {"registry value", d.path + " : " + d.value_name, ""};
        case Kind::UrlCacheEntry:
            return {"cache entry", d.path, ""};
        case Kind::HistoryItem:
            return {"history item", "item number " + d.path + " of the History folder", ""};
        case Kind::RecycleBin:
            return {"recycle bin", "everything in the Recycle Bin", ""};
        case Kind::RecentDocuments:
            return {"recent documents", "the Recent Documents list", ""};
        case Kind::AtRestart:
            return {"at restart", d.path, ""};
        case Kind::Rows:
            return {"rows", d.path + " : " + d.value_name, size};
        case Kind::SessionTrace:
            return {"session", d.path, ""};
        case Kind::Kept:
            break;
    }
    if (d.value_name == dry_run::kKeptExcluded) return {"kept (in an excluded place)", d.path, ""};
    if (d.value_name == dry_run::kKeptPinned) return {"kept (pinned entries)", d.path, ""};
    return {"kept (cookies of a site to keep)", d.path, ""};
}

void PreviewHost::Open() {
    if (dialog_ && dialog_->loaded() && dialog_->busy()) {
        show_(*dialog_);
        return;
    }
    std::vector<const clean::CleaningItem*> ticked;
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        if (box_(item) == 1) ticked.push_back(&item);
    }
    std::vector<clean::CustomItem> customs = clean::DefinedCustomItems(settings_);
    std::erase_if(customs, [&](const clean::CustomItem& c) { return custom_box_(c.slot) != 1; });
    if (ticked.empty() && customs.empty()) {
        platform_.dialogs.MessageBox(clean::kNothingSelectedText, clean::kProgramTitle,
                                     platform::mb::kOk);
        return;
    }
    if (dialog_) {
        dialog_->cmdClose_Click();
        if (dialog_->busy()) retired_.push_back(std::move(dialog_));
    }
    std::erase_if(retired_, [](const auto& retired) { return !retired->busy(); });
    dialog_ = std::make_unique<PreviewDialog>(platform_, settings_);
    PreviewDialog& dialog = *dialog_;
    show_(dialog);
    dialog.Run(ticked, customs);
}

}  // namespace qm::app
