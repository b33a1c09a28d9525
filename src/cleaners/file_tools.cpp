#include "cleaners/file_tools.h"

#include "errors/runtime_error.h"

namespace qm::cleaners {

using platform::DirEntry;

FileTools::FileTools(platform::FileSystem& files, platform::Shell& shell,
                     errors::ErrorReporter& reporter)
    : files_(files), shell_(shell), reporter_(reporter) {}

std::vector<DirEntry> FileTools::Dir(std::string_view pattern_path, std::uint32_t mask) {
    // A folder given with its trailing backslash lists its contents, as the program's callers
    // have always been able to rely on.
    std::string pattern(pattern_path);
    if (!pattern.empty() && pattern.back() == '\\') pattern += "*.*";

    std::vector<DirEntry> listed;
    const platform::Status status = files_.List(pattern, listed);
    if (status == platform::kErrorFileNotFound || status == platform::kErrorNoMoreFiles) {
        return {};
    }
    errors::ThrowIfFailed(status);

    constexpr std::uint32_t kFilteredBits =
        platform::attr::kHidden | platform::attr::kSystem | platform::attr::kDirectory;
    std::vector<DirEntry> passed;
    passed.reserve(listed.size());
    for (DirEntry& entry : listed) {
        if ((entry.attributes & kFilteredBits & ~mask) == 0) passed.push_back(std::move(entry));
    }
    return passed;
}

bool FileTools::FileExists(std::string_view path) {
    // A file another program has locked against reading counts as absent: callers only want
    // to know whether they can use it.
    return !path.empty() && files_.OpenForRead(path) == platform::kOk;
}

bool FileTools::FolderExists(std::string_view path) {
    if (path.empty()) return false;
    try {
        return !Dir(path, mask::kWithFolders).empty();
    } catch (const errors::RuntimeError&) {
        return false;
    }
}

std::string FileTools::GetFolderClean(int csidl) {
    std::string path;
    if (shell_.GetFolderPath(csidl, path) != platform::kOk) return {};
    path = paths::UpToFirstNul(std::move(path));
    // Callers join names with AddBackslash.
    return std::string(paths::WithoutTrailingBackslash(path));
}

std::string FileTools::GetInternetCacheFolder() {
    return GetFolderClean(platform::csidl::kInternetCache);
}

std::string FileTools::GetCookiesFolder() {
    return GetFolderClean(platform::csidl::kCookies);
}

std::string FileTools::GetHistoryFolder() {
    return GetFolderClean(platform::csidl::kHistory);
}

std::string FileTools::GetSpecialFolder(int csidl) {
    std::string path;
    if (shell_.GetSpecialFolderLocationPath(csidl, path) != platform::kOk) return {};
    path = paths::UpToFirstNul(std::move(path));
    if (path.empty()) return {};
    // One trailing backslash, also for a root the shell already gives with one.
    return paths::AddBackslash(path);
}

}  // namespace qm::cleaners
