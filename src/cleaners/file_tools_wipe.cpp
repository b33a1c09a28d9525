// WipeFiles, WipeDir and DeleteFilesIn: the deleters that empty a folder of what a normal
// listing shows. Hidden and system entries are never seen, so they survive, and so do the
// folders that hold them.
#include <utility>

#include "cleaners/file_tools.h"
#include "cleaners/reparse_point.h"
#include "errors/labels.h"

namespace qm::cleaners {

using platform::DirEntry;
namespace label = errors::label;

namespace {

std::vector<std::string_view> SplitPatterns(std::string_view patterns) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto semicolon = patterns.find(';');
        parts.push_back(patterns.substr(0, semicolon));
        if (semicolon == std::string_view::npos) break;
        patterns.remove_prefix(semicolon + 1);
    }
    return parts;
}

// Lists the normal files of `base` + `pattern` and deletes each; the listing and every delete
// are steps of their own, run in the caller's error style by `run_step`.
template <class RunStep>
void DeleteListedFiles(FileTools& tools, platform::FileSystem& files, const std::string& base,
                       std::string_view pattern, RunStep run_step,
                       const std::function<bool(std::string_view)>& spare = {}) {
    std::vector<DirEntry> listed;
    run_step([&] { listed = tools.Dir(base + std::string(pattern), mask::kNormal); });
    for (const DirEntry& file : listed) {
        if (spare && spare(file.name)) continue;
        run_step([&] { errors::ThrowIfFailed(files.DeleteFile(base + file.name)); });
    }
}

}  // namespace

void FileTools::WipeFiles(std::string_view folder, std::string_view patterns,
                          const std::function<bool(std::string_view name)>& spare) {
    const std::string base = paths::AddBackslash(folder);
    for (const std::string_view pattern : SplitPatterns(patterns)) {
        // An empty piece ("*.txt;" or ";;") would otherwise list base + "" and, through the
        // trailing backslash, every file of the folder.
        if (pattern.empty()) continue;
        DeleteListedFiles(
            *this, files_, base, pattern,
            [&](auto&& step) { errors::ReportingStep(reporter_, label::kWipeFiles, step); }, spare);
    }
    WipeDir(base);
}

void FileTools::DeleteFilesIn(std::string_view folder) {
    DeleteListedFiles(*this, files_, paths::AddBackslash(folder), "*.*",
                      [](auto&& step) { errors::SilentStep(step); });
}

void FileTools::DeleteFilesIn(std::string_view folder, std::string_view label) {
    DeleteListedFiles(*this, files_, paths::AddBackslash(folder), "*.*",
                      [&](auto&& step) { errors::ReportingStep(reporter_, label, step); });
}

void FileTools::WipeDir(std::string_view folder) {
    const std::string base = paths::AddBackslash(folder);
    std::vector<DirEntry> entries;
    errors::ReportingStep(reporter_, label::kWipeDir,
                          [&] { entries = Dir(base + "*.*", mask::kWithFolders); });
    // The listing is taken whole before any subfolder is touched, so the walk over this
    // folder's subfolders is never cut short by the listings made inside them.
    for (const DirEntry& entry : entries) {
        if ((entry.attributes & platform::attr::kDirectory) == 0) continue;
        if (paths::IsDotEntry(entry.name) || entry.name == "Pagefile.sys") continue;
        const std::string subfolder = base + entry.name;
        if (!IsFolderLink(entry.attributes)) WipeFiles(subfolder, "*.*");
        errors::ReportingStep(reporter_, label::kWipeDir,
                              [&] { errors::ThrowIfFailed(files_.RemoveDirectory(subfolder)); });
    }
}

}  // namespace qm::cleaners
