#pragma once
// The button Quillmoss puts on Internet Explorer's toolbar: one extension key holding eight
// texts that start the program. Adding and taking it away are registry writes only; neither
// says whether it worked.
#include <array>
#include <string>
#include <string_view>

#include "platform/process.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

namespace qm::ietoolbar {

inline constexpr std::string_view kButtonKey =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";
inline constexpr std::string_view kIconFile = "iconwipe.ico";

struct ButtonValue {
    std::string_view name;
    std::string text;
};

// The eight values in the order they are written.
std::array<ButtonValue, 8> ButtonValues(platform::Process& process);

class ToolbarButton {
  public:
    ToolbarButton(platform::Registry& registry, platform::Process& process,
                  settings::SettingsStore& settings)
        : registry_(registry), process_(process), settings_(settings) {}

    // Machine-wide when HKLM takes the key, and then a per-user button of a copy in another
    // folder goes; for this user only, which Internet Explorer reads as well, when HKLM is
    // refused for want of rights (a standard user on Vista and later); not at all when HKLM
    // fails for any other reason.
    void AddIEToolbarButton();
    // Removes the key from both places; a missing key is no error.
    void DeleteIEToolbarButton();

  private:
    void RemoveUserButtonOfAnotherCopy(std::string_view exec);

    platform::Registry& registry_;
    platform::Process& process_;
    settings::SettingsStore& settings_;
};

}  // namespace qm::ietoolbar
