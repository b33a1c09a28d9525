#pragma once
// The end of an upgrade, run at every start (module modUpdate's Check_For_Update). A running
// program cannot replace its own file, so the update check leaves the new version next to it
// as qms.exe, starts it and ends; the settings value "Up" then hands the work on:
//   "b"  the new version, running as qms.exe, takes Quillmoss.exe's place (ProgramReplacement),
//        writes "c" and starts Quillmoss.exe; if that will not start, the old program goes
//        back and is started instead;
//   "c"  Quillmoss.exe, now the new version, removes qms.exe and the old program's backup,
//        thanks the user and opens the site's upgrade page, then starts normally.
// Whatever goes wrong, the installed Quillmoss.exe stays a program that runs, and "Up" ends at
// "a". A qms.exe that gives up cannot delete itself: it leaves "qmsleft" for the program it
// starts again, which removes it.
#include <string>

#include "platform/platform.h"
#include "settings/settings_store.h"
#include "update/program_replacement.h"

namespace qm::update {

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
    void ReplaceAndHandOver();
    void GiveUp(bool as_download);
    void RemoveLeftDownload();
    void DeleteDownload();
    void Finish();

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    std::string site_;
    std::string folder_;
};

}  // namespace qm::update
