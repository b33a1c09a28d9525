#include "controls/controls.h"

#include <algorithm>
#include <utility>

namespace qm::controls {

namespace {
// One counter for the whole window: only the relative order of siblings matters.
std::uint64_t next_z_order = 0;
}  // namespace

Control::Control(std::string name, std::string caption, Control* parent, int index)
    : name_(std::move(name)), caption_(std::move(caption)), parent_(parent), index_(index) {}

void Control::SetCaption(std::string_view caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Change::Caption);
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify(Change::Visibility);
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Notify(Change::Enabled);
}

void Control::BringToFront() {
    z_order_ = ++next_z_order;
    Notify(Change::ZOrder);
}

int Control::Subscribe(Listener listener) {
    const int id = next_id_++;
    listeners_.push_back({id, std::move(listener)});
    return id;
}

void Control::Unsubscribe(int id) {
    std::erase_if(listeners_, [id](const Subscription& s) { return s.id == id; });
}

void Control::Notify(Change change) {
    // A listener may subscribe or unsubscribe while being told; tell the ones present now.
    const auto listeners = listeners_;
    for (const auto& subscription : listeners) subscription.listener(change);
}

void Clickable::Click() {
    // A greyed control takes no click, as Windows sends it none.
    if (enabled() && on_click_) on_click_();
}

void CheckBox::SetValue(int value) {
    if (value_ == value) return;
    value_ = value;
    Notify(Change::Value);
    if (on_change_) on_change_();
}

void ListBox::Clear() {
    lines_.clear();
    const bool had_selection = selected_ != -1;
    selected_ = -1;
    Notify(Change::Lines);
    if (had_selection) Notify(Change::Selection);
}

void ListBox::AddItem(std::string_view line) {
    lines_.emplace_back(line);
    Notify(Change::Lines);
}

void ListBox::SetSelectedIndex(int index) {
    if (index < -1 || index >= static_cast<int>(lines_.size())) return;
    if (selected_ == index) return;
    selected_ = index;
    Notify(Change::Selection);
}

void TextBox::SetText(std::string_view text) {
    if (text_ == text) return;
    text_ = text;
    Notify(Change::Text);
}

ComboBox::ComboBox(std::string name, std::vector<std::string> items, Control* parent)
    : TextBox(std::move(name), "", parent), items_(std::move(items)) {}

void ComboBox::SetItems(std::vector<std::string> items) {
    if (items == items_) return;
    items_ = std::move(items);
    Notify(Change::Lines);
}

void ComboBox::PickItem(std::size_t index) {
    if (index < items_.size()) SetText(items_[index]);
}

void ComboBox::KeyUp(int virtual_key) {
    if (on_key_up_) on_key_up_(virtual_key);
}

TabStrip::TabStrip(std::string name, std::vector<std::string> tab_captions, Control* parent)
    : Control(std::move(name), "", parent), tabs_(std::move(tab_captions)) {}

void TabStrip::SelectTab(std::size_t index) {
    if (index >= tabs_.size() || index == selected_) return;
    selected_ = index;
    Notify(Change::Selection);
    if (on_click_) on_click_();
}

void TabStrip::KeyDown(int virtual_key) {
    if (virtual_key == vk::kLeft && selected_ > 0) {
        SelectTab(selected_ - 1);
    } else if (virtual_key == vk::kRight && selected_ + 1 < tabs_.size()) {
        SelectTab(selected_ + 1);
    }
}

}  // namespace qm::controls
