#include "platform/sim/machine.h"

#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_message_loop.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"

namespace qm::sim {

namespace {

constexpr const char* kProfile = "C:\\Documents and Settings\\Tester";

}  // namespace

struct Machine::Impl {
    std::vector<Deletion> deletions;  // first: the parts below record into it
    SimRegistry registry{deletions};
    SimFileSystem files{deletions};
    SimShell shell{files};
    SimMessageLoop loop;
    SimSystemInfo system{loop};
    SimDialogs dialogs;
    SimProcess process;
    platform::Platform platform{registry, files, shell, system, dialogs, loop, process};

    // What a freshly installed Windows XP with Quillmoss on it has that the program relies on.
    void MakeDefaultMachine() {
        const std::string profile = kProfile;
        const std::pair<int, std::string> special_folders[] = {
            {platform::csidl::kAppData, profile + "\\Application Data"},
            {platform::csidl::kInternetCache,
             profile + "\\Local Settings\\Temporary Internet Files"},
            {platform::csidl::kCookies, profile + "\\Cookies"},
            {platform::csidl::kHistory, profile + "\\Local Settings\\History"},
        };
        for (const auto& [csidl, path] : special_folders) {
            files.AddFolder(path, 0);
            shell.SetSpecialFolder(csidl, path);
        }
        files.AddFile(process.folder + "\\" + process.name + ".exe", "MZ",
                      platform::attr::kArchive);

        for (const auto& [root, path] :
             {std::pair{platform::Root::CurrentUser,
                        "Software\\Microsoft\\Windows\\CurrentVersion"},
              std::pair{platform::Root::LocalMachine,
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"}}) {
            platform::RegKey key = 0;
            registry.CreateKey(root, path, key);
            registry.CloseKey(key);
        }
    }
};

Machine::Machine() : impl_(std::make_unique<Impl>()) {
    impl_->MakeDefaultMachine();
}
Machine::~Machine() = default;

platform::Platform& Machine::platform() {
    return impl_->platform;
}
platform::Registry& Machine::registry() {
    return impl_->registry;
}
platform::FileSystem& Machine::files() {
    return impl_->files;
}
platform::Shell& Machine::shell() {
    return impl_->shell;
}
platform::SystemInfo& Machine::system() {
    return impl_->system;
}
platform::Dialogs& Machine::dialogs() {
    return impl_->dialogs;
}
platform::MessageLoop& Machine::loop() {
    return impl_->loop;
}
platform::Process& Machine::process() {
    return impl_->process;
}

void Machine::SetLocalMachineReadOnly(bool read_only) {
    impl_->registry.SetLocalMachineReadOnly(read_only);
}
std::size_t Machine::open_registry_keys() const {
    return impl_->registry.open_handles();
}

void Machine::AddFile(const std::string& path, const std::string& contents,
                      std::uint32_t attributes) {
    impl_->files.AddFile(path, contents, attributes);
}
void Machine::AddFolder(const std::string& path, std::uint32_t attributes) {
    impl_->files.AddFolder(path, attributes);
}
bool Machine::Exists(const std::string& path) const {
    return impl_->files.Exists(path);
}
void Machine::Lock(const std::string& path, LockMode mode) {
    impl_->files.Lock(path, mode);
}
void Machine::Unlock(const std::string& path) {
    impl_->files.Unlock(path);
}
std::vector<std::string> Machine::AllPaths() const {
    return impl_->files.AllPaths();
}

void Machine::SetSpecialFolder(int csidl, const std::string& path) {
    impl_->shell.SetSpecialFolder(csidl, path);
}
void Machine::ClearSpecialFolder(int csidl) {
    impl_->shell.ClearSpecialFolder(csidl);
}

void Machine::SetVersion(const platform::VersionRecord& version) {
    impl_->system.version = version;
}
void Machine::SetProcessor(const platform::ProcessorInfo& info) {
    impl_->system.processor = info;
}
void Machine::SetMemory(const platform::MemoryInfo& info) {
    impl_->system.memory = info;
}
void Machine::SetShlwapiVersion(const platform::DllVersion& version) {
    impl_->system.shlwapi = version;
}
void Machine::SetProgram(const std::string& folder, const std::string& name) {
    impl_->process.folder = folder;
    impl_->process.name = name;
}

std::uint32_t Machine::now() const {
    return impl_->loop.now();
}
void Machine::SetTickCount(std::uint32_t tick) {
    impl_->loop.SetTickCount(tick);
}
void Machine::At(std::uint32_t delay_ms, std::function<void()> action) {
    impl_->loop.At(delay_ms, std::move(action));
}
std::uint64_t Machine::pumps() const {
    return impl_->loop.pumps();
}
bool Machine::TimerRunning(int id) const {
    return impl_->loop.TimerRunning(id);
}

void Machine::AnswerNextBox(int button) {
    impl_->dialogs.AnswerNextBox(button);
}
void Machine::WhileNextBox(std::function<void()> reaction) {
    impl_->dialogs.WhileNextBox(std::move(reaction));
}
const std::vector<ShownBox>& Machine::boxes() const {
    return impl_->dialogs.boxes();
}
int Machine::unscripted_boxes() const {
    return impl_->dialogs.unscripted_boxes();
}

const std::vector<Deletion>& Machine::deletions() const {
    return impl_->deletions;
}
void Machine::ClearDeletions() {
    impl_->deletions.clear();
}

}  // namespace qm::sim
