#pragma once
// Where an upgrade stands between its programs. The settings value "Up" carries the stage; the
// value "qmsleft" says that a hand-over gave up and left the downloaded qms.exe behind for the
// next start to remove (it cannot remove itself while it runs).
#include <string_view>

#include "settings/settings_store.h"

namespace qm::update {

inline constexpr std::string_view kLeftDownloadValue = "qmsleft";

enum class UpgradeStage {
    None,     // empty, or holds "a": no upgrade under way
    Replace,  // holds "b": the downloaded qms.exe is to take the installed program's place
    Finish,   // holds "c": the new Quillmoss.exe has been started and tidies up
    Other,    // anything else: nothing to do
};

// Case-insensitive containment, tested in the order a, b, c.
UpgradeStage StageOf(std::string_view up);

// True while one program of the upgrade hands over to the next, so that another copy still
// running is the one handing over or being handed over to, not one for the user to go back
// to. Reads without creating anything.
bool HandOverUnderWay(settings::SettingsStore& settings);

}  // namespace qm::update
