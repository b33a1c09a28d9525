#include "cleaners/leftovers.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "errors/labels.h"
#include "errors/runtime_error.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

using errors::SilentStep;
using platform::Root;

namespace {

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

}  // namespace

LeftoverCleaners::LeftoverCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                                   FileTools& file_tools, errors::ErrorReporter& reporter)
    : platform_(platform),
      settings_(settings),
      file_tools_(file_tools),
      reporter_(reporter),
      guard_(platform) {}

std::string LeftoverCleaners::GetTempFolder() {
    std::string gathered;
    try {
        std::string path;
        // A failed call leaves the buffer as it was: all NULs, so no text.
        if (platform_.files.GetTempPath(path) != platform::kOk) return gathered;
        path = paths::UpToFirstNul(std::move(path));
        // A path that does not fit with its NUL is not copied at all.
        if (WideLength(path) + 1 > kTempPathBufferLength) return gathered;
        gathered = std::move(path);
    } catch (const errors::RuntimeError& e) {
        reporter_.Report(errors::label::kGetTempFolder, e);
    }
    return gathered;
}

bool LeftoverCleaners::CleanTempFolder(std::string& folder) {
    folder = GetTempFolder();
    // A TEMP variable pointed at C:\, at the Windows folder or at the user's documents, under
    // any of their names, would otherwise have everything under it deleted, hidden and system
    // files included.
    // No text names no folder: DeleteFolderTree refuses it without a word.
    if (!folder.empty() && guard_.IsProtected(folder)) return false;
    SilentStep([&] {
        // When nothing in it was held, the folder goes with its contents; but every program
        // writes its temporary files there and fails without it, so it is made again, empty.
        if (file_tools_.DeleteFolderTree(folder) != 0) return;
        platform_.files.CreateDirectory(paths::WithoutTrailingBackslash(folder));
    });
    return true;
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
        if (store.empty() || !paths::ParseFolder(store)) return;
        const std::string mail_file = paths::AddBackslash(store) + std::string(kDeletedMailFile);
        // A file the mail program holds open cannot be read and is left for another time.
        if (!file_tools_.FileExists(mail_file)) return;
        platform_.files.DeleteFile(mail_file);
    });
}

}  // namespace qm::cleaners
