// The contract suites' machine on Linux: a fresh simulated machine per test.
#include "backend.h"
#include "platform/sim/machine.h"

namespace qm::contract {
namespace {

class SimHold final : public FileHold {
  public:
    SimHold(sim::Machine& machine, std::string path, HoldMode mode)
        : machine_(machine), path_(std::move(path)) {
        machine_.Lock(path_, mode == HoldMode::Exclusive ? sim::LockMode::Exclusive
                                                         : sim::LockMode::NoDelete);
    }
    ~SimHold() override { machine_.Unlock(path_); }

  private:
    sim::Machine& machine_;
    std::string path_;
};

class SimCacheHold final : public FileHold {
  public:
    SimCacheHold(sim::Machine& machine, std::string url) : machine_(machine), url_(std::move(url)) {
        machine_.LockUrlCacheEntry(url_);
    }
    ~SimCacheHold() override { machine_.UnlockUrlCacheEntry(url_); }

  private:
    sim::Machine& machine_;
    std::string url_;
};

class SimBackend final : public Backend {
  public:
    SimBackend() { machine_.SubstDrive('Z', "C:\\"); }
    platform::Registry& registry() override { return machine_.registry(); }
    platform::FileSystem& files() override { return machine_.files(); }
    platform::Shell& shell() override { return machine_.shell(); }
    platform::SystemInfo& system() override { return machine_.system(); }

    std::string ScratchFolder() override {
        const std::string folder = "C:\\QuillmossContract\\scratch-" + std::to_string(++made_);
        machine_.AddFolder(folder);
        return folder;
    }
    std::string ScratchKey() override {
        return "Software\\QuillmossContract\\scratch-" + std::to_string(++made_);
    }
    std::unique_ptr<FileHold> Hold(const std::string& path, HoldMode mode) override {
        return std::make_unique<SimHold>(machine_, path, mode);
    }
    bool IsReal() const override { return false; }
    std::string OtherNameOf(const std::string& folder) override { return "Z" + folder.substr(1); }
    bool MakeFolderLink(const std::string& link, const std::string& target) override {
        machine_.AddFolderLink(link, target);
        return true;
    }

    platform::UrlCache* url_cache() override { return &machine_.url_cache(); }
    bool AddUrlCacheEntry(const std::string& url) override {
        std::string cache;
        machine_.shell().GetFolderPath(platform::csidl::kInternetCache, cache);
        const std::string file =
            cache + "\\Content.IE5\\QMCNTRCT\\entry" + std::to_string(++made_) + "[1].htm";
        machine_.AddUrlCacheEntry(url, platform::cache_entry::kNormal, file);
        return true;
    }
    std::unique_ptr<FileHold> HoldUrlCacheEntry(const std::string& url) override {
        return std::make_unique<SimCacheHold>(machine_, url);
    }
    bool AddRecentDocument(const std::string& path) override {
        machine_.AddRecentDocument(path.substr(path.find_last_of('\\') + 1));
        return true;
    }
    bool RecycleFile(const std::string& path) override {
        std::string contents;
        if (machine_.files().ReadFile(path, contents) != platform::kOk) return false;
        // The bin keeps the file under a name of its own, as "Dc<n>" plus the extension.
        machine_.AddToRecycleBin("Dc" + std::to_string(++made_) + ".tmp", contents);
        return machine_.files().DeleteFile(path) == platform::kOk;
    }

  private:
    sim::Machine machine_;
    int made_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<SimBackend>();
}

}  // namespace qm::contract
