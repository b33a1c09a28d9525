#include "options/options_dialog.h"

#include <initializer_list>
#include <optional>
#include <utility>

#include "errors/labels.h"

namespace qm::options {
namespace {

using errors::ReportingStep;
using errors::SilentStep;
using platform::Root;
namespace label = errors::label;

// The Run key as the dialog names it when it deletes from it (the trailing backslash is
// harmless to the registry).
constexpr std::string_view kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
constexpr std::string_view kBlankPage = "about:blank";
constexpr std::string_view kPolicyHint = "Your organisation set the greyed settings.";

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> ScheduleTexts() {
    std::vector<std::string> texts;
    for (const background::ScheduleOption& option : background::kScheduleOptions) {
        texts.emplace_back(option.text);
    }
    return texts;
}

}  // namespace

OptionsDialog::OptionsDialog(platform::Platform& platform, settings::SettingsStore& settings,
                             errors::ErrorReporter& reporter, background::ScheduleControl& schedule)
    : platform_(platform), settings_(settings), reporter_(reporter), schedule_(schedule) {
    frame2_ = &Add<controls::Frame>("Frame2", "Schedular");
    command6_ = &Add<controls::Button>("Command6", std::string(caption::kScheduleOff), frame2_);
    check1_ =
        &Add<controls::CheckBox>("Check1", "Close all browser windows before cleaning.", frame2_);
    combo1_ = &Add<controls::ComboBox>("Combo1", ScheduleTexts(), frame2_);
    Add<controls::Label>("Label1", "Time", frame2_);
    command5_ = &Add<controls::Button>("Command5", std::string(caption::kShutDownOff));
    frame1_ = &Add<controls::Frame>("Frame1", "Internet Explorer Home Page");
    command2_ = &Add<controls::Button>("Command2", "Set", frame1_);
    command1_ = &Add<controls::Button>("Command1", "Use Blank", frame1_);
    text1_ = &Add<controls::TextBox>("Text1", "", frame1_);
    command4_ = &Add<controls::Button>("Command4", "Close");
    command3_ = &Add<controls::Button>("Command3", std::string(caption::kRunAtStartOn));
    cmd_upgrade_ = &Add<controls::Button>("cmdUpgrade", "Check for Upgrade");
    lbl_policy_ = &Add<controls::Label>("lblPolicy", "");
    AddListControls();

    command6_->SetOnClick([this] { Command6_Click(); });
    check1_->SetOnChange([this] { Check1_Click(); });
    combo1_->SetOnKeyUp([this](int) { Combo1_KeyUp(); });
    command5_->SetOnClick([this] { Command5_Click(); });
    command2_->SetOnClick([this] { Command2_Click(); });
    command1_->SetOnClick([this] { Command1_Click(); });
    command4_->SetOnClick([this] { Command4_Click(); });
    command3_->SetOnClick([this] { Command3_Click(); });
    cmd_upgrade_->SetOnClick([this] { cmdUpgrade_Click(); });
}

controls::Control* OptionsDialog::FindControl(std::string_view name) {
    for (controls::Control* control : all_) {
        if (control->name() == name) return control;
    }
    return nullptr;
}

void OptionsDialog::Form_Load() {
    loaded_ = true;
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm2Load, action);
    };
    step([&] {
        const bool on = settings::ContainsLetter(settings_.Get("cleansd"), 'e');
        command5_->SetCaption(on ? caption::kShutDownOn : caption::kShutDownOff);
    });
    step([&] {
        const std::string schedule = settings_.Get("schedclean");
        if (schedule.empty()) return;
        if (const auto option = background::ArmedScheduleOption(schedule)) {
            command6_->SetCaption(caption::kScheduleOn);
            combo1_->SetText(*option);
        } else {
            command6_->SetCaption(caption::kScheduleOff);
        }
    });
    step([&] {
        if (settings::ContainsLetter(settings_.Get("closebrow"), 'e')) check1_->SetValue(1);
    });
    // Opens on the state Windows will act on, not on what the last press in another opening
    // happened to be.
    step([&] { ShowRunAtStart(); });
    step([&] { ShowKeptSites(); });
    step([&] { ShowPlaces(); });
    step([&] { ShowNeverTouched(); });
    step([&] { LoadCookieSites(); });
    step([&] { ShowPolicies(); });
}

void OptionsDialog::ShowPolicies() {
    settings::Policies& policies = settings_.policies();
    bool any = false;
    const auto grey_when = [&any](bool governed, std::initializer_list<controls::Control*> set) {
        for (controls::Control* control : set) control->SetEnabled(!governed);
        any = any || governed;
    };
    grey_when(policies.Governs("cleansd"), {command5_});
    grey_when(policies.Governs("schedclean"), {combo1_, command6_});
    grey_when(policies.Governs("closebrow"), {check1_});
    grey_when(policies.Governs(kKeepValue),
              {lst_keep_, cbo_keep_site_, cmd_keep_add_, cmd_keep_remove_});
    grey_when(policies.Switch(settings::kUpdateCheckPolicy) == false, {cmd_upgrade_});
    lbl_policy_->SetCaption(any ? std::string(kPolicyHint) : "");
}

void OptionsDialog::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    on_unload_();
}

void OptionsDialog::Tell(std::string_view message) {
    SilentStep([&] { platform_.dialogs.MessageBox(message, "Quillmoss", platform::mb::kOk); });
}

void OptionsDialog::Check1_Click() {
    SilentStep([&] { settings_.Save("closebrow", check1_->value() == 1 ? "e" : "d"); });
}

// Typed text never stays: an interval is picked from the list. A line picked with the keyboard
// (the arrows, or Enter in the open list) is a list text, so it stays.
void OptionsDialog::Combo1_KeyUp() {
    SilentStep([&] {
        const std::string& text = combo1_->text();
        for (const std::string& item : combo1_->items()) {
            if (item == text) return;
        }
        combo1_->SetText("");
    });
}

void OptionsDialog::Command1_Click() {
    SilentStep([&] { text1_->SetText(kBlankPage); });
    SilentStep([&] {
        settings_.SaveString(Root::CurrentUser, kStartPagePath, kStartPageValue, kBlankPage);
    });
}

void OptionsDialog::Command2_Click() {
    const std::string_view address = TrimBlanks(text1_->text());
    if (address.empty()) {
        Tell(kUrlMissing);
        return;
    }
    SilentStep(
        [&] { settings_.SaveString(Root::CurrentUser, kStartPagePath, kStartPageValue, address); });
}

void OptionsDialog::Command3_Click() {
    if (command3_->caption() == caption::kRunAtStartOn) {
        // Either hive may hold it: HKCU does when HKLM refused the user.
        Delete_Value(Root::LocalMachine, kRunKeyPath, settings::kRunValue);
        Delete_Value(Root::CurrentUser, kRunKeyPath, settings::kRunValue);
    } else if (command3_->caption() == caption::kRunAtStartOff) {
        SilentStep([&] { settings_.RegisterRunAtStart(); });
    } else {
        return;
    }
    // A value the user may not delete (HKLM's, for a user without rights) is still there.
    SilentStep([&] { ShowRunAtStart(); });
}

void OptionsDialog::ShowRunAtStart() {
    command3_->SetCaption(settings_.IsRunAtStartRegistered() ? caption::kRunAtStartOn
                                                             : caption::kRunAtStartOff);
}

void OptionsDialog::Command5_Click() {
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm2Command5Click, action);
    };
    const bool switch_on = command5_->caption() == caption::kShutDownOff;
    step([&] { settings_.Save("cleansd", switch_on ? "e" : "d"); });
    step([&] { command5_->SetCaption(switch_on ? caption::kShutDownOn : caption::kShutDownOff); });
}

void OptionsDialog::Command6_Click() {
    if (command6_->caption() == caption::kScheduleOff) {
        ScheduleOn();
    } else {
        ScheduleOff();
    }
}

void OptionsDialog::ScheduleOn() {
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm2Command6Click, action);
    };
    // The switch comes first: what it refuses is not written either.
    const std::optional<std::string_view> option = background::FindScheduleOption(combo1_->text());
    bool switched = false;
    if (option) step([&] { switched = schedule_.SwitchOn(*option); });
    if (!switched) {
        Tell(kTimeMissing);
        return;
    }
    step([&] { settings_.Save("schedclean", *option); });
    step([&] { settings_.Save("closebrow", check1_->value() == 1 ? "e" : "d"); });
    step([&] { combo1_->SetText(*option); });
    step([&] { command6_->SetCaption(caption::kScheduleOn); });
}

void OptionsDialog::ScheduleOff() {
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm2Command6Click, action);
    };
    step([&] { settings_.Save("schedclean", "d"); });
    step([&] { settings_.Save("closebrow", "d"); });
    step([&] { command6_->SetCaption(caption::kScheduleOff); });
    step([&] { combo1_->SetText(""); });
    step([&] { check1_->SetValue(0); });
    step([&] { schedule_.SwitchOff(); });
}

// The check reports under the button's label whatever it does not report itself.
void OptionsDialog::cmdUpgrade_Click() {
    ++busy_;
    ReportingStep(reporter_, label::kForm2CmdUpgrade, [&] { upgrade_check_(); });
    --busy_;
}

void OptionsDialog::Delete_Value(Root root, std::string_view path, std::string_view value) {
    SilentStep([&] {
        platform::RegKey key = 0;
        if (platform_.registry.CreateKey(root, path, key) != platform::kOk) return;
        platform::RegKeyGuard guard(platform_.registry, key);
        platform_.registry.DeleteValue(key, value);
    });
}

}  // namespace qm::options
