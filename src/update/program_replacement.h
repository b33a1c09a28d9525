#pragma once
// Puts the downloaded program in the installed one's place so that, whenever the work stops
// (a full disk, the process killed, the power lost), a whole program answers to the installed
// name. The new program is written beside the old one as Quillmoss.exe.new, written through
// and read back, and only then takes the installed name in one step; the old one is kept as
// Quillmoss.exe.old until the new one has started. These two names are the only files the
// replacement ever deletes.
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qm::update {

inline constexpr std::string_view kInstalledName = "Quillmoss.exe";
inline constexpr std::string_view kFreshName = "Quillmoss.exe.new";
inline constexpr std::string_view kBackupName = "Quillmoss.exe.old";

class ProgramReplacement {
  public:
    // `folder`: the program folder, ending in a backslash.
    ProgramReplacement(platform::FileSystem& files, const std::string& folder);

    // True only when the installed program now holds exactly the bytes of `download`, the old
    // one (if there was one) kept as the backup. False leaves the old program in place.
    bool Replace(std::string_view download);
    // After the new program would not start: the backup goes back under the installed name.
    // True once the installed program is read back as the old one (or there was none).
    bool PutBack();
    // What an attempt stopped part-way leaves: with no program under the installed name, the
    // backup is put back; then the half-written file and a backup no longer needed go.
    void Tidy();

  private:
    bool Exists(const std::string& path);
    bool Holds(const std::string& path, const std::string& contents);

    platform::FileSystem& files_;
    const std::string installed_, fresh_, backup_;
    bool had_old_ = false;
    std::string old_;
};

}  // namespace qm::update
