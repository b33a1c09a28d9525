// The main window's own desktop calls: its window menu, placement, visibility, and its icon
// in the notification area with the icon's pop-up menu.
#include "platform/win32/win32_desktop.h"  // before the shell header, which needs windows.h

#include <shellapi.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/wide_text.h"

namespace qm::win32 {

namespace {

constexpr UINT kTrayIconId = 1;

// The icon the window shows in its caption: its small one when set, otherwise its class's.
HICON WindowIcon(HWND window) {
    auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON));
    return icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

// The record as Windows XP's shell takes it: sized to the version-5 layout, which every later
// shell still accepts.
NOTIFYICONDATAW IconRecord(HWND window) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = window;
    record.uID = kTrayIconId;
    return record;
}

}  // namespace

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void Win32Desktop::DisableClose() {
    const HMENU menu = ::GetSystemMenu(main_window_, FALSE);
    if (menu == nullptr) return;
    // Found by command, not by position: the window menu's layout differs between Windows
    // versions and with the window's style.
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (::GetMenuItemID(menu, position) != SC_CLOSE) continue;
        ::RemoveMenu(menu, SC_CLOSE, MF_BYCOMMAND);
        if (position > 0 && (::GetMenuState(menu, position - 1, MF_BYPOSITION) & MF_SEPARATOR))
            ::RemoveMenu(menu, position - 1, MF_BYPOSITION);
        break;
    }
    ::DrawMenuBar(main_window_);
}

void Win32Desktop::CentreMainWindow() {
    RECT frame{};
    if (main_window_ == nullptr || !::GetWindowRect(main_window_, &frame)) return;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(main_window_, nullptr, left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Desktop::HideMainWindow() {
    if (main_window_ != nullptr) ::ShowWindow(main_window_, SW_HIDE);
}

void Win32Desktop::RestoreMainWindow() {
    if (main_window_ == nullptr) return;
    // SW_RESTORE brings back a minimised window in its normal state; a window that was only
    // hidden needs showing as well.
    ::ShowWindow(main_window_, SW_RESTORE);
    ::ShowWindow(main_window_, SW_SHOW);
}

void Win32Desktop::BringMainWindowForward() {
    if (main_window_ != nullptr) ::SetForegroundWindow(main_window_);
}

void Win32Desktop::AddTrayIcon(std::string_view tip) {
    if (main_window_ == nullptr) return;
    NOTIFYICONDATAW record = IconRecord(main_window_);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = WindowIcon(main_window_);
    const std::wstring wide = ToWide(tip);
    const std::size_t length = std::min(wide.size(), std::size(record.szTip) - 1);
    std::copy_n(wide.begin(), length, record.szTip);
    ::Shell_NotifyIconW(NIM_ADD, &record);
}

void Win32Desktop::DeleteTrayIcon() {
    if (main_window_ == nullptr) return;
    NOTIFYICONDATAW record = IconRecord(main_window_);
    ::Shell_NotifyIconW(NIM_DELETE, &record);
}

int Win32Desktop::TrackTrayMenu(const std::vector<std::string>& items) {
    if (main_window_ == nullptr) return -1;
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        ::AppendMenuW(menu, MF_STRING, i + 1, ToWide(items[i]).c_str());
    POINT at{};
    ::GetCursorPos(&at);
    // The window must be in front for the menu to close when the user clicks elsewhere, and
    // the posted message lets the next click after that reach its target.
    ::SetForegroundWindow(main_window_);
    const BOOL chosen =
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN,
                         at.x, at.y, 0, main_window_, nullptr);
    ::PostMessageW(main_window_, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : -1;
}

}  // namespace qm::win32
