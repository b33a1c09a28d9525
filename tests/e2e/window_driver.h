#pragma once
// Drives another process's windows the way an automation tool does: finds controls by class
// and caption, clicks, reads list boxes and tab strips, answers message boxes.
#include <windows.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qm::e2e {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

class AppProcess {
  public:
    // Starts the program and waits for its top-level window with this caption (none: no wait).
    AppProcess(const std::wstring& exe, const std::wstring& caption,
               const std::wstring& arguments = L"");
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    HWND window() const { return window_; }
    DWORD pid() const { return info_.dwProcessId; }
    // Whether the process has ended, or ends within `timeout`.
    bool Ended(std::chrono::milliseconds timeout) const;

  private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// Runs Quillmoss.exe (QM_E2E_EXE) with these arguments to its end: its exit code, or -1 when
// it did not end within a minute.
int RunQuillmoss(const std::wstring& arguments);
// A file's bytes; "<none>" when it cannot be opened.
std::string ReadWholeFile(const std::wstring& path);

// A descendant window of `parent` of the given class whose text is `text` (empty = any).
HWND FindControl(HWND parent, const std::wstring& window_class, const std::wstring& text);
// The descendant with this control identifier.
HWND FindControlById(HWND parent, int id);

// Truly visible: the control and all its ancestors are shown.
bool IsShown(HWND control);

// A click as the user makes it, on a button or a link label. Posted, so a handler that opens
// a modal box does not block the driver. Refuses (returns false) a control the user could not
// see.
bool Click(HWND button);
bool IsChecked(HWND check_box);
// The captions (read with WM_GETTEXT) of every ticked box below `parent`, shown or not.
std::set<std::wstring> CheckedBoxes(HWND parent);

std::vector<std::wstring> ListLines(HWND list_box);
// The texts of a report-style list view, row by row, one per column (the first `columns`).
// Its item texts are not marshalled between processes, so they are read through a buffer in
// the target's own memory.
std::vector<std::vector<std::wstring>> ListViewRows(HWND list_view, int columns);
int SelectedTab(HWND tab_strip);
// Presses the arrow keys until `index` is the selected tab.
void SelectTab(HWND tab_strip, int index);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring text;
    std::wstring caption;
};
// Waits for a message box of process `pid`.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout);
void AnswerMessageBox(const MessageBoxInfo& box, int button_id);
// Presses "Clean All Selected Items" of the main window, says OK to its question and waits
// until the progress list ends with the run's last line; the list then, or nullopt when the
// question or the last line did not come in time.
std::optional<std::vector<std::wstring>> CleanSelected(HWND main, DWORD pid,
                                                       std::chrono::milliseconds timeout);

// How many times faster than real time the clock of this run goes: QM_E2E_FAST_CLOCK, or 1.
// Polls and start-up waits stretch by it so they take the same real time on a fast clock.
int ClockScale();

// Waits until `done` holds, pumping nothing (the target runs in its own process).
template <class Pred>
bool WaitUntil(Pred done, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    const DWORD poll = static_cast<DWORD>(50 * ClockScale());
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        Sleep(poll);
    }
    return done();
}

// Saves what the screen shows of the window as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace qm::e2e
