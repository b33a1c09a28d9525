#pragma once
// The Preview dialog behind the privacy panel's "Preview" button: the dry run of the ticked
// items, item by item, shown as one summary line per item and, for the line selected, every
// entry that would go (or stays) in a sortable list. Nothing is deleted. The run pumps the
// window's messages between items and between steps, so the windows repaint and "Cancel"
// is heard while it runs.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clean/catalogue.h"
#include "clean/custom_items.h"
#include "controls/controls.h"
#include "controls/list_view.h"
#include "platform/dry_run/dry_record.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::app {

inline constexpr std::string_view kPreviewCaption = "Preview";

class PreviewDialog {
  public:
    PreviewDialog(platform::Platform& platform, settings::SettingsStore& settings);
    PreviewDialog(const PreviewDialog&) = delete;
    PreviewDialog& operator=(const PreviewDialog&) = delete;

    const std::string& caption() const { return caption_; }
    controls::ListBox& lstItems() { return *items_; }
    controls::ListView& lvwEntries() { return *entries_; }
    controls::Label& lblStatus() { return *status_; }
    controls::Button& cmdCancel() { return *cancel_; }
    controls::Button& cmdClose() { return *close_; }
    controls::Control* FindControl(std::string_view name);
    const std::vector<controls::Control*>& AllControls() const { return all_; }

    // Previews `items` in the order given, then the own places `customs`; returns when all
    // are done or the user cancelled.
    void Run(std::span<const clean::CleaningItem* const> items,
             std::span<const clean::CustomItem> customs = {});
    // One record per summary line, in the same order.
    const std::vector<std::vector<dry_run::DryDeletion>>& records() const { return records_; }
    bool busy() const { return busy_; }
    bool cancelled() const { return cancelled_; }
    bool loaded() const { return loaded_; }

    void cmdCancel_Click() { cancelled_ = true; }
    // Close (and Esc): stops a run, and the dialog goes.
    void cmdClose_Click();
    void SetOnUnload(std::function<void()> unload) { on_unload_ = std::move(unload); }

  private:
    template <class T, class... Args>
    T& Add(Args&&... args);
    void ShowEntries();
    controls::ListView::Row RowOf(const dry_run::DryDeletion& deletion);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    std::string caption_{kPreviewCaption};
    std::vector<std::unique_ptr<controls::Control>> owned_;
    std::vector<controls::Control*> all_;
    controls::ListBox* items_ = nullptr;
    controls::ListView* entries_ = nullptr;
    controls::Label* status_ = nullptr;
    controls::Button* cancel_ = nullptr;
    controls::Button* close_ = nullptr;
    std::vector<std::vector<dry_run::DryDeletion>> records_;
    bool busy_ = false;
    bool cancelled_ = false;
    bool loaded_ = true;
    std::function<void()> on_unload_ = [] {};
};

// Where the main window keeps its Preview dialog: one at a time, made afresh for each run.
class PreviewHost {
  public:
    using BoxValue = std::function<int(const clean::CleaningItem&)>;
    using CustomBoxValue = std::function<int(int slot)>;
    PreviewHost(
        platform::Platform& platform, settings::SettingsStore& settings, BoxValue box,
        CustomBoxValue custom_box = [](int) { return 0; })
        : platform_(platform),
          settings_(settings),
          box_(std::move(box)),
          custom_box_(std::move(custom_box)) {}

    // cmdPreview_Click: nothing ticked says so, as the clean does; a run in progress comes
    // forward; otherwise a new dialog shows and previews the ticked items in run order.
    void Open();
    PreviewDialog* dialog() { return dialog_ && dialog_->loaded() ? dialog_.get() : nullptr; }
    void SetView(std::function<void(PreviewDialog&)> show) { show_ = std::move(show); }

  private:
    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    BoxValue box_;
    CustomBoxValue custom_box_;
    std::function<void(PreviewDialog&)> show_ = [](PreviewDialog&) {};
    std::unique_ptr<PreviewDialog> dialog_;
    // Closed dialogs whose run had not yet returned when the next one opened.
    std::vector<std::unique_ptr<PreviewDialog>> retired_;
};

}  // namespace qm::app
