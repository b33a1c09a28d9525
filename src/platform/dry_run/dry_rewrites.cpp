#include "platform/dry_run/dry_rewrites.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/dry_run/dry_record.h"

namespace qm::dry_run {

using platform::Status;

std::shared_ptr<Rewrites::File> Rewrites::Find(std::string_view path) const {
    const auto found = files_.find(HiddenNames::Fold(path));
    return found == files_.end() ? nullptr : found->second;
}

std::shared_ptr<Rewrites::File> Rewrites::Add(std::string_view path, std::string contents,
                                              bool made) {
    auto file = std::make_shared<File>(File{std::move(contents), made});
    files_[HiddenNames::Fold(path)] = file;
    return file;
}

void Rewrites::Remove(std::string_view path) {
    files_.erase(HiddenNames::Fold(path));
}

void Rewrites::Move(std::string_view from, std::string_view to, bool to_exists) {
    std::shared_ptr<File> file = Find(from);
    Remove(from);
    if (file == nullptr) return;
    file->made = !to_exists;
    files_[HiddenNames::Fold(to)] = std::move(file);
}

namespace {

class MemoryFile final : public platform::OpenFile {
  public:
    MemoryFile(std::shared_ptr<Rewrites::File> file, bool writable)
        : file_(std::move(file)), writable_(writable) {}

    Status Read(std::uint64_t offset, std::span<char> buffer, std::size_t& read) override {
        const std::string& contents = file_->contents;
        read = offset < contents.size()
                   ? std::min<std::size_t>(buffer.size(), contents.size() - offset)
                   : 0;
        if (read > 0) std::memcpy(buffer.data(), contents.data() + offset, read);
        return platform::kOk;
    }
    Status Write(std::uint64_t offset, std::string_view data) override {
        if (!writable_) return platform::kErrorAccessDenied;
        std::string& contents = file_->contents;
        if (offset + data.size() > contents.size()) contents.resize(offset + data.size(), '\0');
        contents.replace(offset, data.size(), data);
        return platform::kOk;
    }
    Status Truncate(std::uint64_t size) override {
        if (!writable_) return platform::kErrorAccessDenied;
        file_->contents.resize(size, '\0');
        return platform::kOk;
    }
    Status Flush() override { return platform::kOk; }
    Status GetSize(std::uint64_t& size) override {
        size = file_->contents.size();
        return platform::kOk;
    }

  private:
    std::shared_ptr<Rewrites::File> file_;
    const bool writable_;
};

class CopyOnWriteFile final : public platform::OpenFile {
  public:
    CopyOnWriteFile(std::unique_ptr<platform::OpenFile> real,
                    std::function<std::shared_ptr<Rewrites::File>(std::string)> copy)
        : real_(std::move(real)), copy_(std::move(copy)) {}

    Status Read(std::uint64_t offset, std::span<char> buffer, std::size_t& read) override {
        return memory_ ? memory_->Read(offset, buffer, read) : real_->Read(offset, buffer, read);
    }
    Status Write(std::uint64_t offset, std::string_view data) override {
        if (const Status status = Copied(); status != platform::kOk) return status;
        return memory_->Write(offset, data);
    }
    Status Truncate(std::uint64_t size) override {
        if (const Status status = Copied(); status != platform::kOk) return status;
        return memory_->Truncate(size);
    }
    Status Flush() override { return platform::kOk; }
    Status GetSize(std::uint64_t& size) override {
        return memory_ ? memory_->GetSize(size) : real_->GetSize(size);
    }

  private:
    Status Copied() {
        if (memory_) return platform::kOk;
        std::uint64_t size = 0;
        if (const Status status = real_->GetSize(size); status != platform::kOk) return status;
        std::string contents(size, '\0');
        std::size_t read = 0;
        if (const Status status = real_->Read(0, contents, read); status != platform::kOk)
            return status;
        contents.resize(read);
        memory_ = std::make_unique<MemoryFile>(copy_(std::move(contents)), true);
        return platform::kOk;
    }

    std::unique_ptr<platform::OpenFile> real_;  // held for as long as the handle lives
    std::function<std::shared_ptr<Rewrites::File>(std::string)> copy_;
    std::unique_ptr<MemoryFile> memory_;
};

}  // namespace

std::unique_ptr<platform::OpenFile> OpenRewrite(std::shared_ptr<Rewrites::File> file,
                                                bool writable) {
    return std::make_unique<MemoryFile>(std::move(file), writable);
}

std::unique_ptr<platform::OpenFile> OpenCopyOnWrite(
    std::unique_ptr<platform::OpenFile> real,
    std::function<std::shared_ptr<Rewrites::File>(std::string contents)> copy) {
    return std::make_unique<CopyOnWriteFile>(std::move(real), std::move(copy));
}

}  // namespace qm::dry_run
