#pragma once
// The program's only persistence: registry operations on the settings key and on the places
// other programs keep their traces. Every call opens its key, does one job and closes it;
// nothing is cached. Registry status codes never reach the caller.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "settings/policy.h"

namespace qm::settings {

using platform::Root;

// HKEY_LOCAL_MACHINE\Software\Microsoft\Qmoss, shared by all users of the machine. Where a
// user may not write it (Windows Vista and later without administrator rights), the same path
// under HKEY_CURRENT_USER takes its place as soon as it exists there.
inline constexpr Root kSettingsRoot = Root::LocalMachine;
inline constexpr std::string_view kSettingsPath = "Software\\Microsoft\\Qmoss";
inline constexpr std::string_view kRunPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "QMS";

class SettingsStore {
  public:
    SettingsStore(platform::Registry& registry, platform::Process& process,
                  errors::ErrorReporter& reporter);

    // A REG_SZ value cut at its first NUL; the default when the key or value is missing or
    // the value has another type. A value of the program's own key that a policy decides
    // reads as the policy has it.
    std::string GetSettingString(Root root, std::string_view path, std::string_view name,
                                 std::string_view default_text);
    // Creates key and value (holding the default) when missing and then returns empty text;
    // an existing value of any type is returned cut at its first NUL.
    std::string MyGetSettingString(Root root, std::string_view path, std::string_view name,
                                   std::string_view default_text);
    // REG_SZ without a terminating NUL; the key is created when missing.
    void SaveSettingString(Root root, std::string_view path, std::string_view name,
                           std::string_view text);
    void SaveString(Root root, std::string_view path, std::string_view name, std::string_view text);
    // REG_DWORD, four bytes.
    void SaveSettingLong(Root root, std::string_view path, std::string_view name,
                         std::int32_t number);
    void DeleleteValue(Root root, std::string_view path, std::string_view name);
    void DeleteKey(Root root, std::string_view path);
    // "QMS" under the Run key = the quoted program path: "\"<folder>\<name>.exe\"", quoted so
    // that a folder with blanks ("C:\Program Files") starts this program and no other. Under
    // HKLM when the user may write it, else under HKCU: the program never asks for rights.
    void RegisterRunAtStart();
    // Whether "QMS" is there under either Run key, so Windows starts the program at log-on.
    bool IsRunAtStartRegistered();

    // The settings key itself, for the program's own values.
    std::string Get(std::string_view name, std::string_view default_text = "") {
        return GetSettingString(kSettingsRoot, kSettingsPath, name, default_text);
    }
    void Save(std::string_view name, std::string_view text) {
        SaveSettingString(kSettingsRoot, kSettingsPath, name, text);
    }

    // The organisation's policies, read afresh at every call.
    Policies& policies() { return policies_; }

  private:
    Root Place(Root root, std::string_view path);
    platform::Status CreateKey(Root root, std::string_view path, platform::RegKey& key);
    platform::Status WriteValue(Root root, std::string_view path, std::string_view name,
                                platform::RegType type, std::span<const std::uint8_t> data);

    platform::Registry& registry_;
    platform::Process& process_;
    errors::ErrorReporter& reporter_;
    Policies policies_{registry_};
};

// Case-insensitive test for a letter in a settings text ("contains e", "contains t").
bool ContainsLetter(std::string_view text, char letter);

}  // namespace qm::settings
