#include "cleaners/leftovers.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "cleaners/ascii_case.h"
#include "cleaners/folder_path.h"
#include "errors/labels.h"
#include "errors/runtime_error.h"

namespace qm::cleaners {

using errors::SilentStep;
using platform::Root;

namespace {

// Windows often reports the temporary folder in 8.3 form ("C:\DOCUME~1\ADMINI~1\"), while the
// special folders come with their long names. Listing a short name without wildcards finds
// the entry under its long name, so each short-looking part is looked up that way.
void ExpandShortNames(platform::FileSystem& files, FolderPath& folder) {
    std::string path = folder.root;
    for (std::string& part : folder.parts) {
        if (part.find('~') != std::string::npos && part.find_first_of("*?") == std::string::npos) {
            std::vector<platform::DirEntry> entries;
            if (files.List(path + "\\" + part, entries) == platform::kOk && entries.size() == 1) {
                part = UpperAscii(entries.front().name);
            }
        }
        path += "\\" + part;
    }
}

// The length the platform's buffer must hold, counted in the UTF-16 units the wide API uses.
std::size_t WideLength(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80) continue;  // continuation byte
        units += byte >= 0xF0 ? 2 : 1;        // beyond U+FFFF takes a surrogate pair
    }
    return units;
}

// Folders whose loss, or the loss of anything inside them, would wreck Windows, the
// installed programs or the user's profile.
constexpr std::array kVitalFolders = {
    platform::csidl::kWindows,         platform::csidl::kSystem,  platform::csidl::kProgramFiles,
    platform::csidl::kProgramFilesX86, platform::csidl::kProfile,
};

}  // namespace

LeftoverCleaners::LeftoverCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                                   FileTools& file_tools, errors::ErrorReporter& reporter)
    : platform_(platform), settings_(settings), file_tools_(file_tools), reporter_(reporter) {}

std::string LeftoverCleaners::GetTempFolder() {
    std::string gathered;
    try {
        std::string path;
        // A failed call leaves the buffer as it was: all NULs, so no text.
        if (platform_.files.GetTempPath(path) != platform::kOk) return gathered;
        path = UpToFirstNul(std::move(path));
        // A path that does not fit with its NUL is not copied at all.
        if (WideLength(path) + 1 > kTempPathBufferLength) return gathered;
        gathered = std::move(path);
    } catch (const errors::RuntimeError& e) {
        reporter_.Report(errors::label::kGetTempFolder, e);
    }
    return gathered;
}

bool LeftoverCleaners::IsProtectedTempFolder(std::string_view temp_folder) {
    std::optional<FolderPath> temp = ParseFolder(temp_folder);
    if (!temp || temp->IsRoot()) return true;
    ExpandShortNames(platform_.files, *temp);
    for (const int csidl : kVitalFolders) {
        std::string vital = file_tools_.GetFolderClean(csidl);
        if (vital.empty()) vital = file_tools_.GetSpecialFolder(csidl);
        if (vital.empty()) continue;
        const std::optional<FolderPath> vital_folder = ParseFolder(vital);
        if (vital_folder && temp->Contains(*vital_folder)) return true;
    }
    return false;
}

void LeftoverCleaners::CleanTempFolder() {
    // A TEMP variable pointed at C:\ or C:\WINDOWS would otherwise have the whole tree under
    // it deleted, hidden and system files included.
    const std::string folder = GetTempFolder();
    SilentStep([&] {
        if (IsProtectedTempFolder(folder)) return;
        // When nothing in it was held, the folder goes with its contents; but every program
        // writes its temporary files there and fails without it, so it is made again, empty.
        if (file_tools_.DeleteFolderTree(folder) != 0) return;
        platform_.files.CreateDirectory(WithoutTrailingBackslash(folder));
    });
}

void LeftoverCleaners::EmptyRecycleBin() {
    std::int32_t result = 0;
    SilentStep([&] { result = platform_.shell.EmptyRecycleBin(); });
    // Some Windows versions answer an already empty bin with an error; the icon may then
    // still show a full bin. One refresh is enough: a second one changes nothing visible.
    if (result != 0) SilentStep([&] { platform_.shell.UpdateRecycleBinIcon(); });
    SilentStep([&] { platform_.loop.PumpPending(); });
}

void LeftoverCleaners::CleanOutlookDeleted() {
    SilentStep([&] {
        const std::string id = settings_.GetSettingString(Root::CurrentUser, mail_key::kIdentities,
                                                          mail_key::kDefaultUserId, "");
        // Without an identity the store key would be "Identities\\Software...", no identity's.
        if (id.empty()) return;
        const std::string store_key =
            std::string(mail_key::kIdentities) + "\\" + id + std::string(mail_key::kOutlookExpress);
        const std::string store =
            settings_.GetSettingString(Root::CurrentUser, store_key, mail_key::kStoreRoot, "");
        // A damaged, relative store root would name a file beside whatever folder is current.
        if (store.empty() || !ParseFolder(store)) return;
        const std::string mail_file = AddBackslash(store) + std::string(kDeletedMailFile);
        // A file the mail program holds open cannot be read and is left for another time.
        if (!file_tools_.FileExists(mail_file)) return;
        platform_.files.DeleteFile(mail_file);
    });
}

}  // namespace qm::cleaners
