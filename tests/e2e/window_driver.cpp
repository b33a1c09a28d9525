#include "window_driver.h"

#include "gui/control_ids.h"

#include <commctrl.h>

#include <cstdlib>
#include <stdexcept>

namespace qm::e2e {

std::wstring Widen(const std::string& text) {
    // UTF-8 never takes fewer bytes than UTF-16 takes units.
    std::wstring out(text.size(), L'\0');
    out.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                                       static_cast<int>(text.size()), out.data(),
                                                       static_cast<int>(out.size()))));
    return out;
}

std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// A visible top-level window of process `pid`, or (pid 0) a descendant control; an empty
// class or text and an id of -1 match anything.
struct Search {
    DWORD pid;
    std::wstring window_class;
    std::wstring text;
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK Matches(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t window_class[64] = {};
    GetClassNameW(window, window_class, 64);
    // Cheap tests first: another process's window is never sent a message.
    const bool match =
        (search.pid == 0 || (pid == search.pid && IsWindowVisible(window))) &&
        (search.id < 0 || GetDlgCtrlID(window) == search.id) &&
        (search.window_class.empty() || _wcsicmp(window_class, search.window_class.c_str()) == 0) &&
        (search.text.empty() || WindowText(window) == search.text);
    if (match) search.found = window;
    return !match;
}

HWND Find(HWND parent, Search search) {
    if (parent) EnumChildWindows(parent, Matches, reinterpret_cast<LPARAM>(&search));
    if (!parent) EnumWindows(Matches, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int ClockScale() {
    const char* fast = std::getenv("QM_E2E_FAST_CLOCK");
    return fast && std::atoi(fast) > 1 ? std::atoi(fast) : 1;
}

AppProcess::AppProcess(const std::wstring& exe, const std::wstring& caption,
                       const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        throw std::runtime_error("cannot start " + Narrow(exe));
    }
    if (caption.empty()) return;
    const Search search{info_.dwProcessId, L"", caption, -1};
    WaitUntil([&] { return (window_ = Find(nullptr, search)) != nullptr; },
              std::chrono::seconds(60) * ClockScale());
    if (!window_) throw std::runtime_error("no window titled " + Narrow(caption));
}

AppProcess::~AppProcess() {
    TerminateProcess(info_.hProcess, 0);  // fails harmlessly when it has ended already
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool AppProcess::Ended(std::chrono::milliseconds timeout) const {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) ==
           WAIT_OBJECT_0;
}

HWND FindControl(HWND parent, const std::wstring& window_class, const std::wstring& text) {
    return Find(parent, {0, window_class, text, -1});
}

HWND FindControlById(HWND parent, int id) {
    return Find(parent, {0, L"", L"", id});
}

bool IsShown(HWND control) {
    return control && IsWindowVisible(control);
}

bool Click(HWND button) {
    if (!IsShown(button) || !IsWindowEnabled(button)) return false;
    wchar_t window_class[16] = {};
    GetClassNameW(button, window_class, 16);
    if (lstrcmpiW(window_class, L"Static") != 0) return PostMessageW(button, BM_CLICK, 0, 0);
    // A link label has no click message of its own: press and release the mouse on it.
    return PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)) &&
           PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

bool IsChecked(HWND check_box) {
    return SendMessageW(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

static BOOL CALLBACK AddIfChecked(HWND window, LPARAM captions) {
    // Push buttons and group boxes answer "not ticked".
    if (IsChecked(window))
        reinterpret_cast<std::set<std::wstring>*>(captions)->insert(WindowText(window));
    return TRUE;
}

std::set<std::wstring> CheckedBoxes(HWND parent) {
    std::set<std::wstring> captions;
    EnumChildWindows(parent, AddIfChecked, reinterpret_cast<LPARAM>(&captions));
    return captions;
}

std::vector<std::wstring> ListLines(HWND list_box) {
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list_box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list_box, LB_GETTEXTLEN, i, 0);
        std::wstring line(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(list_box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(line.c_str());
    }
    return lines;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND list_view, int columns) {
    std::vector<std::vector<std::wstring>> rows;
    DWORD pid = 0;
    GetWindowThreadProcessId(list_view, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return rows;
    constexpr int kChars = 1024;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                  MEM_COMMIT, PAGE_READWRITE);
    auto* remote_text = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    const LRESULT count = remote ? SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        std::vector<std::wstring>& row = rows.emplace_back();
        for (int c = 0; c < columns; ++c) {
            LVITEMW item{};
            item.iSubItem = c;
            item.pszText = remote_text;
            item.cchTextMax = kChars;
            std::wstring text(kChars, L'\0');
            if (!WriteProcessMemory(process, remote, &item, sizeof item, nullptr)) break;
            SendMessageW(list_view, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, remote_text, text.data(), kChars * sizeof(wchar_t), nullptr);
            row.push_back(text.c_str());
        }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rows;
}

int SelectedTab(HWND tab_strip) {
    return static_cast<int>(SendMessageW(tab_strip, TCM_GETCURSEL, 0, 0));
}

void SelectTab(HWND tab_strip, int index) {
    for (int guard = 0; guard < 10 && SelectedTab(tab_strip) != index; ++guard)
        SendMessageW(tab_strip, WM_KEYDOWN, SelectedTab(tab_strip) < index ? VK_RIGHT : VK_LEFT, 0);
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    MessageBoxInfo info;
    const Search search{pid, L"#32770", L"", -1};
    if (!WaitUntil([&] { return (info.window = Find(nullptr, search)) != nullptr; }, timeout))
        return std::nullopt;
    info.caption = WindowText(info.window);
    info.text = WindowText(GetDlgItem(info.window, 0xFFFF));
    return info;
}

void AnswerMessageBox(const MessageBoxInfo& box, int button_id) {
    PostMessageW(GetDlgItem(box.window, button_id), BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindow(box.window); }, std::chrono::seconds(10));
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD image_size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * height;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER header{0x4D42, offset + image_size, 0, 0, offset};
    std::vector<char> bits(image_size);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
                    WriteFile(file, &info, sizeof info, &written, nullptr) &&
                    WriteFile(file, bits.data(), image_size, &written, nullptr);
    CloseHandle(file);
    return ok;
}

// Runs the program to its end; its exit code, or -1 when it did not end within a minute.
int RunQuillmoss(const std::wstring& arguments) {
    std::wstring line = L"\"" + Widen(std::getenv("QM_E2E_EXE")) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<none>";
    std::string text;
    char chunk[1 << 16];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        text.append(chunk, read);
    CloseHandle(file);
    return text;
}

std::optional<std::vector<std::wstring>> CleanSelected(HWND main, DWORD pid,
                                                       std::chrono::milliseconds timeout) {
    if (!Click(FindControl(main, L"Button", L"Clean All Selected Items"))) return std::nullopt;
    const auto question = WaitForMessageBox(pid, std::chrono::seconds(10));
    if (!question) return std::nullopt;
    AnswerMessageBox(*question, IDOK);
    HWND list = FindControlById(main, gui::kList1);
    const auto ended = [&] {
        const auto lines = ListLines(list);
        return !lines.empty() && lines.back() == L"All selected items has been cleaned.";
    };
    if (!WaitUntil(ended, timeout)) return std::nullopt;
    return ListLines(list);
}

}  // namespace qm::e2e
