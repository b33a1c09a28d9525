#pragma once
// What an organisation sets for every user through Group Policy: values under
// Software\Policies\Quillmoss, the machine's (HKLM) before the user's (HKCU), value by value.
// A policy beats the user's own setting wherever the program reads it; a value of the wrong
// type or content is ignored as if absent, and said so. Read afresh on every call, like the
// settings, so a policy refreshed while the program runs applies at the next read.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace qm::settings {

inline constexpr std::string_view kPolicyPath = "Software\\Policies\\Quillmoss";

enum class PolicyType { Text, Switch };  // REG_SZ; REG_DWORD holding 0 or 1

struct PolicyName {
    std::string_view name;  // the value name under kPolicyPath
    PolicyType type;
    std::string_view setting;  // the settings value it stands for, or empty
};

inline constexpr std::string_view kItemsPolicy = "Items";
inline constexpr std::string_view kUpdateCheckPolicy = "UpdateCheck";

// The one table of policies the program reads; the administrative template is checked
// against it.
inline constexpr std::array<PolicyName, 6> kPolicies{{
    {kItemsPolicy, PolicyType::Text, ""},
    {"CleanAtLogoff", PolicyType::Switch, "cleansd"},
    {"Schedule", PolicyType::Text, "schedclean"},
    {"CloseBrowsers", PolicyType::Switch, "closebrow"},
    {"CookieKeep", PolicyType::Text, "cookiekeep"},
    {kUpdateCheckPolicy, PolicyType::Switch, ""},
}};

class Policies {
  public:
    explicit Policies(platform::Registry& registry) : registry_(registry) {}

    // A text policy's value, machine first; none where neither sets a REG_SZ.
    std::optional<std::string> Text(std::string_view name);
    // A switch policy's value, machine first; none where neither holds a REG_DWORD of 0 or 1.
    std::optional<bool> Switch(std::string_view name);
    // The text a policy makes a settings value read as ("e"/"d" for the switches, the
    // interval or "d" for the schedule, the kept sites as listed); none where no policy
    // stands for that value.
    std::optional<std::string> SettingText(std::string_view setting);
    // Whether a policy decides the settings value: its control is then greyed.
    bool Governs(std::string_view setting) { return SettingText(setting).has_value(); }
    // One line for each policy value that is set but ignored, for the run's report.
    std::vector<std::string> Problems();

  private:
    enum class Found { Absent, Taken, Ignored };
    struct Read {
        Found found = Found::Absent;
        std::string text;
        bool on = false;
        std::string why;  // Ignored: what is wrong with it
    };
    Read ReadAt(platform::Root root, const PolicyName& policy);
    Read ReadPolicy(const PolicyName& policy);

    platform::Registry& registry_;
};

}  // namespace qm::settings
