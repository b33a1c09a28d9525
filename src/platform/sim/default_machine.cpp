// The machine every test starts from: Windows XP as installed, one user, Quillmoss on it.
#include <utility>

#include "platform/sim/machine_impl.h"

namespace qm::sim {

namespace {

constexpr const char* kProfile = "C:\\Documents and Settings\\Tester";
// The first user made at set-up gets relative id 1003 on a workgroup machine.
constexpr const char* kUserSid = "S-1-5-21-1004336348-1177238915-682003330-1003";

}  // namespace

void Machine::Impl::MakeDefaultMachine() {
    namespace csidl = platform::csidl;
    const std::string profile = kProfile;
    const std::pair<int, std::string> special_folders[] = {
        {csidl::kAppData, profile + "\\Application Data"},
        {csidl::kInternetCache, profile + "\\Local Settings\\Temporary Internet Files"},
        {csidl::kCookies, profile + "\\Cookies"},
        {csidl::kHistory, profile + "\\Local Settings\\History"},
        {SimShell::kRecentFolder, profile + "\\Recent"},
        {csidl::kWindows, "C:\\WINDOWS"},
        {csidl::kSystem, "C:\\WINDOWS\\system32"},
        {csidl::kProgramFiles, "C:\\Program Files"},
        {csidl::kProfile, profile},
        {csidl::kPersonal, profile + "\\My Documents"},
        {csidl::kFavorites, profile + "\\Favorites"},
        {csidl::kStartMenu, profile + "\\Start Menu"},
        {csidl::kDesktopDirectory, profile + "\\Desktop"},
        {csidl::kLocalAppData, profile + "\\Local Settings\\Application Data"},
        {csidl::kCommonAppData, "C:\\Documents and Settings\\All Users\\Application Data"},
    };
    for (const auto& [id, path] : special_folders) {
        files.AddFolder(path, 0);
        shell.SetSpecialFolder(id, path);
    }
    const std::string temp = profile + "\\Local Settings\\Temp";
    files.AddFolder(temp, 0);
    files.SetTempPath(temp);

    // The bin's folders are hidden system folders, so Explorer shows them only as the bin.
    const std::uint32_t hidden_system = platform::attr::kHidden | platform::attr::kSystem;
    files.AddFolder("C:\\RECYCLER", hidden_system);
    const std::string bin = std::string("C:\\RECYCLER\\") + kUserSid;
    files.AddFolder(bin, hidden_system);
    shell.SetRecycleBinFolder(bin);

    files.AddFile(process.folder + "\\" + process.name + ".exe", "MZ", platform::attr::kArchive);
    // Started from its shortcut, the program works in its own folder.
    files.SetCurrentFolder(process.folder);

    for (const auto& [root, path] :
         {std::pair{platform::Root::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion"},
          std::pair{platform::Root::LocalMachine,
                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"}}) {
        platform::RegKey key = 0;
        registry.CreateKey(root, path, key);
        registry.CloseKey(key);
    }
}

}  // namespace qm::sim
