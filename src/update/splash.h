#pragma once
// The small wait window ("frmSplash") the update check shows while it talks to the site: a
// frame with one two-line label, shown without being modal and unloaded again by the check.
#include <functional>
#include <string>
#include <string_view>

namespace qm::update {

class Splash {
  public:
    void SetLabel(std::string_view text) {
        label_ = text;
        changed_();
    }
    void Show() {
        shown_ = true;
        changed_();
    }
    void Unload() {
        if (!shown_) return;
        shown_ = false;
        changed_();
    }
    const std::string& label() const { return label_; }
    bool shown() const { return shown_; }
    // Told after every change, so a window can follow.
    void SetOnChange(std::function<void()> changed) { changed_ = std::move(changed); }

  private:
    std::string label_;
    bool shown_ = false;
    std::function<void()> changed_ = [] {};
};

}  // namespace qm::update
