// Platform calls per file of the file deleters on the simulated machine: the "temp" and
// "iecache" items, DeleteFolderTree, WipeFiles and the preview of "temp", each on a tree of
// 20 x 10 x 100 files (the cache item on 20 cache subfolders of 1,000 files). The floor is one
// listing per folder and one delete per file. Usage: qm_bench_call_count_sim
#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "clean/catalogue.h"
#include "cleaners/file_tools.h"
#include "cleaners/ie_cleaners.h"
#include "cleaners/leftovers.h"
#include "cli/unattended.h"
#include "errors/error_reporter.h"
#include "platform/sim/machine.h"
#include "settings/settings_store.h"

namespace {

using qm::platform::DirEntry;
using qm::platform::Status;

enum Call { kList, kGetAttributes, kSetAttributes, kDelete, kRemove, kOpen, kOther, kCalls };
constexpr const char* kCallNames[kCalls] = {"list",  "getattr", "setattr", "delete",
                                            "rmdir", "open",    "other"};

// Passes every call on and counts it by kind.
class CountingFiles final : public qm::platform::FileSystem {
  public:
    explicit CountingFiles(qm::platform::FileSystem& real) : real_(real) {}
    std::array<long, kCalls> counts{};

    Status List(std::string_view p, std::vector<DirEntry>& e) override {
        return ++counts[kList], real_.List(p, e);
    }
    Status GetAttributes(std::string_view p, std::uint32_t& a) override {
        return ++counts[kGetAttributes], real_.GetAttributes(p, a);
    }
    Status SetAttributes(std::string_view p, std::uint32_t a) override {
        return ++counts[kSetAttributes], real_.SetAttributes(p, a);
    }
    Status DeleteFile(std::string_view p) override {
        return ++counts[kDelete], real_.DeleteFile(p);
    }
    Status ForceDeleteFile(std::string_view p) override {
        return ++counts[kDelete], real_.ForceDeleteFile(p);
    }
    Status RemoveDirectory(std::string_view p) override {
        return ++counts[kRemove], real_.RemoveDirectory(p);
    }
    Status CreateDirectory(std::string_view p) override {
        return ++counts[kOther], real_.CreateDirectory(p);
    }
    Status OpenForRead(std::string_view p) override {
        return ++counts[kOpen], real_.OpenForRead(p);
    }
    Status OpenForDelete(std::string_view p) override {
        return ++counts[kOpen], real_.OpenForDelete(p);
    }
    Status ReadFile(std::string_view p, std::string& c) override {
        return ++counts[kOther], real_.ReadFile(p, c);
    }
    Status WriteFile(std::string_view p, std::string_view c) override {
        return ++counts[kOther], real_.WriteFile(p, c);
    }
    Status ScheduleDeleteAtRestart(std::string_view p) override {
        return ++counts[kOther], real_.ScheduleDeleteAtRestart(p);
    }
    Status WriteFileThrough(std::string_view p, std::string_view c) override {
        return ++counts[kOther], real_.WriteFileThrough(p, c);
    }
    Status ReplaceFile(std::string_view p, std::string_view n, std::string_view b) override {
        return ++counts[kOther], real_.ReplaceFile(p, n, b);
    }
    Status MoveFileReplacing(std::string_view p, std::string_view t) override {
        return ++counts[kOther], real_.MoveFileReplacing(p, t);
    }
    Status GetTempPath(std::string& p) override { return ++counts[kOther], real_.GetTempPath(p); }
    Status GetIdentity(std::string_view p, qm::platform::FileIdentity& i) override {
        return ++counts[kOther], real_.GetIdentity(p, i);
    }
    Status ListDriveRoots(std::vector<std::string>& r) override {
        return ++counts[kOther], real_.ListDriveRoots(r);
    }
    Status GetFinalPath(std::string_view p, std::string& f) override {
        return ++counts[kOther], real_.GetFinalPath(p, f);
    }

  private:
    qm::platform::FileSystem& real_;
};

struct Tools {
    explicit Tools(qm::sim::Machine& machine)
        : counting(machine.files()),
          platform{machine.registry(), counting,       machine.shell(),   machine.system(),
                   machine.dialogs(),  machine.loop(), machine.process(), machine.url_cache(),
                   machine.desktop(),  machine.http()},
          settings(platform.registry, platform.process, reporter),
          files(platform.files, platform.shell, reporter),
          ie(platform, settings, files, reporter),
          leftovers(platform, settings, files, reporter),
          unattended(platform, settings, reporter, files) {}
    CountingFiles counting;
    qm::platform::Platform platform;
    qm::errors::ErrorReporter reporter;
    qm::settings::SettingsStore settings;
    qm::cleaners::FileTools files;
    qm::cleaners::IECleaners ie;
    qm::cleaners::LeftoverCleaners leftovers;
    qm::cli::Unattended unattended;
};

int MakeTree(qm::sim::Machine& machine, const std::string& root) {
    int made = 0;
    for (int t = 0; t < 20; ++t)
        for (int s = 0; s < 10; ++s)
            for (int f = 0; f < 100; ++f, ++made)
                machine.AddFile(root + "\\top" + std::to_string(t) + "\\sub" + std::to_string(s) +
                                    "\\file" + std::to_string(f) + ".tmp",
                                "q", 0x20);
    return made;
}

int MakeCacheTree(qm::sim::Machine& machine, const std::string& content) {
    static const char* const kExtensions[] = {"gif", "htm", "jpg", "css", "js",
                                              "png", "swf", "txt", "cab"};
    int made = 0;
    for (int d = 0; d < 20; ++d)
        for (int f = 0; f < 1000; ++f, ++made)
            machine.AddFile(content + "\\QMB" + std::to_string(d) + "\\item" + std::to_string(f) +
                                "[1]." + kExtensions[f % 9],
                            "c", 0x20);
    return made;
}

void Measure(const char* what, const std::function<int(qm::sim::Machine&, Tools&)>& run) {
    qm::sim::Machine machine;
    Tools tools(machine);
    const int files = run(machine, tools);
    long total = 0;
    for (long count : tools.counting.counts) total += count;
    std::printf("  %-18s %5.2f calls per file:", what, static_cast<double>(total) / files);
    for (int c = 0; c < kCalls; ++c) {
        if (tools.counting.counts[c] != 0) {
            std::printf(" %s %.2f", kCallNames[c],
                        static_cast<double>(tools.counting.counts[c]) / files);
        }
    }
    std::printf("\n");
}

}  // namespace

int main() {
    std::printf(
        "platform calls per file on the simulated machine (the floor, one listing and one removal "
        "per folder and one delete per file: 1.02 for the tree, 1.00 for the cache)\n");
    Measure("temp item", [](qm::sim::Machine& machine, Tools& tools) {
        const int files = MakeTree(machine, tools.leftovers.GetTempFolder() + "QMB");
        tools.counting.counts = {};
        std::string folder;
        tools.leftovers.CleanTempFolder(folder);
        return files;
    });
    Measure("iecache item", [](qm::sim::Machine& machine, Tools& tools) {
        const int files =
            MakeCacheTree(machine, tools.files.GetInternetCacheFolder() + "\\Content.IE5");
        tools.counting.counts = {};
        tools.ie.CleanIECacheFiles();
        return files;
    });
    Measure("DeleteFolderTree", [](qm::sim::Machine& machine, Tools& tools) {
        const int files = MakeTree(machine, "C:\\bench");
        tools.counting.counts = {};
        tools.files.DeleteFolderTree("C:\\bench");
        return files;
    });
    Measure("WipeFiles *.*", [](qm::sim::Machine& machine, Tools& tools) {
        const int files = MakeTree(machine, "C:\\bench");
        tools.counting.counts = {};
        tools.files.WipeFiles("C:\\bench", "*.*");
        return files;
    });
    Measure("preview of temp", [](qm::sim::Machine& machine, Tools& tools) {
        const int files = MakeTree(machine, tools.leftovers.GetTempFolder() + "QMB");
        tools.counting.counts = {};
        const qm::clean::CleaningItem* item[] = {qm::clean::FindByValueName("temp")};
        tools.unattended.PreviewRecords(item);
        return files;
    });
    return 0;
}
