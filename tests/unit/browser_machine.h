#pragma once
// The real browsers' profiles (tests/fixtures/browsers, made by Chromium and Firefox) on a
// simulated machine, where Windows keeps them, for the tests that need real browser data.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/sim/machine.h"

namespace qm::testing {

inline std::string SlurpFixture(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Every fixture file by its Windows path below the machine's profile folders; the Chromium
// family's User Data lies below `chromium_vendor` (a folder of local application data).
inline std::map<std::string, std::string> PlaceBrowserFixtures(
    sim::Machine& machine, const std::string& chromium_vendor = "Chromium") {
    namespace fs = std::filesystem;
    static std::map<std::string, std::string> fixtures;  // relative path -> bytes, read once
    const fs::path root = QM_BROWSER_FIXTURES;
    if (fixtures.empty()) {
        for (const char* part : {"chromium", "firefox"}) {
            for (const auto& entry : fs::recursive_directory_iterator(root / part)) {
                if (!entry.is_regular_file()) continue;
                std::string relative = fs::relative(entry.path(), root).string();
                std::replace(relative.begin(), relative.end(), '/', '\\');
                fixtures[relative] = SlurpFixture(entry.path());
            }
        }
    }
    std::string local, roaming;
    machine.shell().GetFolderPath(platform::csidl::kLocalAppData, local);
    machine.shell().GetFolderPath(platform::csidl::kAppData, roaming);
    const std::pair<std::string, std::string> parts[] = {
        {"chromium\\", local + "\\" + chromium_vendor + "\\"},
        {"firefox\\roaming\\", roaming + "\\Mozilla\\Firefox\\"},
        {"firefox\\local\\", local + "\\Mozilla\\Firefox\\"}};
    std::map<std::string, std::string> placed;
    for (const auto& [relative, bytes] : fixtures) {
        for (const auto& [from, to] : parts) {
            if (!relative.starts_with(from)) continue;
            const std::string path = to + relative.substr(from.size());
            machine.AddFile(path, bytes);
            placed[path] = bytes;
        }
    }
    return placed;
}

}  // namespace qm::testing
