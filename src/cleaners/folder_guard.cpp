#include "cleaners/folder_guard.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "paths/folder_path.h"

namespace qm::cleaners {

using platform::FileIdentity;

namespace {

// The folders whose loss, or the loss of anything inside them, would wreck Windows, the
// installed programs or the user's own files.
constexpr std::array kProtectedFolders = {
    platform::csidl::kWindows,      platform::csidl::kSystem,
    platform::csidl::kProgramFiles, platform::csidl::kProgramFilesX86,
    platform::csidl::kProfile,      platform::csidl::kDesktopDirectory,
    platform::csidl::kPersonal,     platform::csidl::kAppData,
    platform::csidl::kLocalAppData, platform::csidl::kFavorites,
    platform::csidl::kStartMenu,    platform::csidl::kCommonAppData,
};

std::string RootPath(const paths::FolderPath& folder) {
    return folder.root + "\\";
}

// The folder and every folder above it, up to and including its root.
std::vector<std::string> FolderAndAncestors(const paths::FolderPath& folder) {
    std::vector<std::string> paths{RootPath(folder)};
    std::string path = folder.root;
    for (const std::string& part : folder.parts) {
        path += "\\" + part;
        paths.push_back(path);
    }
    return paths;
}

}  // namespace

FolderGuard::FolderGuard(platform::Platform& platform) : platform_(platform) {}

bool FolderGuard::IsProtected(std::string_view folder) {
    // A relative path or one on "the current drive" names whatever folder the program happens
    // to stand in; a root has everything on the drive below it.
    const std::optional<paths::FolderPath> parsed = paths::ParseFolder(folder);
    if (!parsed || parsed->IsRoot()) return true;

    platform::FileSystem& files = platform_.files;
    const std::string path(paths::WithoutTrailingBackslash(folder));
    FileIdentity identity;
    if (files.GetIdentity(path, identity) != platform::kOk) {
        // Nothing there, nothing to lose; but a folder that exists and cannot be told apart
        // from the protected ones is not emptied.
        std::uint32_t attributes = 0;
        return files.GetAttributes(path, attributes) == platform::kOk;
    }

    // The text says nothing about where a path really leads, so the comparison is by identity:
    // the folder is protected when it is one of these folders or one above them.
    std::vector<std::string> protected_paths{RootPath(*parsed)};
    std::vector<std::string> drive_roots;
    if (files.ListDriveRoots(drive_roots) == platform::kOk) {
        protected_paths.insert(protected_paths.end(), drive_roots.begin(), drive_roots.end());
    }
    auto add_path_with_ancestors = [&](const std::string& text) {
        if (const std::optional<paths::FolderPath> found = paths::ParseFolder(text)) {
            for (std::string& above : FolderAndAncestors(*found)) {
                protected_paths.push_back(std::move(above));
            }
        }
    };
    // A protected folder may really lie elsewhere (a junction, a redirected folder): the
    // folders above where it lies hold it too. Before Vista only its text path is known.
    auto add_with_ancestors = [&](const std::string& text) {
        add_path_with_ancestors(text);
        std::string final_path;
        if (files.GetFinalPath(text, final_path) == platform::kOk) {
            add_path_with_ancestors(final_path);
        }
    };
    for (const int csidl : kProtectedFolders) {
        // A folder the shell does not know is not on this machine.
        std::string special;
        if (platform_.shell.GetFolderPath(csidl, special) == platform::kOk) {
            add_with_ancestors(paths::UpToFirstNul(std::move(special)));
        }
    }
    add_with_ancestors(platform_.process.ProgramFolder());

    for (const std::string& candidate : protected_paths) {
        FileIdentity other;
        if (files.GetIdentity(candidate, other) == platform::kOk && other == identity) return true;
    }
    return false;
}

}  // namespace qm::cleaners
