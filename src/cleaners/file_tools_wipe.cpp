// WipeFiles and WipeDir: the reporting deleters that empty a folder of what a normal listing
// shows. Hidden and system entries are never seen, so they survive, and so do the folders
// that hold them.
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

}  // namespace

void FileTools::WipeFiles(std::string_view folder, std::string_view patterns) {
    const std::string base = AddBackslash(folder);
    for (const std::string_view pattern : SplitPatterns(patterns)) {
        // An empty piece ("*.txt;" or ";;") would otherwise list base + "" and, through the
        // trailing backslash, every file of the folder.
        if (pattern.empty()) continue;
        std::vector<DirEntry> files;
        errors::ReportingStep(reporter_, label::kWipeFiles,
                              [&] { files = Dir(base + std::string(pattern), mask::kNormal); });
        for (const DirEntry& file : files) {
            errors::ReportingStep(reporter_, label::kWipeFiles, [&] {
                errors::ThrowIfFailed(files_.DeleteFile(base + file.name));
            });
        }
    }
    WipeDir(base);
}

void FileTools::WipeDir(std::string_view folder) {
    const std::string base = AddBackslash(folder);
    std::vector<DirEntry> entries;
    errors::ReportingStep(reporter_, label::kWipeDir,
                          [&] { entries = Dir(base + "*.*", mask::kWithFolders); });
    // The listing is taken whole before any subfolder is touched, so the walk over this
    // folder's subfolders is never cut short by the listings made inside them.
    for (const DirEntry& entry : entries) {
        if ((entry.attributes & platform::attr::kDirectory) == 0) continue;
        if (IsDotEntry(entry.name) || entry.name == "Pagefile.sys") continue;
        const std::string subfolder = base + entry.name;
        if (!IsFolderLink(entry.attributes)) WipeFiles(subfolder, "*.*");
        errors::ReportingStep(reporter_, label::kWipeDir,
                              [&] { errors::ThrowIfFailed(files_.RemoveDirectory(subfolder)); });
    }
}

}  // namespace qm::cleaners
