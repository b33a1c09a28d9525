#include "update/program_replacement.h"

namespace qm::update {

using platform::kOk;

ProgramReplacement::ProgramReplacement(platform::FileSystem& files, const std::string& folder)
    : files_(files),
      installed_(folder + std::string(kInstalledName)),
      fresh_(folder + std::string(kFreshName)),
      backup_(folder + std::string(kBackupName)) {}

bool ProgramReplacement::Exists(const std::string& path) {
    std::uint32_t attributes = 0;
    return files_.GetAttributes(path, attributes) == kOk;
}

bool ProgramReplacement::Holds(const std::string& path, const std::string& contents) {
    std::string read;
    return files_.ReadFile(path, read) == kOk && read == contents;
}

void ProgramReplacement::Tidy() {
    // Only the step between ReplaceFile's two renames leaves no installed program, and then
    // the backup is the old one, whole.
    if (!Exists(installed_) && Exists(backup_)) files_.MoveFileReplacing(backup_, installed_);
    files_.DeleteFile(fresh_);
    if (Exists(installed_)) files_.DeleteFile(backup_);
}

bool ProgramReplacement::Replace(std::string_view download) {
    Tidy();
    std::string fresh;
    if (files_.ReadFile(download, fresh) != kOk || fresh.empty()) return false;
    had_old_ = Exists(installed_);
    // An old program that cannot be read could not be checked once put back.
    if (had_old_ && files_.ReadFile(installed_, old_) != kOk) return false;
    if (files_.WriteFileThrough(fresh_, fresh) != kOk || !Holds(fresh_, fresh)) {
        files_.DeleteFile(fresh_);
        return false;
    }
    const platform::Status moved = had_old_ ? files_.ReplaceFile(installed_, fresh_, backup_)
                                            : files_.MoveFileReplacing(fresh_, installed_);
    if (moved == kOk && Holds(installed_, fresh)) return true;
    // The call may have gone half-way before it failed: the old program is looked for, not
    // assumed to be still where it was.
    PutBack();
    files_.DeleteFile(fresh_);
    return false;
}

bool ProgramReplacement::PutBack() {
    if (!had_old_) return true;
    if (!Holds(installed_, old_) && files_.MoveFileReplacing(backup_, installed_) != kOk)
        return false;
    if (!Holds(installed_, old_)) return false;
    files_.DeleteFile(backup_);
    return true;
}

}  // namespace qm::update
