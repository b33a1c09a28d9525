#include "settings/settings_store.h"

#include <array>
#include <cctype>

#include "errors/labels.h"
#include "paths/ascii_case.h"
#include "paths/folder_path.h"
#include "settings/registry_text.h"

namespace qm::settings {

using platform::RegKey;
using platform::RegKeyGuard;
using platform::RegType;
namespace label = errors::label;

SettingsStore::SettingsStore(platform::Registry& registry, platform::Process& process,
                             errors::ErrorReporter& reporter)
    : registry_(registry), process_(process), reporter_(reporter) {}

namespace {

bool IsOwnKey(Root root, std::string_view path) {
    return root == kSettingsRoot && paths::UpperAscii(path) == paths::UpperAscii(kSettingsPath);
}

}  // namespace

// A user without administrator rights cannot write HKLM on Windows Vista and later, so the
// program would remember nothing. Its own key then lives under HKCU with the same path: once
// it exists there, every call goes there; until then HKLM is used as on Windows XP.
Root SettingsStore::Place(Root root, std::string_view path) {
    RegKey key = 0;
    if (!IsOwnKey(root, path) || registry_.OpenKey(Root::CurrentUser, path, key) != platform::kOk) {
        return root;
    }
    registry_.CloseKey(key);
    return Root::CurrentUser;
}

// The key opened for writing, created when missing; the program's own key moves to HKCU when
// HKLM refuses it.
platform::Status SettingsStore::CreateKey(Root root, std::string_view path, RegKey& key) {
    const Root place = Place(root, path);
    const platform::Status status = registry_.CreateKey(place, path, key);
    if (status != platform::kErrorAccessDenied || !IsOwnKey(place, path)) return status;
    return registry_.CreateKey(Root::CurrentUser, path, key);
}

std::string SettingsStore::GetSettingString(Root root, std::string_view path, std::string_view name,
                                            std::string_view default_text) {
    std::string result(default_text);
    errors::ReportingStep(reporter_, label::kGetSettingString, [&] {
        if (IsOwnKey(root, path)) {
            if (std::optional<std::string> dictated = policies_.SettingText(name)) {
                result = std::move(*dictated);
                return;
            }
        }
        RegKey key = 0;
        if (registry_.OpenKey(Place(root, path), path, key) != platform::kOk) return;
        RegKeyGuard guard(registry_, key);
        RegType type = RegType::None;
        std::uint32_t size = 0;
        if (registry_.QueryValueInfo(key, name, type, size) != platform::kOk) return;
        if (type != RegType::Sz) return;
        std::vector<std::uint8_t> data;
        if (registry_.QueryValue(key, name, type, data) != platform::kOk) return;
        result = FromRegistryText(data);
    });
    return result;
}

std::string SettingsStore::MyGetSettingString(Root root, std::string_view path,
                                              std::string_view name,
                                              std::string_view default_text) {
    // Empty text means "was absent and now holds the default" or "stored empty"; start-up
    // relies on that to recognise a first use. A key that cannot be opened for writing (HKLM
    // for a user without rights) therefore reads as a first use every time.
    std::string result;
    errors::ReportingStep(reporter_, label::kMyGetSettingString, [&] {
        RegKey key = 0;
        if (CreateKey(root, path, key) != platform::kOk) return;
        RegKeyGuard guard(registry_, key);
        RegType type = RegType::None;
        std::uint32_t size = 0;
        if (registry_.QueryValueInfo(key, name, type, size) != platform::kOk) {
            registry_.SetValue(key, name, RegType::Sz, ToRegistryText(default_text));
            return;
        }
        std::vector<std::uint8_t> data;
        if (registry_.QueryValue(key, name, type, data) != platform::kOk) return;
        result = FromRegistryText(data);
    });
    return result;
}

platform::Status SettingsStore::WriteValue(Root root, std::string_view path, std::string_view name,
                                           RegType type, std::span<const std::uint8_t> data) {
    RegKey key = 0;
    const platform::Status opened = CreateKey(root, path, key);
    if (opened != platform::kOk) return opened;
    RegKeyGuard guard(registry_, key);
    return registry_.SetValue(key, name, type, data);
}

void SettingsStore::SaveSettingString(Root root, std::string_view path, std::string_view name,
                                      std::string_view text) {
    errors::ReportingStep(reporter_, label::kSaveSettingString,
                          [&] { WriteValue(root, path, name, RegType::Sz, ToRegistryText(text)); });
}

void SettingsStore::SaveString(Root root, std::string_view path, std::string_view name,
                               std::string_view text) {
    errors::ReportingStep(reporter_, label::kSaveString,
                          [&] { WriteValue(root, path, name, RegType::Sz, ToRegistryText(text)); });
}

void SettingsStore::SaveSettingLong(Root root, std::string_view path, std::string_view name,
                                    std::int32_t number) {
    errors::ReportingStep(reporter_, label::kSaveSettingLong, [&] {
        const auto bits = static_cast<std::uint32_t>(number);
        const std::array<std::uint8_t, 4> data = {
            static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
        WriteValue(root, path, name, RegType::Dword, data);
    });
}

void SettingsStore::DeleleteValue(Root root, std::string_view path, std::string_view name) {
    errors::ReportingStep(reporter_, label::kDeleleteValue, [&] {
        RegKey key = 0;
        if (registry_.OpenKey(Place(root, path), path, key) != platform::kOk) return;
        RegKeyGuard guard(registry_, key);
        registry_.DeleteValue(key, name);
    });
}

void SettingsStore::DeleteKey(Root root, std::string_view path) {
    errors::SilentStep([&] { registry_.DeleteKey(Place(root, path), path); });
}

void SettingsStore::RegisterRunAtStart() {
    errors::SilentStep([&] {
        std::string command = "\"";
        command += paths::AddBackslash(process_.ProgramFolder());
        command += process_.ProgramName();
        command += ".exe\"";
        const std::vector<std::uint8_t> text = ToRegistryText(command);
        platform::Status machine_wide = platform::kErrorAccessDenied;
        errors::ReportingStep(reporter_, label::kSaveString, [&] {
            machine_wide = WriteValue(Root::LocalMachine, kRunPath, kRunValue, RegType::Sz, text);
        });
        if (machine_wide != platform::kOk) {
            SaveString(Root::CurrentUser, kRunPath, kRunValue, command);
        } else {
            // One start at log-on is enough: an earlier user-only entry would start a second copy.
            DeleleteValue(Root::CurrentUser, kRunPath, kRunValue);
        }
    });
}

bool SettingsStore::IsRunAtStartRegistered() {
    bool found = false;
    errors::SilentStep([&] {
        for (const Root root : {Root::LocalMachine, Root::CurrentUser}) {
            RegKey key = 0;
            if (registry_.OpenKey(root, kRunPath, key) != platform::kOk) continue;
            RegKeyGuard guard(registry_, key);
            RegType type = RegType::None;
            std::uint32_t size = 0;
            if (registry_.QueryValueInfo(key, kRunValue, type, size) == platform::kOk) found = true;
        }
    });
    return found;
}

bool ContainsLetter(std::string_view text, char letter) {
    const int wanted = std::tolower(static_cast<unsigned char>(letter));
    for (const char c : text) {
        if (std::tolower(static_cast<unsigned char>(c)) == wanted) return true;
    }
    return false;
}

}  // namespace qm::settings
