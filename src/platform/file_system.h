#pragma once
// Files and folders as Quillmoss needs them. Paths are UTF-8 texts in Windows form
// ("C:\folder\file.txt"); names compare without regard to letter case.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace qm::platform {

namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kReparsePoint = 0x400;  // a folder link
inline constexpr std::uint32_t kNormal = 0x80;         // what Windows reports for "no attributes"
}  // namespace attr

// Which file or folder a path really opens, whatever name reached it: through folder links
// (junctions, symbolic links), substituted or mapped drives and other spellings. Two paths
// name the same folder exactly when their identities are equal.
struct FileIdentity {
    std::uint32_t volume = 0;  // the volume's serial number
    std::uint64_t index = 0;   // the file index on that volume
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct DirEntry {
    std::string name;  // the long name, without folder
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

// A file held open to be read and written anywhere in it, as a database needs it. Closing
// (destroying) it lets other programs open the file again.
class OpenFile {
  public:
    virtual ~OpenFile() = default;
    // Up to buffer.size() bytes from `offset`; `read` says how many came, fewer at the end.
    virtual Status Read(std::uint64_t offset, std::span<char> buffer, std::size_t& read) = 0;
    // Writes at `offset`, growing the file as needed (a gap before it reads as zeros). A disk
    // that runs out of room answers ERROR_DISK_FULL (112) with what fitted written.
    virtual Status Write(std::uint64_t offset, std::string_view data) = 0;
    virtual Status Truncate(std::uint64_t size) = 0;
    // FlushFileBuffers: what was written is on the disk once this answers kOk.
    virtual Status Flush() = 0;
    virtual Status GetSize(std::uint64_t& size) = 0;
};

enum class OpenMode : std::uint8_t {
    Read,          // an existing file, read only
    ReadWrite,     // an existing file
    OpenOrCreate,  // read and write, made (empty) when missing
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // FindFirstFile/FindNextFile over "folder\pattern": every entry whose name matches the
    // wildcard pattern (Windows rules for * and ?), whatever its attributes, "." and ".."
    // included where Windows lists them, in a stable order. Filtering by attribute mask is
    // the caller's job. No match: kErrorFileNotFound; missing folder: kErrorPathNotFound.
    virtual Status List(std::string_view pattern_path, std::vector<DirEntry>& entries) = 0;

    virtual Status GetAttributes(std::string_view path, std::uint32_t& attributes) = 0;
    virtual Status SetAttributes(std::string_view path, std::uint32_t attributes) = 0;
    virtual Status DeleteFile(std::string_view path) = 0;
    // Deletes a file the caller has seen read-only: in one call where Windows has one (10 and
    // later), else by clearing its attributes first. Anything else DeleteFile refuses (a file
    // held open, a folder) is refused alike.
    virtual Status ForceDeleteFile(std::string_view path) = 0;
    // Removes an empty folder.
    virtual Status RemoveDirectory(std::string_view path) = 0;
    virtual Status CreateDirectory(std::string_view path) = 0;
    // Opens the file for reading with read sharing and closes it again.
    virtual Status OpenForRead(std::string_view path) = 0;
    // Opens the file or folder with delete access, sharing everything, and closes it again:
    // the refusal a delete would meet because another program holds it open
    // (kErrorSharingViolation), learnt without deleting anything.
    virtual Status OpenForDelete(std::string_view path) = 0;
    // OpenForDelete on each path, answers in `results` (as long as `paths`). A backend may
    // open several at once; only the answers' order is kept.
    virtual void OpenEachForDelete(std::span<const std::string_view> paths,
                                   std::span<Status> results) {
        for (std::size_t i = 0; i < paths.size(); ++i) results[i] = OpenForDelete(paths[i]);
    }
    // Opens a file for the caller alone (CreateFile with no sharing): a file another program
    // holds open answers kErrorSharingViolation, and while the caller holds it no other
    // program can open, rename or delete it. A read-only file refuses the writing modes with
    // kErrorAccessDenied, a folder refuses every mode alike.
    virtual Status OpenAlone(std::string_view path, OpenMode mode,
                             std::unique_ptr<OpenFile>& file) = 0;
    // Whole-file read and write (write creates or replaces).
    virtual Status ReadFile(std::string_view path, std::string& contents) = 0;
    virtual Status WriteFile(std::string_view path, std::string_view contents) = 0;

    // MoveFileEx with no new name and MOVEFILE_DELAY_UNTIL_REBOOT: the file (or the folder,
    // if it is empty by then) is deleted at the next restart. Windows 95/98/ME refuse it.
    virtual Status ScheduleDeleteAtRestart(std::string_view path) = 0;
    // GetTempPath: the folder for temporary files, ending in a backslash. A relative TMP or TEMP
    // comes back as written (plus the backslash) rather than resolved against the current folder.
    virtual Status GetTempPath(std::string& path) = 0;

    // --- putting a new file in the place of an old one, with no moment where neither is whole
    // WriteFile, written through to the disk before it returns: once it answers kOk, a power
    // loss cannot leave the file shorter than written. A disk that runs out of room answers
    // ERROR_DISK_FULL (112) and leaves the file holding what fitted.
    virtual Status WriteFileThrough(std::string_view path, std::string_view contents) = 0;
    // ReplaceFile with REPLACEFILE_WRITE_THROUGH: `replaced` (which must exist) takes the
    // content of `replacement` under its own name, and the old content goes on under `backup`
    // (which must not exist). On failure Windows may have gone half-way: `replaced` already
    // renamed to `backup` with `replacement` still under its own name
    // (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1177), so the caller looks before it trusts.
    virtual Status ReplaceFile(std::string_view replaced, std::string_view replacement,
                               std::string_view backup) = 0;
    // MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: renames a file, in
    // one step over whatever file had the new name.
    virtual Status MoveFileReplacing(std::string_view source, std::string_view target) = 0;

    // Follows links to what the path opens; a missing path fails as GetAttributes does.
    virtual Status GetIdentity(std::string_view path, FileIdentity& identity) = 0;
    // The root of every lettered local disk ("C:\", "D:\", ...), as GetLogicalDriveStrings
    // gives them; removable, disc and network drives are left out.
    virtual Status ListDriveRoots(std::vector<std::string>& roots) = 0;

    // --- what a database cleaning removed ---------------------------------------------------
    // Told after rows went from a table of the database file at `path` (the file itself was
    // rewritten through OpenAlone and MoveFileReplacing). Windows keeps no record; the
    // simulated machine and the dry run note it beside the files they saw go.
    virtual void RecordRowsRemoved(std::string_view path, std::string_view table,
                                   std::uint64_t rows) {
        (void)path, (void)table, (void)rows;
    }

    // Told when a cleaner leaves a file in place because the user keeps it: it holds the
    // cookies of a site to keep or pinned entries, or it is (or lies in) a place never touched. The
    // dry run lists it, so the preview shows what stays and why. Pins: it holds entries the user
    // pinned, or what it holds cannot be told.
    enum class KeptFor : std::uint8_t { Cookies, Exclusion, Pins };
    virtual void RecordKept(std::string_view path, KeptFor why = KeptFor::Cookies) {
        (void)path, (void)why;
    }

    // --- where a folder really lies ----------------------------------------------------------
    // The full path of what `path` opens once every folder link and substituted drive on the
    // way is followed, in plain form ("C:\...", "\\server\share\..."), as
    // GetFinalPathNameByHandle gives it. Windows before Vista cannot tell:
    // kErrorCallNotImplemented there.
    virtual Status GetFinalPath(std::string_view path, std::string& final_path) = 0;

    // --- compound files -------------------------------------------------------------------
    // One stream of a compound file (structured storage), read whole through the system's own
    // calls, the file opened read-only and closed again. A file that is no compound file, or
    // a damaged one, answers kErrorInvalidData; a missing stream kErrorFileNotFound; a file
    // another program is writing kErrorSharingViolation.
    virtual Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                      std::string& contents) = 0;
};

}  // namespace qm::platform
