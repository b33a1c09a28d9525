// A file opened alone on the simulated drive: held exclusively while open, read and written
// at any offset, with the disk-full fault and the change hook of whole-file writes.
#include <algorithm>
#include <cstring>

#include "platform/sim/sim_file_system.h"

namespace qm::sim {

using platform::Status;

namespace {
constexpr Status kErrorDiskFull = 112;
}  // namespace

class SimFileSystem::AloneFile final : public platform::OpenFile {
  public:
    AloneFile(SimFileSystem& files, std::string path, bool writable)
        : files_(files), path_(std::move(path)), writable_(writable) {}
    ~AloneFile() override {
        if (Node* node = Held(); node != nullptr) node->lock.reset();
    }

    Status Read(std::uint64_t offset, std::span<char> buffer, std::size_t& read) override {
        read = 0;
        const Node* node = Held();
        if (node == nullptr) return platform::kErrorInvalidHandle;
        if (offset < node->contents.size()) {
            read = std::min<std::size_t>(buffer.size(), node->contents.size() - offset);
            std::memcpy(buffer.data(), node->contents.data() + offset, read);
        }
        return platform::kOk;
    }

    Status Write(std::uint64_t offset, std::string_view data) override {
        Node* node = Writable();
        if (node == nullptr) return platform::kErrorAccessDenied;
        const std::uint64_t end = offset + data.size();
        const std::uint64_t growth = end > node->contents.size() ? end - node->contents.size() : 0;
        const std::optional<std::uint64_t> room = files_.RoomOn(*node);
        const std::uint64_t fits = room && growth > *room ? *room : growth;
        const std::uint64_t new_size = node->contents.size() + fits;
        if (new_size > node->contents.size()) node->contents.resize(new_size, '\0');
        if (offset < new_size) {
            const std::size_t count = std::min<std::uint64_t>(data.size(), new_size - offset);
            node->contents.replace(offset, count, data.substr(0, count));
        }
        Record(*node);
        return fits == growth ? platform::kOk : kErrorDiskFull;
    }

    Status Truncate(std::uint64_t size) override {
        Node* node = Writable();
        if (node == nullptr) return platform::kErrorAccessDenied;
        if (size > node->contents.size()) {
            const std::optional<std::uint64_t> room = files_.RoomOn(*node);
            if (room && size - node->contents.size() > *room) return kErrorDiskFull;
        }
        node->contents.resize(size, '\0');
        Record(*node);
        return platform::kOk;
    }

    Status Flush() override {
        return Held() != nullptr ? platform::kOk : platform::kErrorInvalidHandle;
    }

    Status GetSize(std::uint64_t& size) override {
        const Node* node = Held();
        if (node == nullptr) return platform::kErrorInvalidHandle;
        size = node->contents.size();
        return platform::kOk;
    }

  private:
    // The node while this opening still holds it (a restart ends every program's files).
    Node* Held() const {
        Node* node = nullptr;
        if (files_.Find(path_, node) != platform::kOk || node->is_folder ||
            node->lock != LockMode::Exclusive) {
            return nullptr;
        }
        return node;
    }
    Node* Writable() const { return writable_ ? Held() : nullptr; }
    void Record(Node& node) {
        node.attributes |= platform::attr::kArchive;
        if (!recorded_) files_.deletions_.push_back({Deletion::Kind::Changed, path_, ""});
        recorded_ = true;
        files_.Changed(path_);
    }

    SimFileSystem& files_;
    const std::string path_;  // the full path of what was opened
    const bool writable_;
    bool recorded_ = false;
};

Status SimFileSystem::OpenAlone(std::string_view path, platform::OpenMode mode,
                                std::unique_ptr<platform::OpenFile>& file) {
    file.reset();
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    Node* node = place.node;
    if (node != nullptr && place.folder == nullptr) return platform::kErrorAccessDenied;
    if (node == nullptr) {
        if (mode != platform::OpenMode::OpenOrCreate) return platform::kErrorFileNotFound;
        if (place.folder == nullptr) return platform::kErrorAccessDenied;
        node = &CreateChild(*place.folder, place.leaf, false);
        node->attributes = platform::attr::kArchive;
    } else {
        if (node->is_folder) return platform::kErrorAccessDenied;
        if (node->lock) return platform::kErrorSharingViolation;
        if (mode != platform::OpenMode::Read && (node->attributes & platform::attr::kReadOnly))
            return platform::kErrorAccessDenied;
    }
    node->lock = LockMode::Exclusive;
    file = std::make_unique<AloneFile>(*this, FullPath(*node), mode != platform::OpenMode::Read);
    return platform::kOk;
}

}  // namespace qm::sim
