#pragma once
// The end of an upgrade, run at every start (module modUpdate's Check_For_Update). A running
// program cannot replace its own file, so the update check leaves the new version next to it
// as qms.exe, starts it and ends; the settings value "Up" then hands the work on:
//   "b"  the new version, running as qms.exe, copies itself over Quillmoss.exe, makes sure the
//        copy is whole, writes "c" and starts Quillmoss.exe;
//   "c"  Quillmoss.exe, now the new version, removes qms.exe, thanks the user and opens the
//        site's upgrade page, then starts normally.
// Whatever goes wrong, the installed Quillmoss.exe stays a program that runs: nothing is
// deleted before the copy is known to be whole, and a copy that is not is undone.
#include <string>

#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::update {

inline constexpr std::string_view kInstalledName = "Quillmoss.exe";
inline constexpr std::string_view kThanks = "Quillmoss Upgraded. Thank you for upgrading.";

class UpgradeCompletion {
  public:
    UpgradeCompletion(platform::Platform& platform, settings::SettingsStore& settings,
                      std::string site);

    // May end the process (a qms.exe that has handed over to Quillmoss.exe); otherwise returns
    // and start-up goes on.
    void Check_For_Update();

  private:
    void Wait(int seconds);
    bool RunsAsDownload();
    // Copies qms.exe over Quillmoss.exe; true only when Quillmoss.exe then holds exactly what
    // qms.exe holds. A failed copy puts the old program back.
    bool ReplaceInstalledProgram();
    void HandOver();
    void GiveUp(bool as_download);
    void Finish();

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    std::string site_;
    std::string folder_;
};

}  // namespace qm::update
