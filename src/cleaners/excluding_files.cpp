#include "cleaners/excluding_files.h"

#include "paths/ascii_case.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

using platform::kErrorAccessDenied;
using platform::Status;

bool ExcludingFiles::Keeps(std::string_view path) {
    if (excluded_.empty()) return false;
    const std::optional<std::string_view> place = excluded_.PlaceOf(path, real_);
    if (!place) return false;
    if (told_.insert(paths::UpperAscii(*place)).second)
        real_.RecordKept(*place, KeptFor::Exclusion);
    // A walk empties a folder's contents before the folder: by the time it comes to a folder
    // above the place, it knows that folder stays.
    for (std::size_t cut = place->find_last_of('\\'); cut != std::string_view::npos && cut > 0;
         cut = place->find_last_of('\\', cut - 1)) {
        holders_.insert(paths::UpperAscii(place->substr(0, cut)));
    }
    return true;
}

Status ExcludingFiles::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return Keeps(path) ? platform::kOk : real_.SetAttributes(path, attributes);
}

Status ExcludingFiles::DeleteFile(std::string_view path) {
    return Keeps(path) ? platform::kOk : real_.DeleteFile(path);
}

Status ExcludingFiles::ForceDeleteFile(std::string_view path) {
    return Keeps(path) ? platform::kOk : real_.ForceDeleteFile(path);
}

Status ExcludingFiles::RemoveDirectory(std::string_view path) {
    if (Keeps(path) || holders_.contains(paths::UpperAscii(paths::WithoutTrailingBackslash(path))))
        return platform::kOk;
    return real_.RemoveDirectory(path);
}

Status ExcludingFiles::OpenAlone(std::string_view path, platform::OpenMode mode,
                                 std::unique_ptr<platform::OpenFile>& file) {
    if (mode != platform::OpenMode::Read && Keeps(path)) return kErrorAccessDenied;
    return real_.OpenAlone(path, mode, file);
}

Status ExcludingFiles::WriteFile(std::string_view path, std::string_view contents) {
    return Keeps(path) ? kErrorAccessDenied : real_.WriteFile(path, contents);
}

Status ExcludingFiles::ScheduleDeleteAtRestart(std::string_view path) {
    return Keeps(path) ? platform::kOk : real_.ScheduleDeleteAtRestart(path);
}

Status ExcludingFiles::WriteFileThrough(std::string_view path, std::string_view contents) {
    return Keeps(path) ? kErrorAccessDenied : real_.WriteFileThrough(path, contents);
}

Status ExcludingFiles::ReplaceFile(std::string_view replaced, std::string_view replacement,
                                   std::string_view backup) {
    if (Keeps(replaced) || Keeps(replacement)) return kErrorAccessDenied;
    return real_.ReplaceFile(replaced, replacement, backup);
}

Status ExcludingFiles::MoveFileReplacing(std::string_view source, std::string_view target) {
    if (Keeps(target) || Keeps(source)) return kErrorAccessDenied;
    return real_.MoveFileReplacing(source, target);
}

}  // namespace qm::cleaners
