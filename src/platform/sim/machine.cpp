#include "platform/sim/machine.h"

#include "platform/sim/machine_impl.h"

namespace qm::sim {

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
platform::UrlCache& Machine::url_cache() {
    return impl_->url_cache;
}
platform::Desktop& Machine::desktop() {
    return impl_->desktop;
}
platform::Http& Machine::http() {
    return impl_->http;
}
platform::Signatures& Machine::signatures() {
    return impl_->signatures;
}

void Machine::ServeUrl(const std::string& url, HttpAnswer answer) {
    impl_->http.Serve(url, std::move(answer));
}
void Machine::ServeUrlNext(const std::string& url, HttpAnswer answer) {
    impl_->http.ServeNext(url, std::move(answer));
}
void Machine::SetOnline(bool online) {
    impl_->http.SetOnline(online);
}
const std::vector<HttpCall>& Machine::http_calls() const {
    return impl_->http.calls();
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
std::optional<std::string> Machine::Peek(const std::string& path) const {
    return impl_->files.Peek(path);
}
void Machine::Lock(const std::string& path, LockMode mode) {
    impl_->files.Lock(path, mode);
}
void Machine::Unlock(const std::string& path) {
    impl_->files.Unlock(path);
}
void Machine::SetFreeSpace(char drive, std::uint64_t bytes) {
    impl_->files.SetFreeSpace(drive, bytes);
}
void Machine::AfterFileChange(std::size_t count, std::function<void(const std::string&)> action) {
    impl_->files.AfterFileChange(count, std::move(action));
}
void Machine::BreakNextReplaceHalfWay() {
    impl_->files.BreakNextReplaceHalfWay();
}
std::vector<std::string> Machine::AllPaths() const {
    return impl_->files.AllPaths();
}
void Machine::AddDrive(char letter) {
    impl_->files.AddDrive(letter);
}
void Machine::SubstDrive(char letter, const std::string& folder) {
    impl_->files.SubstDrive(letter, folder);
}
void Machine::AddShare(const std::string& unc_root) {
    impl_->files.AddShare(unc_root);
}
void Machine::SetCurrentFolder(const std::string& folder) {
    impl_->files.SetCurrentFolder(folder);
}
void Machine::AddFolderLink(const std::string& link, const std::string& target) {
    impl_->files.AddFolderLink(link, target);
}

void Machine::SetSpecialFolder(int csidl, const std::string& path) {
    impl_->shell.SetSpecialFolder(csidl, path);
}
void Machine::ClearSpecialFolder(int csidl) {
    impl_->shell.ClearSpecialFolder(csidl);
}

void Machine::SetTempPath(const std::string& path) {
    impl_->files.SetTempPath(path);
}

void Machine::AddHistoryItem(const std::string& name, std::vector<std::string> verbs) {
    impl_->history.Add(name, std::move(verbs));
}
std::vector<std::string> Machine::HistoryItems() const {
    return impl_->history.Names();
}
void Machine::SetOtherProgramActive(bool active) {
    impl_->history.SetOtherProgramActive(active);
}
int Machine::input_sent_to_other_programs() const {
    return impl_->history.input_sent_to_other_programs();
}

void Machine::AddRecentDocument(const std::string& name) {
    impl_->shell.AddRecentDocument(name);
}
void Machine::AddToRecycleBin(const std::string& name, const std::string& contents) {
    impl_->files.AddFile(impl_->shell.recycle_bin_folder() + "\\" + name, contents,
                         platform::attr::kArchive);
}
std::vector<std::string> Machine::RecycleBinFiles() const {
    return impl_->shell.RecycleBinFiles();
}
int Machine::recycle_bin_icon_updates() const {
    return impl_->shell.recycle_bin_icon_updates();
}
const std::vector<std::string>& Machine::opened_addresses() const {
    return impl_->shell.opened_addresses();
}

void Machine::AddUrlCacheEntry(const std::string& url, std::uint32_t type,
                               const std::string& local_file) {
    impl_->url_cache.Add(url, type, local_file);
}
void Machine::LockUrlCacheEntry(const std::string& url) {
    impl_->url_cache.Lock(url);
}
void Machine::UnlockUrlCacheEntry(const std::string& url) {
    impl_->url_cache.Unlock(url);
}
std::vector<std::string> Machine::UrlCacheUrls() const {
    return impl_->url_cache.Urls();
}
std::uint32_t Machine::UrlCacheEntrySize(const std::string& url) {
    return SimUrlCache::EntrySize(url);
}

// --- Internet cache faults and leaks, the bin's folder ---
void Machine::BreakUrlCacheWalkAt(const std::string& url, platform::Status status, bool at_probe) {
    impl_->url_cache.BreakWalkAt(url, status, at_probe);
}
std::size_t Machine::open_url_cache_walks() const {
    return impl_->url_cache.open_walks();
}
std::string Machine::RecycleBinFolder() const {
    return impl_->shell.recycle_bin_folder();
}
// --- end of Internet cache faults and leaks, the bin's folder ---

std::vector<std::string> Machine::ScheduledAtRestart() const {
    return impl_->files.scheduled_at_restart();
}
void Machine::Restart() {
    // The boot-time deletions come first; the browser tidies its cache only once it runs.
    impl_->files.Restart();
    impl_->url_cache.ReleaseLocks();
}

const std::vector<ExitWindowsCall>& Machine::exit_windows_calls() const {
    return impl_->desktop.exit_calls;
}
int Machine::shutdown_privilege_requests() const {
    return impl_->desktop.privilege_requests;
}
void Machine::RefuseShutdownPrivilege(bool refuse) {
    impl_->desktop.refuse_privilege = refuse;
}
void Machine::RefuseExitWindows(bool refuse) {
    impl_->desktop.refuse_exit = refuse;
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
SimEventLog& Machine::event_log() {
    return impl_->events;
}

SessionTraceState& Machine::session_traces() {
    return impl_->traces.state;
}
void Machine::SetShlwapiVersion(const platform::DllVersion& version) {
    impl_->system.shlwapi = version;
}
void Machine::SetProgram(const std::string& folder, const std::string& name) {
    impl_->process.folder = folder;
    impl_->process.name = name;
}

const std::vector<std::string>& Machine::session_calls() const {
    return impl_->session.calls;
}
void Machine::SetPreviousInstance(bool running) {
    impl_->session.previous_instance = running;
}
void Machine::RefuseProgramStart(bool refuse) {
    impl_->session.refuse_program_start = refuse;
}
void Machine::SetCleanRunElsewhere(bool running) {
    impl_->session.clean_run_elsewhere = running;
}
bool Machine::clean_run_held() const {
    return impl_->session.clean_run_held;
}
void Machine::ChooseNextMenuItem(int index) {
    impl_->session.next_menu_choice = index;
}

std::uint32_t Machine::now() const {
    return impl_->loop.now();
}
void Machine::SetTickCount(std::uint32_t tick) {
    impl_->loop.SetTickCount(tick);
}
void Machine::Idle(std::uint32_t ms) {
    impl_->loop.Idle(ms);
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
