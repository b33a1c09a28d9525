#include "settings/policy.h"

#include "settings/registry_text.h"
#include "settings/schedule_options.h"

namespace qm::settings {

using platform::RegKey;
using platform::RegKeyGuard;
using platform::RegType;
using platform::Root;

namespace {

const PolicyName* FindPolicy(std::string_view name) {
    for (const PolicyName& policy : kPolicies) {
        if (policy.name == name) return &policy;
    }
    return nullptr;
}

std::string_view PlaceName(Root root) {
    return root == Root::LocalMachine ? "the machine's" : "the user's";
}

}  // namespace

Policies::Read Policies::ReadAt(Root root, const PolicyName& policy) {
    Read read;
    RegKey key = 0;
    if (registry_.OpenKey(root, kPolicyPath, key) != platform::kOk) return read;
    RegKeyGuard guard(registry_, key);
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;
    if (registry_.QueryValue(key, policy.name, type, data) != platform::kOk) return read;
    read.found = Found::Ignored;
    if (policy.type == PolicyType::Text) {
        if (type != RegType::Sz) {
            read.why = "it is not a text (REG_SZ)";
            return read;
        }
        read.text = FromRegistryText(data);
        // A schedule is one of the intervals the options dialog offers, or empty for none;
        // any other text would arm nothing, so the user's own setting stays in force.
        if (policy.setting == "schedclean" && !read.text.empty()) {
            const std::optional<std::string_view> option = FindScheduleOption(read.text);
            if (!option) {
                read.why = "\"" + read.text + "\" is not an interval of scheduled cleaning";
                return read;
            }
            read.text = std::string(*option);
        }
    } else {
        if (type != RegType::Dword || data.size() != 4) {
            read.why = "it is not a number (REG_DWORD)";
            return read;
        }
        const std::uint32_t number =
            static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
            static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        if (number > 1) {
            read.why = "it holds " + std::to_string(number) + ", neither 0 (off) nor 1 (on)";
            return read;
        }
        read.on = number == 1;
    }
    read.found = Found::Taken;
    return read;
}

Policies::Read Policies::ReadPolicy(const PolicyName& policy) {
    // The machine's policy wins; a user's policy applies where the machine sets none it takes.
    Read machine = ReadAt(Root::LocalMachine, policy);
    if (machine.found == Found::Taken) return machine;
    return ReadAt(Root::CurrentUser, policy);
}

std::optional<std::string> Policies::Text(std::string_view name) {
    const PolicyName* policy = FindPolicy(name);
    if (!policy || policy->type != PolicyType::Text) return std::nullopt;
    Read read = ReadPolicy(*policy);
    if (read.found != Found::Taken) return std::nullopt;
    return std::move(read.text);
}

std::optional<bool> Policies::Switch(std::string_view name) {
    const PolicyName* policy = FindPolicy(name);
    if (!policy || policy->type != PolicyType::Switch) return std::nullopt;
    const Read read = ReadPolicy(*policy);
    if (read.found != Found::Taken) return std::nullopt;
    return read.on;
}

std::optional<std::string> Policies::SettingText(std::string_view setting) {
    for (const PolicyName& policy : kPolicies) {
        if (policy.setting.empty() || policy.setting != setting) continue;
        if (policy.type == PolicyType::Switch) {
            const std::optional<bool> on = Switch(policy.name);
            if (!on) return std::nullopt;
            return std::string(*on ? "e" : "d");
        }
        std::optional<std::string> text = Text(policy.name);
        // An empty schedule means no scheduled cleaning, which the setting spells "d".
        if (text && text->empty() && setting == "schedclean") return std::string("d");
        return text;
    }
    return std::nullopt;
}

std::vector<std::string> Policies::Problems() {
    std::vector<std::string> lines;
    for (const PolicyName& policy : kPolicies) {
        for (const Root root : {Root::LocalMachine, Root::CurrentUser}) {
            const Read read = ReadAt(root, policy);
            if (read.found != Found::Ignored) continue;
            lines.push_back("Policy " + std::string(policy.name) + " (" +
                            std::string(PlaceName(root)) + ") ignored: " + read.why + ".");
        }
    }
    return lines;
}

}  // namespace qm::settings
