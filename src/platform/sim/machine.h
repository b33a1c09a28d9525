#pragma once
// The simulated Windows machine: an in-memory registry and file system, a virtual millisecond
// clock, a scripted user and a record of every deletion. Deterministic, so unit tests can
// assert exactly what a cleaner touched, and fast, so a 24-item run with its pauses takes
// milliseconds.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_session_traces.h"

namespace qm::sim {

// One thing the machine lost: a file, a folder, a registry key or value, an Internet cache
// entry (path = its URL) or an item of the History namespace (path = its name).
struct Deletion {
    // Changed: a file written in place (a database cleaned row by row), recorded once per
    // opening that changed it. Rows: rows of a database's table (value_name) went.
    enum class Kind {
        File,
        Folder,
        RegistryKey,
        RegistryValue,
        UrlCacheEntry,
        HistoryItem,
        Changed,
        Rows
    };
    Kind kind;
    std::string path;        // files and folders: full path; registry: "HKCU\path" or "HKLM\path"
    std::string value_name;  // RegistryValue only
};

// A message box the program showed, as the user saw it.
struct ShownBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
    int answer = 0;
};

// A restart Quillmoss asked Windows for.
struct ExitWindowsCall {
    std::uint32_t flags = 0;
    std::uint32_t reason = 0;
    bool privilege_enabled = false;  // the shutdown privilege was enabled beforehand
    bool accepted = false;
    bool operator==(const ExitWindowsCall&) const = default;
};

// How the simulated web answers one request.
struct HttpAnswer {
    platform::Status failure = platform::kOk;  // no answer at all: fails with this status
    int status = 200;
    std::string body;
    // The length header's name as the server spells it; empty: no length header, the body
    // ends with the connection.
    std::string length_name = "Content-Length";
    // What the length header announces, when not the body's size. More than the body: the
    // connection ends early (or stalls, below).
    std::optional<std::uint64_t> announced;
    std::vector<std::string> extra_headers;  // whole lines, without the line end
    bool stall = false;                      // after the body given, nothing more comes
    // Virtual time the answer takes: before its headers (or its failure) come, and, when not
    // zero, before each byte of its body, which then trickles in one byte at a time. A wait
    // longer than the request's timeout fails it; so does a whole transfer beyond its limit.
    std::uint32_t delay_ms = 0;
    std::uint32_t trickle_ms = 0;
};

// One request the program made.
struct HttpCall {
    std::string url;
    platform::HttpBody body = platform::HttpBody::Keep;
    std::string file;
    std::uint32_t timeout_ms = 0;
    std::uint32_t limit_ms = 0;
};

enum class LockMode {
    NoDelete,   // another program holds it open: reads work, delete and rename fail
    Exclusive,  // opened without sharing: reads fail too
};

class Machine {
  public:
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // The platform the core runs against.
    platform::Platform& platform();
    platform::Registry& registry();
    platform::FileSystem& files();
    platform::Shell& shell();
    platform::SystemInfo& system();
    platform::Dialogs& dialogs();
    platform::MessageLoop& loop();
    platform::Process& process();
    platform::UrlCache& url_cache();
    platform::Desktop& desktop();
    platform::Http& http();
    platform::Signatures& signatures();

    // --- registry -------------------------------------------------------------------------
    // A user without administrator rights: every write, create and delete under HKLM is
    // refused with kErrorAccessDenied, and so is CreateKey of a key that exists (it asks for
    // write access); OpenKey and the reads still work.
    void SetLocalMachineReadOnly(bool read_only);
    // Registry handles opened and not closed yet, to catch leaks.
    std::size_t open_registry_keys() const;

    // --- files ----------------------------------------------------------------------------
    // Test set-up helpers; parents are created as needed. A path on no drive or share, a file
    // where a folder must be, or locking something that does not exist throws
    // std::invalid_argument. Paths may be on any drive or share, and relative ones resolve
    // against the current folder.
    void AddFile(const std::string& path, const std::string& contents = "",
                 std::uint32_t attributes = 0);
    void AddFolder(const std::string& path, std::uint32_t attributes = 0);
    bool Exists(const std::string& path) const;
    // What a file holds, even while a program holds it open; nullopt for none.
    std::optional<std::string> Peek(const std::string& path) const;
    // Another program holds the file open until Unlock.
    void Lock(const std::string& path, LockMode mode = LockMode::NoDelete);
    void Unlock(const std::string& path);
    // Every path on every drive (by letter), then on every share, folders and files, in
    // listing order (for property tests). A folder lists its entries sorted by upper-cased
    // name, as NTFS does, so the order does not depend on the order of creation. A folder
    // link is listed, what it leads to only where it really is.
    std::vector<std::string> AllPaths() const;

    // --- file faults ------------------------------------------------------------------------
    // From now on the drive has room for only `bytes` more bytes of file content: a write that
    // does not fit fails with ERROR_DISK_FULL (112) and leaves the file emptied and holding
    // what fitted, as Windows leaves it. Deleting makes room again.
    void SetFreeSpace(char drive, std::uint64_t bytes);
    // After the `count`th file change from now (a write, a delete, a replace or a move, whether
    // or not it succeeded in full) runs `action` with the changed path. The action may change
    // files itself (a write cut short), or throw to end the program right there: a process
    // killed or the power lost, with everything before it already on the disk.
    void AfterFileChange(std::size_t count, std::function<void(const std::string&)> action);
    // The next ReplaceFile stops half-way, as Windows may: the replaced file has been renamed
    // to the backup's name, the replacement still has its own, and the call fails with
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 (1177).
    void BreakNextReplaceHalfWay();

    // Another empty drive, a volume of its own.
    void AddDrive(char letter);
    // A drive letter naming an existing folder, as `subst` makes one (or Wine's Z:, which
    // names the same files as C:): paths through it reach the folder's own files.
    void SubstDrive(char letter, const std::string& folder);
    // A network share "\\server\share", a volume of its own, reached as
    // "\\server\share\..." and "\\?\UNC\server\share\...". Unknown shares give
    // ERROR_BAD_NETPATH (53).
    void AddShare(const std::string& unc_root);
    // Where relative paths ("a\b", "..\x"), rooted ones ("\a", on its drive) and "C:a"
    // lead, as Windows resolves them. Default: the program's folder
    // (C:\Program Files\Quillmoss), where Windows starts a program from its shortcut; a
    // cleaner that builds such a path deletes there, visibly in the record.
    void SetCurrentFolder(const std::string& folder);
    // A junction: the parent lists it as a folder with the reparse-point bit (0x400), and
    // GetAttributes on it answers the link's own attributes, but every path through it
    // reaches the target's files (a missing target: path not found). RemoveDirectory on it
    // removes only the link, even when the target is not empty; every other deletion
    // through it is recorded under the real path of what went. Link cycles end in
    // ERROR_CANT_RESOLVE_FILENAME (1921).
    void AddFolderLink(const std::string& link, const std::string& target);

    // --- shell ----------------------------------------------------------------------------
    // Where each special folder lives; an unset CSIDL fails both look-ups. By default the
    // machine has a Windows XP profile for user "Tester" under C:\Documents and Settings
    // (those four folders exist), the program in C:\Program Files\Quillmoss\Quillmoss.exe,
    // HKCU\Software\Microsoft\Windows\CurrentVersion and HKLM\...\CurrentVersion\Run.
    void SetSpecialFolder(int csidl, const std::string& path);
    void ClearSpecialFolder(int csidl);

    // The folder GetTempPath reports (a trailing backslash is added when missing). Default:
    // the profile's "Local Settings\Temp", which exists. Extra special folders by default:
    // 36 C:\WINDOWS, 37 C:\WINDOWS\system32, 38 C:\Program Files, 40 the profile folder, and
    // the profile's My Documents (5), Favorites (6), Start Menu (11), Desktop (16), Local
    // Settings\Application Data (28), with All Users\Application Data (35).
    void SetTempPath(const std::string& path);

    // History namespace: its items in order, each with its verbs (default "&Open" and
    // "&Delete"). "&Delete" opens the shell's confirmation question "Are you sure you want to
    // delete the selected item(s)?": the message loop keeps pumping while it is open, so
    // timers tick; Desktop::ConfirmOwnQuestion answers it Yes. Unanswered after 10 s of
    // virtual time, the scripted user answers it like a message box (recorded in boxes()).
    // Yes removes the item (recorded in deletions()).
    void AddHistoryItem(const std::string& name,
                        std::vector<std::string> verbs = {"&Open", "&Delete"});
    std::vector<std::string> HistoryItems() const;
    // Another program's window is the active one: ConfirmOwnQuestion then does nothing.
    void SetOtherProgramActive(bool active);
    // Key presses or answers Quillmoss sent to another program's window (must stay 0).
    int input_sent_to_other_programs() const;

    // Recent Documents: the shortcuts in the profile's "Recent" folder (CSIDL 8) and the
    // values of HKCU\...\Explorer\RecentDocs; ClearRecentDocs removes both. Adding "a.doc"
    // makes the shortcut "a.doc.lnk"; clearing leaves other files and shortcuts held open.
    void AddRecentDocument(const std::string& name);
    // Recycle Bin: files under C:\RECYCLER\<user's id>\. EmptyRecycleBin deletes them and
    // returns S_OK; an already empty bin returns E_UNEXPECTED (0x8000FFFF), as some Windows
    // versions do; a file held open stays and the call returns E_FAIL (0x80004005).
    // RecycleBinFiles names the files relative to the bin folder ("Dc2\inner.txt").
    // recycle_bin_icon_updates() counts UpdateRecycleBinIcon calls.
    void AddToRecycleBin(const std::string& name, const std::string& contents = "");
    std::vector<std::string> RecycleBinFiles() const;
    int recycle_bin_icon_updates() const;

    // Web addresses the program asked the default browser to open, oldest first.
    const std::vector<std::string>& opened_addresses() const;

    // --- Internet cache ------------------------------------------------------------------------
    // Entries in insertion order. An entry may name a local file (created if given) that goes
    // with it when the entry is deleted. A locked entry is in use: DeleteEntry refuses it.
    void AddUrlCacheEntry(const std::string& url,
                          std::uint32_t type = platform::cache_entry::kNormal,
                          const std::string& local_file = "");
    void LockUrlCacheEntry(const std::string& url);
    // Ends the use; an entry whose deletion was refused meanwhile goes now, as in WinINet.
    // Restart() releases every entry the same way.
    void UnlockUrlCacheEntry(const std::string& url);
    std::vector<std::string> UrlCacheUrls() const;
    // Bytes the walk's entry buffer must hold for this entry (what the size probe reports):
    // the 80-byte fixed record, the URL and its terminator, rounded up to a multiple of 8.
    static std::uint32_t UrlCacheEntrySize(const std::string& url);

    // --- Internet cache faults and leaks, the bin's folder ------------------------------------
    // A walk that reaches `url` fails there with `status` from now on: at its size probe, or
    // (at_probe false) at the fetch after it, as when the entry grows between the two calls.
    // kOk mends the entry.
    void BreakUrlCacheWalkAt(const std::string& url, platform::Status status, bool at_probe);
    // Walks opened by FindFirst and not closed yet, to catch leaks.
    std::size_t open_url_cache_walks() const;
    // The user's own bin folder, so a test can hold a file in it open.
    std::string RecycleBinFolder() const;

    // --- web ------------------------------------------------------------------------------------
    // The machine is online by default; an address nothing was scripted for answers 404.
    // Offline, every request fails with kErrorInternetNameNotResolved.
    void ServeUrl(const std::string& url, HttpAnswer answer);
    // Answers the next request for `url` (queued in order) before its standing answer.
    void ServeUrlNext(const std::string& url, HttpAnswer answer);
    void SetOnline(bool online);
    const std::vector<HttpCall>& http_calls() const;

    // --- restart ---------------------------------------------------------------------------
    // Paths given to ScheduleDeleteAtRestart, in order (refused with kErrorCallNotImplemented
    // when the version record says Windows 95/98/ME, platform 1).
    std::vector<std::string> ScheduledAtRestart() const;
    // Carries them out: files are deleted, folders only when empty by then; then forgets them.
    // Nothing is held open after a restart, but a read-only file survives its scheduled
    // deletion, as the boot-time delete does not clear the attribute.
    void Restart();

    // Every ExitWindows request, in order. On the NT family one without the shutdown
    // privilege enabled is refused; on Windows 95/98/ME the privilege cannot be enabled (the
    // requests are still counted). The machine itself does not go down.
    const std::vector<ExitWindowsCall>& exit_windows_calls() const;
    int shutdown_privilege_requests() const;
    // A user whose token lacks the privilege; a program that refuses to close.
    void RefuseShutdownPrivilege(bool refuse);
    void RefuseExitWindows(bool refuse);

    // --- system ---------------------------------------------------------------------------
    void SetVersion(const platform::VersionRecord& version);  // default: XP 5.1.2600, platform 2
    void SetProcessor(const platform::ProcessorInfo& info);
    void SetMemory(const platform::MemoryInfo& info);
    void SetShlwapiVersion(const platform::DllVersion& version);
    // The clipboard, its history and the resolver's cache, to fill and to look at. By default
    // all empty, with a resolver call and without the history's.
    SessionTraceState& session_traces();
    // The Application event log's entries, and its refusal (kOk: it takes them).
    SimEventLog& event_log();
    void SetProgram(const std::string& folder, const std::string& name);

    // --- virtual time -----------------------------------------------------------------------
    // Each PumpPending moves the clock to the next due timer tick or At action, at most 16 ms
    // on, then runs everything due in time order. A new machine has been up one hour.
    std::uint32_t now() const;              // the tick count
    void SetTickCount(std::uint32_t tick);  // for example just below a wrap
    // Runs `action` when the tick count reaches now() + delay_ms, inside a pump.
    void At(std::uint32_t delay_ms, std::function<void()> action);
    // The program waits in its own message loop for `ms` with nothing to do but its timers and
    // the At actions: time jumps from one due event to the next, as a blocked GetMessage
    // would, so hours pass in a few thousand steps.
    void Idle(std::uint32_t ms);
    // Number of PumpPending calls so far.
    std::uint64_t pumps() const;
    // True while the message loop's timer with this id is running.
    bool TimerRunning(int id) const;

    // --- scripted user ----------------------------------------------------------------------
    // Answers to the next message boxes, in order. A box with no answer left is answered
    // with its default button (OK, or Yes) and counted in unscripted_boxes().
    void AnswerNextBox(int button);
    // Runs `reaction` while the box is open (for example a click handled by the modal loop)
    // before it answers.
    void WhileNextBox(std::function<void()> reaction);
    const std::vector<ShownBox>& boxes() const;
    int unscripted_boxes() const;

    // --- the program's session ----------------------------------------------------------------
    // Every call on the main window, the notification area and the process, oldest first:
    // "DisableClose", "CentreMainWindow", "HideMainWindow", "RestoreMainWindow",
    // "BringMainWindowForward", "AddTrayIcon(<tip>)", "DeleteTrayIcon",
    // "TrackTrayMenu(<item>|<item>)", "ActivatePreviousInstance(<caption>)",
    // "StartProgram(<path>)", "EndProcess". A program starts when its file exists.
    const std::vector<std::string>& session_calls() const;
    // Another copy of the program runs, and its main window can be found.
    void SetPreviousInstance(bool running);
    // Every program start fails from now on, as for a file that is no program.
    void RefuseProgramStart(bool refuse);
    // Another copy holds the session's clean run, so BeginCleanRun is refused; and whether
    // this copy holds it now.
    void SetCleanRunElsewhere(bool running);
    bool clean_run_held() const;
    // The item the user picks from the next pop-up menu (-1, the default: dismisses it).
    void ChooseNextMenuItem(int index);

    // --- other programs' windows and the keyboard --------------------------------------------
    // A top-level window of another program, put on top of the window order. `reuse` gives it
    // the handle of a window destroyed before, as Windows hands closed windows' handles out
    // again.
    platform::WindowHandle AddWindow(const std::string& window_class,
                                     const platform::WindowPlacement& placement,
                                     bool visible = true, platform::WindowHandle reuse = 0);
    void DestroyWindow(platform::WindowHandle window);
    // The program the window belongs to (its file name); "explorer.exe" until set.
    void SetWindowProgram(platform::WindowHandle window, const std::string& program);
    // The window closes this long after a close request reaches it.
    void CloseWindowOnRequest(platform::WindowHandle window, std::uint32_t delay_ms);
    // WM_CLOSE requests posted, oldest first; unless told to close, the windows stay.
    const std::vector<platform::WindowHandle>& close_requests() const;
    // The placements applied to windows since the last call, oldest first.
    std::vector<std::pair<platform::WindowHandle, platform::WindowPlacement>>
    TakePlacementChanges();
    // The user presses and releases the key now, whichever program has the keyboard (At
    // presses it later).
    void PressKey(int virtual_key);

    // --- record -----------------------------------------------------------------------------
    const std::vector<Deletion>& deletions() const;
    void ClearDeletions();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qm::sim
