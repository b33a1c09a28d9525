#pragma once
// Plain models of the controls of the main window and the options dialog. Each holds its
// program name, its caption and its state; the Win32 view subscribes to changes and forwards
// user actions to the methods below, which run the program's handlers. Nothing here knows
// about windows or messages.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::controls {

// What changed, so a view can update only that part of its native control.
enum class Change {
    Caption,     // caption or label text
    Visibility,  // shown or hidden
    ZOrder,      // brought in front of its siblings
    Value,       // check-box state
    Lines,       // list lines added or removed
    Selection,   // selected list line or selected tab
    Text,        // the text of an edit field
    Enabled,     // greyed or not
};

class Control {
  public:
    using Listener = std::function<void(Change)>;

    // name: the program name ("chkCookies", "List1"); index: the position in a control array
    // that shares one name ("frmone" 0..3), -1 when the control stands alone; parent: the
    // frame the control sits in, null for the window itself.
    Control(std::string name, std::string caption, Control* parent = nullptr, int index = -1);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    int index() const { return index_; }
    Control* parent() const { return parent_; }

    // Captions are stored as the program has them: "&&" shows a single "&".
    const std::string& caption() const { return caption_; }
    void SetCaption(std::string_view caption);

    bool visible() const { return visible_; }
    void SetVisible(bool visible);

    // A greyed control shows but takes no clicks.
    bool enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Larger is nearer the front among siblings; BringToFront makes it the largest so far.
    std::uint64_t z_order() const { return z_order_; }
    void BringToFront();

    // The view's subscription; the id unsubscribes. Listeners run after the state changed.
    int Subscribe(Listener listener);
    void Unsubscribe(int id);

  protected:
    void Notify(Change change);

  private:
    std::string name_;
    std::string caption_;
    Control* parent_;
    int index_;
    bool visible_ = true;
    bool enabled_ = true;
    std::uint64_t z_order_ = 0;
    struct Subscription {
        int id;
        Listener listener;
    };
    std::vector<Subscription> listeners_;
    int next_id_ = 1;
};

using Frame = Control;

// A control the user can click: a button, or a label that acts as a link.
class Clickable : public Control {
  public:
    using Control::Control;
    // The program's click handler; a control without one does nothing when clicked.
    void SetOnClick(std::function<void()> handler) { on_click_ = std::move(handler); }
    bool has_click_handler() const { return static_cast<bool>(on_click_); }
    void Click();

  private:
    std::function<void()> on_click_;
};

class Label : public Clickable {
  public:
    using Clickable::Clickable;
};

class Button : public Clickable {
  public:
    using Clickable::Clickable;
};

class CheckBox : public Control {
  public:
    using Control::Control;
    // 0 = clear, 1 = ticked.
    int value() const { return value_; }
    // Runs the change handler only when the state really changes, whoever set it.
    void SetValue(int value);
    // The user's click: flips the state; a greyed box takes none.
    void Click() {
        if (enabled()) SetValue(value_ == 1 ? 0 : 1);
    }
    void SetOnChange(std::function<void()> handler) { on_change_ = std::move(handler); }

  private:
    int value_ = 0;
    std::function<void()> on_change_;
};

class ListBox : public Control {
  public:
    using Control::Control;
    const std::vector<std::string>& lines() const { return lines_; }
    std::size_t count() const { return lines_.size(); }
    void Clear();
    void AddItem(std::string_view line);
    // -1 = no line selected.
    int selected_index() const { return selected_; }
    void SetSelectedIndex(int index);

  private:
    std::vector<std::string> lines_;
    int selected_ = -1;
};

// An edit field: an address or any other text the user types.
class TextBox : public Control {
  public:
    using Control::Control;
    const std::string& text() const { return text_; }
    // The user's typing and the program's writes alike; tells the view only of real changes.
    void SetText(std::string_view text);

  private:
    std::string text_;
};

// A drop-down list with an edit field above it. The edit field holds whatever was picked or
// typed; the list is the program's to change.
class ComboBox : public TextBox {
  public:
    ComboBox(std::string name, std::vector<std::string> items, Control* parent = nullptr);
    const std::vector<std::string>& items() const { return items_; }
    // A new list; the edit field keeps its text.
    void SetItems(std::vector<std::string> items);
    // The user picks a list line: its text goes into the edit field. Out of range does nothing.
    void PickItem(std::size_t index);
    // A key released while the box has the focus, after the edit field took the key.
    void KeyUp(int virtual_key);
    void SetOnKeyUp(std::function<void(int)> handler) { on_key_up_ = std::move(handler); }

  private:
    std::vector<std::string> items_;
    std::function<void(int)> on_key_up_;
};

namespace vk {
inline constexpr int kLeft = 37;
inline constexpr int kRight = 39;
}  // namespace vk

class TabStrip : public Control {
  public:
    TabStrip(std::string name, std::vector<std::string> tab_captions, Control* parent = nullptr);
    const std::vector<std::string>& tab_captions() const { return tabs_; }
    std::size_t tab_count() const { return tabs_.size(); }
    // Zero-based; the first tab is selected when the strip is created.
    std::size_t selected_index() const { return selected_; }
    const std::string& selected_caption() const { return tabs_[selected_]; }
    // The user (or code) selects a tab: a different tab changes the selection and runs the
    // click handler; the tab already selected, or an index out of range, does nothing.
    void SelectTab(std::size_t index);
    // A key-down sent to the strip's window: the left arrow selects the tab to the left and
    // the right arrow the one to the right, as the native control does; at either end, and
    // for other keys, nothing happens.
    void KeyDown(int virtual_key);
    void SetOnClick(std::function<void()> handler) { on_click_ = std::move(handler); }

  private:
    std::vector<std::string> tabs_;
    std::size_t selected_ = 0;
    std::function<void()> on_click_;
};

}  // namespace qm::controls
