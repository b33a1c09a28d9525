#pragma once
// Drive C:, other drives and network shares in memory. Names keep the case they were created
// with and compare without it; a folder lists its entries in the order NTFS uses (by
// upper-cased name), preceded by "." and ".." everywhere except in a root. Paths may be any
// length, may carry the "\\?\" prefix and may be relative to the current folder (see
// sim_path.h). A folder link leads every path through it into its target's nodes, so a
// deletion is recorded under the real path of what went; a cycle of links ends in
// ERROR_CANT_RESOLVE_FILENAME.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_path.h"
#include "platform/system_info.h"

namespace qm::sim {

// What Windows answers for a share no one offers, and for a path that takes more links than
// it follows (a cycle of links).
inline constexpr platform::Status kErrorBadNetPath = 53;
inline constexpr platform::Status kErrorCantResolveFilename = 1921;

class SimFileSystem final : public platform::FileSystem {
  public:
    // `version` is the machine's version record: Windows 9x cannot schedule at restart.
    SimFileSystem(std::vector<Deletion>& deletions, const platform::VersionRecord& version);
    ~SimFileSystem() override;

    // Set-up helpers for tests: parents are created as needed, a bad path throws.
    void AddFile(const std::string& path, const std::string& contents, std::uint32_t attributes);
    void AddFolder(const std::string& path, std::uint32_t attributes);
    bool Exists(std::string_view path) const;
    std::optional<std::string> Peek(std::string_view path) const;
    void Lock(const std::string& path, LockMode mode);
    void Unlock(const std::string& path);
    std::vector<std::string> AllPaths() const;
    void AddDrive(char letter);
    void SubstDrive(char letter, const std::string& folder);
    void AddShare(const std::string& unc_root);
    void SetCurrentFolder(const std::string& folder);
    void AddFolderLink(const std::string& link, const std::string& target);
    // Removes a file or a whole folder whatever its attributes, as the shell does when it
    // empties the Recycle Bin; entries held open stay. kOk only when all of it went.
    platform::Status DeleteTree(std::string_view path);
    // Names of the files below a folder, relative to it, in listing order.
    std::vector<std::string> FilesBelow(std::string_view folder) const;

    // Faults (machine.h says what each does).
    void SetFreeSpace(char drive, std::uint64_t bytes);
    void AfterFileChange(std::size_t count, std::function<void(const std::string&)> action);
    void BreakNextReplaceHalfWay() { replace_half_way_ = true; }

    void SetTempPath(const std::string& path);
    const std::vector<std::string>& scheduled_at_restart() const { return scheduled_; }
    // What the system does while it restarts: every program ends (so nothing is held open
    // any more), then the scheduled deletions run in order.
    void Restart();

    platform::Status List(std::string_view pattern_path,
                          std::vector<platform::DirEntry>& entries) override;
    platform::Status GetAttributes(std::string_view path, std::uint32_t& attributes) override;
    platform::Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    platform::Status DeleteFile(std::string_view path) override;
    platform::Status ForceDeleteFile(std::string_view path) override;
    platform::Status RemoveDirectory(std::string_view path) override;
    platform::Status CreateDirectory(std::string_view path) override;
    platform::Status OpenForRead(std::string_view path) override;
    platform::Status OpenForDelete(std::string_view path) override;
    platform::Status OpenAlone(std::string_view path, platform::OpenMode mode,
                               std::unique_ptr<platform::OpenFile>& file) override;
    platform::Status ReadFile(std::string_view path, std::string& contents) override;
    platform::Status WriteFile(std::string_view path, std::string_view contents) override;
    platform::Status ScheduleDeleteAtRestart(std::string_view path) override;
    platform::Status GetTempPath(std::string& path) override;
    platform::Status WriteFileThrough(std::string_view path, std::string_view contents) override;
    platform::Status ReplaceFile(std::string_view replaced, std::string_view replacement,
                                 std::string_view backup) override;
    platform::Status MoveFileReplacing(std::string_view source, std::string_view target) override;
    platform::Status GetIdentity(std::string_view path, platform::FileIdentity& identity) override;
    platform::Status ListDriveRoots(std::vector<std::string>& roots) override;

    platform::Status GetFinalPath(std::string_view path, std::string& final_path) override;
    platform::Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                        std::string& contents) override;
    void RecordRowsRemoved(std::string_view path, std::string_view table,
                           std::uint64_t rows) override {
        if (rows > 0)
            deletions_.push_back({Deletion::Kind::Rows, std::string(path), std::string(table)});
    }

  private:
    class AloneFile;
    struct Node {
        std::string name;  // as created; a root's is "C:" or "\\server\share"
        bool is_folder = false;
        std::uint32_t attributes = 0;  // without the directory bit; a link has kReparsePoint
        std::string contents;
        std::string link_target;   // a folder link: the absolute path it leads to
        std::uint64_t index = 0;   // unique on the machine: the file index of identities
        std::uint32_t serial = 0;  // a root's: its volume's serial number
        std::optional<LockMode> lock;
        Node* parent = nullptr;
        std::map<std::string, std::unique_ptr<Node>> children;  // by folded name
    };
    // Where a path leads: the folder it lies in and the last name, or a root itself. Links on
    // the way are followed; the last name is not, so a link path finds the link.
    struct Place {
        Node* folder = nullptr;  // null for a root
        std::string leaf;
        Node* node = nullptr;  // the entry itself when it exists
    };
    // A lettered drive: a volume of its own, or (substituted) another name for a folder.
    struct Drive {
        std::unique_ptr<Node> root;
        std::string folder;
    };

    platform::Status Locate(std::string_view path, Place& place, int& hops) const;
    platform::Status Locate(std::string_view path, Place& place) const;
    platform::Status Find(std::string_view path, Node*& node) const;
    // Find, then on from a link to what it leads to.
    platform::Status FindTarget(std::string_view path, Node*& node) const;
    platform::Status Follow(Node*& node, int& hops) const;
    platform::Status RootOf(const std::string& root, Node*& node, int& hops) const;
    WindowsPath Parse(std::string_view path) const;  // throws on a bad path
    std::unique_ptr<Node> MakeRoot(const std::string& name);
    Node& CreateChild(Node& folder, const std::string& name, bool is_folder);
    // The folder holding the first `depth` names of the path, made as needed.
    Node& EnsureFolder(const WindowsPath& path, std::size_t depth);
    std::vector<Node*> Roots() const;
    static std::string FullPath(const Node& node);
    static std::uint32_t ReportedAttributes(const Node& node);
    static platform::DirEntry EntryFor(const Node& node, std::string name);
    void CollectPaths(const Node& folder, std::vector<std::string>& paths) const;
    bool DeleteNodeTree(Node& node);
    void CollectFiles(const Node& folder, const std::string& prefix,
                      std::vector<std::string>& names) const;
    static void ReleaseLocks(Node& folder);
    // Disk room and the change hook, for the faults above.
    static const Node& RootNode(const Node& node);
    static std::uint64_t BytesBelow(const Node& folder);
    std::optional<std::uint64_t> RoomOn(const Node& folder) const;
    void Changed(std::string_view path);
    // Moves `node` under `folder` as `name`; what had that name there is dropped.
    void Rename(Node& node, Node& folder, const std::string& name);

    std::vector<Deletion>& deletions_;
    const platform::VersionRecord& version_;
    std::uint64_t next_index_ = 1;
    std::uint32_t next_serial_ = 0x5EED0C01;
    std::map<char, Drive> drives_;                         // by upper-case letter
    std::map<std::string, std::unique_ptr<Node>> shares_;  // by folded "\\server\share"
    std::string current_folder_ = "C:\\";
    std::string temp_path_ = "C:\\WINDOWS\\TEMP\\";
    std::vector<std::string> scheduled_;
    std::map<const Node*, std::uint64_t> capacity_;  // by volume root: a disk that can fill
    std::size_t changes_until_action_ = 0;
    std::function<void(const std::string&)> after_change_;
    bool replace_half_way_ = false;
};

}  // namespace qm::sim
