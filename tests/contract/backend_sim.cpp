// The contract suites' machine on Linux: a fresh simulated machine per test.
#include <limits>

#include "backend.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_compound.h"

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

    bool MakeCompoundFile(const std::string& path,
                          const std::map<std::string, std::string>& streams) override {
        machine_.AddFile(path, sim::EncodeCompound(streams));
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

    platform::Http& http() override { return machine_.http(); }
    platform::Signatures& signatures() override { return machine_.signatures(); }
    platform::MessageLoop& loop() override { return machine_.loop(); }
    // What tests/site/test_site.py serves, path by path.
    std::string TestSite() override {
        if (scripted_++) return kSite;
        std::string program = "MZ";
        for (int i = 0; i < 4094; ++i) program.push_back(static_cast<char>((i * 7) % 251));
        const std::string half = program.substr(0, 2048);
        Serve("/", "<html></html>");
        Serve("/qms.txt", "6\r\n");
        Serve("/qmsupdate.exe", program);
        for (int status : {403, 404, 500})
            Serve("/" + std::to_string(status) + "/qms.txt", "<html></html>", status);
        Serve("/lowerlength/qms.txt", "6\r\n", 200, "content-length");
        Serve("/short/qmsupdate.exe", half, 200, "Content-Length", 4096);
        Serve("/stall/qmsupdate.exe", half, 200, "Content-Length", 4096, true);
        const std::string report = "/error-reporting/error-msg.php?modClean%2CWipeDir53File%20not";
        Serve(report, report);
        sim::HttpAnswer silent;
        silent.delay_ms = std::numeric_limits<std::uint32_t>::max();  // never answers
        machine_.ServeUrl(kSite + "/stallhead/qms.txt", silent);
        sim::HttpAnswer trickle;
        trickle.body = program;
        trickle.trickle_ms = 2000;
        machine_.ServeUrl(kSite + "/trickle/qmsupdate.exe", trickle);
        return kSite;
    }
    std::string UntrustedTestSite() override {
        Serve("/qms.txt", "", 200, "", 0, false, platform::kErrorInternetInvalidCa, kUntrusted);
        return kUntrusted;
    }

  private:
    inline static const std::string kSite = "https://localhost:4443";
    inline static const std::string kUntrusted = "https://localhost:4444";
    // What tests/site/test_site.py answers for `path`.
    void Serve(const std::string& path, std::string body, int status = 200,
               std::string length_name = "Content-Length", std::uint64_t announced = 0,
               bool stall = false, platform::Status failure = platform::kOk,
               const std::string& site = kSite) {
        sim::HttpAnswer answer{failure, status, std::move(body), std::move(length_name), {},
                               {},      stall};
        if (announced != 0) answer.announced = announced;
        machine_.ServeUrl(site + path, answer);
    }

    sim::Machine machine_;
    int made_ = 0;
    int scripted_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend() {
    return std::make_unique<SimBackend>();
}

}  // namespace qm::contract
