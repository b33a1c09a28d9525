// DeleteFolderTree and KillFolder: the two deleters that take a folder with everything in it,
// hidden and system files included. DeleteFolderTree is silent and answers with a status;
// KillFolder reports its failure and answers whether the folder is gone.
#include "cleaners/file_tools.h"
#include "cleaners/reparse_point.h"
#include "errors/labels.h"

namespace qm::cleaners {

using platform::DirEntry;
using platform::Status;
namespace attr = platform::attr;

namespace {

constexpr std::int32_t kRefused = -1;
constexpr std::uint32_t kProtectiveBits = attr::kReadOnly | attr::kHidden | attr::kSystem;

std::int32_t ErrorNumber(Status status) {
    return errors::FromStatus(status).number();
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Lists everything in `folder`; a folder with nothing to list gives an empty listing.
Status ListEverything(platform::FileSystem& files, const std::string& folder,
                      std::vector<DirEntry>& entries) {
    const Status status = files.List(folder + "\\*.*", entries);
    if (status == platform::kErrorFileNotFound || status == platform::kErrorNoMoreFiles) {
        entries.clear();
        return platform::kOk;
    }
    return status;
}

// Only read-only makes Windows refuse a delete, and the listing has already told us which
// files carry it.
Status DeleteListedFile(platform::FileSystem& files, const std::string& path,
                        std::uint32_t attributes) {
    return (attributes & attr::kReadOnly) != 0 ? files.ForceDeleteFile(path)
                                               : files.DeleteFile(path);
}

// The walk of DeleteFolderTree below the checked top folder: files go while the listing is
// read, subfolders afterwards in listing order, and the first failure stops everything.
std::int32_t DeleteTreeBelow(platform::FileSystem& files, const std::string& folder) {
    std::vector<DirEntry> entries;
    ListEverything(files, folder, entries);
    std::vector<const DirEntry*> subfolders;
    for (const DirEntry& entry : entries) {
        if (paths::IsDotEntry(entry.name) || entry.name == "pagefile.sys") continue;
        if ((entry.attributes & attr::kDirectory) != 0) {
            subfolders.push_back(&entry);
            continue;
        }
        if (const Status s = DeleteListedFile(files, folder + "\\" + entry.name, entry.attributes);
            s != platform::kOk) {
            return ErrorNumber(s);
        }
    }
    for (const DirEntry* entry : subfolders) {
        const std::string subfolder = folder + "\\" + entry->name;
        // A link is removed as a link; what it points to is not ours to empty.
        if (!IsFolderLink(entry->attributes)) {
            if (const std::int32_t status = DeleteTreeBelow(files, subfolder); status != 0) {
                return status;
            }
            continue;
        }
        if (const Status s = files.RemoveDirectory(subfolder); s != platform::kOk) {
            return ErrorNumber(s);
        }
    }
    if (const Status s = files.RemoveDirectory(folder); s != platform::kOk) return ErrorNumber(s);
    return 0;
}

// Removes attributes that would make Windows refuse a delete; a folder keeps its directory
// bit either way.
Status ClearProtection(platform::FileSystem& files, const std::string& path,
                       std::uint32_t attributes) {
    if ((attributes & kProtectiveBits) == 0) return platform::kOk;
    return files.SetAttributes(path, attr::kNormal);
}

// KillFolder's forced delete: read-only, hidden and system contents go too; the first entry
// that cannot be removed stops the walk with its status. A folder that is a link loses only
// the link.
Status ForceDeleteTree(platform::FileSystem& files, const std::string& folder,
                       std::uint32_t folder_attributes) {
    if (IsFolderLink(folder_attributes)) {
        if (const Status s = ClearProtection(files, folder, folder_attributes); s != 0) return s;
        return files.RemoveDirectory(folder);
    }
    std::vector<DirEntry> entries;
    if (const Status s = ListEverything(files, folder, entries); s != platform::kOk) return s;
    for (const DirEntry& entry : entries) {
        if (paths::IsDotEntry(entry.name)) continue;
        const std::string path = folder + "\\" + entry.name;
        const bool is_folder = (entry.attributes & attr::kDirectory) != 0;
        if (is_folder) {
            if (const Status s = ForceDeleteTree(files, path, entry.attributes); s != 0) return s;
            continue;
        }
        if (const Status s = DeleteListedFile(files, path, entry.attributes); s != 0) return s;
    }
    if (const Status s = ClearProtection(files, folder, folder_attributes); s != 0) return s;
    return files.RemoveDirectory(folder);
}

}  // namespace

std::int32_t FileTools::DeleteFolderTree(std::string_view path) {
    std::string_view folder = TrimBlanks(path);
    if (folder.empty()) return kRefused;
    if (folder.back() == '\\') folder.remove_suffix(1);
    // A path without any backslash is a bare drive ("C:") or a relative name, and one written
    // with forward slashes falls here too: none of them names a folder this tool may empty.
    if (folder.find('\\') == std::string_view::npos) return kRefused;
    const std::string top(folder);
    std::uint32_t attributes = 0;
    if (files_.GetAttributes(top, attributes) != platform::kOk) return kRefused;
    if ((attributes & attr::kDirectory) == 0) return kRefused;
    // The folder named by the caller is emptied even when it is itself a link (a temporary
    // folder moved elsewhere); links found inside it are never followed.
    return DeleteTreeBelow(files_, top);
}

bool FileTools::KillFolder(std::string_view path) {
    std::string folder(path);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    auto exists = [&](std::uint32_t& attributes) {
        return !folder.empty() && files_.GetAttributes(folder, attributes) == platform::kOk &&
               (attributes & attr::kDirectory) != 0;
    };
    std::uint32_t attributes = 0;
    if (!exists(attributes)) return false;
    errors::ReportingStep(reporter_, errors::label::kKillFolder, [&] {
        errors::ThrowIfFailed(ForceDeleteTree(files_, folder, attributes));
    });
    return !exists(attributes);
}

}  // namespace qm::cleaners
