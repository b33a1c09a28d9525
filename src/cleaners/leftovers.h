#pragma once
// Windows-wide leftovers rather than one program's history: the user's temporary folder, the
// Recycle Bin, and the deleted mail of Outlook Express.
#include <string>
#include <string_view>

#include "cleaners/file_tools.h"
#include "cleaners/folder_guard.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cleaners {

namespace mail_key {
inline constexpr std::string_view kIdentities = "Identities";
inline constexpr std::string_view kDefaultUserId = "Default User ID";
// Appended to "Identities\" + the identity's id.
inline constexpr std::string_view kOutlookExpress = "\\Software\\Microsoft\\Outlook Express\\5.0";
inline constexpr std::string_view kStoreRoot = "Store Root";
}  // namespace mail_key
inline constexpr std::string_view kDeletedMailFile = "Deleted Items.dbx";

// The item's end line when the temporary folder is protected, followed by its path.
inline constexpr std::string_view kTempRefusedLine =
    "Temporary folder not cleaned: unsafe location ";

// The buffer GetTempFolder hands the platform: a path needs one more place for its NUL.
inline constexpr std::size_t kTempPathBufferLength = 255;

class LeftoverCleaners {
  public:
    LeftoverCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                     FileTools& file_tools, errors::ErrorReporter& reporter);

    // The temporary folder with its trailing backslash, or empty text when the platform gives
    // none or it does not fit the 255-place buffer (254 characters and the NUL).
    std::string GetTempFolder();
    // DeleteFolderTree on the temporary folder, made again empty once it went. `folder` gets
    // the temporary folder's path; false, with nothing deleted, when FolderGuard protects it.
    bool CleanTempFolder(std::string& folder);
    // Every drive's bin, without question, progress window or sound; the icon is refreshed
    // when the platform did not answer S_OK. Pending window messages are handled once.
    void EmptyRecycleBin();
    // "Deleted Items.dbx" of the default identity's mail store; nothing else.
    void CleanOutlookDeleted();

  private:
    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    FileTools& file_tools_;
    errors::ErrorReporter& reporter_;
    FolderGuard guard_;
};

}  // namespace qm::cleaners
