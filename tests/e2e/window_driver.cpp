#include "window_driver.h"

#include <commctrl.h>

#include <stdexcept>

namespace qm::e2e {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

namespace {

struct TopSearch {
    DWORD pid;
    std::wstring caption;
    std::wstring window_class;
    HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (!search->window_class.empty() && search->window_class != cls) return TRUE;
    if (!search->caption.empty() && WindowText(window) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopWindow(DWORD pid, const std::wstring& window_class, const std::wstring& caption) {
    TopSearch search{pid, caption, window_class};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    std::wstring window_class;
    std::wstring text;
    int id = -1;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (search->id >= 0) {
        if (GetDlgCtrlID(window) == search->id) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (_wcsicmp(cls, search->window_class.c_str()) != 0) return TRUE;
    if (!search->text.empty() && WindowText(window) != search->text) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

AppProcess::AppProcess(const std::wstring& exe, const std::wstring& caption) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        throw std::runtime_error("cannot start " + Narrow(exe));
    }
    WaitUntil([&] { return (window_ = FindTopWindow(info_.dwProcessId, L"", caption)) != nullptr; },
              std::chrono::seconds(60));
    if (!window_) throw std::runtime_error("no window titled " + Narrow(caption));
}

AppProcess::~AppProcess() {
    if (running()) {
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool AppProcess::running() const {
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND FindControl(HWND parent, const std::wstring& window_class, const std::wstring& text) {
    ChildSearch search{window_class, text};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindControlById(HWND parent, int id) {
    ChildSearch search;
    search.id = id;
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

bool IsShown(HWND control) {
    return control && IsWindowVisible(control);
}

bool Click(HWND button) {
    if (!IsShown(button) || !IsWindowEnabled(button)) return false;
    return PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool IsChecked(HWND check_box) {
    return SendMessageW(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::wstring> ListLines(HWND list_box) {
    std::vector<std::wstring> lines;
    LRESULT count = SendMessageW(list_box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list_box, LB_GETTEXTLEN, i, 0);
        std::wstring line(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(list_box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(wcslen(line.c_str()));
        lines.push_back(line);
    }
    return lines;
}

int SelectedTab(HWND tab_strip) {
    return static_cast<int>(SendMessageW(tab_strip, TCM_GETCURSEL, 0, 0));
}

int TabCount(HWND tab_strip) {
    return static_cast<int>(SendMessageW(tab_strip, TCM_GETITEMCOUNT, 0, 0));
}

void PressArrow(HWND tab_strip, bool right) {
    SendMessageW(tab_strip, WM_KEYDOWN, right ? VK_RIGHT : VK_LEFT, 0);
}

void SelectTab(HWND tab_strip, int index) {
    for (int guard = 0; guard < 10 && SelectedTab(tab_strip) != index; ++guard) {
        PressArrow(tab_strip, SelectedTab(tab_strip) < index);
    }
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    MessageBoxInfo info;
    if (!WaitUntil([&] { return (info.window = FindTopWindow(pid, L"#32770", L"")) != nullptr; },
                   timeout)) {
        return std::nullopt;
    }
    info.caption = WindowText(info.window);
    if (HWND text = GetDlgItem(info.window, 0xFFFF)) info.text = WindowText(text);
    return info;
}

void AnswerMessageBox(const MessageBoxInfo& box, int button_id) {
    HWND button = GetDlgItem(box.window, button_id);
    PostMessageW(button, BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindow(box.window); }, std::chrono::seconds(10));
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    DWORD image_size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + image_size;
    bool ok = false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
             WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
             WriteFile(file, bits, image_size, &written, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace qm::e2e
