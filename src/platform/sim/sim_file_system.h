#pragma once
// Drive C: in memory. Names keep the case they were created with and compare without it;
// a folder lists its entries in the order NTFS uses (by upper-cased name), preceded by "."
// and ".." everywhere except in the root. Paths may be any length and may carry the "\\?\"
// prefix; drives other than C: do not exist.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/sim/machine.h"
#include "platform/system_info.h"

namespace qm::sim {

class SimFileSystem final : public platform::FileSystem {
  public:
    // `version` is the machine's version record: Windows 9x cannot schedule at restart.
    SimFileSystem(std::vector<Deletion>& deletions, const platform::VersionRecord& version);
    ~SimFileSystem() override;

    // Set-up helpers for tests: parents are created as needed, a bad path throws.
    void AddFile(const std::string& path, const std::string& contents, std::uint32_t attributes);
    void AddFolder(const std::string& path, std::uint32_t attributes);
    bool Exists(std::string_view path) const;
    void Lock(const std::string& path, LockMode mode);
    void Unlock(const std::string& path);
    std::vector<std::string> AllPaths() const;
    // Copies a file or a whole folder, replacing what is at the target; for the shell's copy.
    platform::Status Copy(std::string_view source, std::string_view target);
    // Removes a file or a whole folder whatever its attributes, as the shell does when it
    // empties the Recycle Bin; entries held open stay. kOk only when all of it went.
    platform::Status DeleteTree(std::string_view path);
    // Names of the files below a folder, relative to it, in listing order.
    std::vector<std::string> FilesBelow(std::string_view folder) const;

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
    platform::Status RemoveDirectory(std::string_view path) override;
    platform::Status CreateDirectory(std::string_view path) override;
    platform::Status OpenForRead(std::string_view path) override;
    platform::Status ReadFile(std::string_view path, std::string& contents) override;
    platform::Status WriteFile(std::string_view path, std::string_view contents) override;
    platform::Status ScheduleDeleteAtRestart(std::string_view path) override;
    platform::Status GetTempPath(std::string& path) override;

  private:
    struct Node {
        std::string name;  // as created; "C:" for the root
        bool is_folder = false;
        std::uint32_t attributes = 0;  // without the directory bit
        std::string contents;
        std::optional<LockMode> lock;
        Node* parent = nullptr;
        std::map<std::string, std::unique_ptr<Node>> children;  // by folded name
    };
    // Where a path leads: the folder it lies in and the last name, or the root itself.
    struct Place {
        Node* folder = nullptr;  // null for the root
        std::string leaf;
        Node* node = nullptr;  // the entry itself when it exists
    };

    platform::Status Locate(std::string_view path, Place& place) const;
    platform::Status Find(std::string_view path, Node*& node) const;
    Node& CreateChild(Node& folder, const std::string& name, bool is_folder);
    Node& EnsureFolder(std::string_view path);
    static std::string FullPath(const Node& node);
    static std::uint32_t ReportedAttributes(const Node& node);
    static platform::DirEntry EntryFor(const Node& node, std::string name);
    void CollectPaths(const Node& folder, std::vector<std::string>& paths) const;
    void CopyInto(const Node& source, Node& folder, const std::string& name);
    bool DeleteNodeTree(Node& node);
    void CollectFiles(const Node& folder, const std::string& prefix,
                      std::vector<std::string>& names) const;
    static void ReleaseLocks(Node& folder);

    std::vector<Deletion>& deletions_;
    const platform::VersionRecord& version_;
    std::unique_ptr<Node> root_;
    std::string temp_path_ = "C:\\WINDOWS\\TEMP\\";
    std::vector<std::string> scheduled_;
};

}  // namespace qm::sim
