#pragma once
// The update check and the download of the new program (module modUpdate). The site's answers
// are taken only when they are whole (status 200, a length header in any letter case and a
// body of exactly that length) and signed: "/qms.txt" and "/qmsupdate.exe" each have a
// detached signature beside them ("/qms.txt.sig", "/qmsupdate.exe.sig") by the site's key.
// HTTPS alone is not enough to run a program: a site broken into, an inspecting proxy the
// machine trusts or a stale mirror would each run theirs. The wait window, the questions to
// the user and the hand-over to the new program are the options dialog's business; this is
// what they call.
#include <cstdint>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::update {

// The new program is stored next to the running one under this name.
inline constexpr std::string_view kDownloadName = "qms.exe";
// No real program is smaller; anything shorter is an error page or a cut-off transfer.
inline constexpr std::int32_t kSmallestProgram = 1001;
inline constexpr int kDownloadAttempts = 6;
// Where each file's signature lies: its own address with this after it.
inline constexpr std::string_view kSignatureSuffix = ".sig";

// The value of a header in a header block (status line first, CR LF line ends), its name
// matched in any letter case, without surrounding blanks; empty when there is none.
std::string HeaderValue(std::string_view headers, std::string_view name);

class Updater {
  public:
    // `key`: the PEM public key whose signatures are believed (SiteKey()).
    Updater(platform::Platform& platform, settings::SettingsStore& settings,
            errors::ErrorReporter& reporter, std::string site, std::string key);

    bool IsOnline();
    // The length the site announces for the file at `address` (only its headers are
    // fetched); 0 when the file is missing, the answer is not 200, there is no length header
    // or the transfer fails (reported).
    std::int32_t Get_Text_Html_File_Size(std::string_view address);
    std::int32_t Get_Exe_file_Size(std::string_view address);

    // True when the signed published version is higher than `stored_version`, the version
    // installed; NewVersion() is then the published number. Only a whole, signed "/qms.txt"
    // whose number is at least 1 counts, and a number outside the 16-bit range on either side
    // makes the versions incomparable. Nothing is ever written: a lower published number
    // (an old file replayed, say) must not lower "ver", or the next replay could offer an
    // older signed program as an upgrade.
    bool Check_For_New_Version(const std::string& stored_version);
    // Downloads "/qmsupdate.exe" into the program folder as qms.exe. True only when the whole
    // file, exactly as long as announced and at least kSmallestProgram bytes, was written and
    // closed and the bytes read back from it carry a good signature; otherwise no qms.exe is
    // left there. A program folder that cannot be written (Windows Vista and later without
    // administrator rights) fails before any download.
    bool Download_App();
    // Download_App, tried up to kDownloadAttempts times one right after the other; a program
    // whose signature is not good is an answer, not a hiccup, and is not fetched again.
    bool DownloadWithRetries();
    // True when the last check or download failed only because what came was not signed by
    // the site's key: the user is told so, rather than that there was no upgrade.
    bool unverified() const { return unverified_; }

    // The published version of the last check that offered an upgrade; empty when none did.
    const std::string& NewVersion() const { return new_version_; }
    const std::string& site() const { return site_; }
    // Where the download goes: the program folder + "qms.exe".
    std::string DownloadPath() const;

  private:
    std::int32_t FileSize(std::string_view address, std::string_view label);
    // Whether the signature beside `address` is good for `data`; a missing or partial
    // signature is not. Sets unverified_ when it is not.
    bool Signed(std::string_view address, std::string_view data);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    std::string site_;
    std::string key_;
    std::string new_version_;
    bool unverified_ = false;
};

}  // namespace qm::update
