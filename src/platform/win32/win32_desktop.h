#pragma once
// The desktop's windows, touched only where they are Quillmoss's own: the confirmation
// question answered here must be a dialog of this process and the active window, so that a
// stray timer tick can never press a button in another program. The restart request goes
// to Windows as asked; the flags are the caller's choice. The main window's own calls act on
// the window registered with SetMainWindow.
#include "platform/desktop.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

// The main window's class, which a second copy looks for.
inline constexpr wchar_t kMainWindowClass[] = L"QuillmossMainWindow";
// The message the notification-area icon reports with: a private one, so that no ordinary
// message (a mouse move over the window, say) can pass for a click on the icon. lParam holds
// the mouse message seen over the icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Sent to every top-level window when Explorer re-creates the taskbar; the icon must then be
// added again.
UINT TaskbarCreatedMessage();

class Win32Desktop final : public platform::Desktop {
  public:
    bool ConfirmOwnQuestion() override;
    bool EnableShutdownPrivilege() override;
    bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) override;
    void DisableClose() override;
    void CentreMainWindow() override;
    void HideMainWindow() override;
    void RestoreMainWindow() override;
    void BringMainWindowForward() override;
    void AddTrayIcon(std::string_view tip) override;
    void DeleteTrayIcon() override;
    int TrackTrayMenu(const std::vector<std::string>& items) override;

    std::vector<platform::WindowHandle> TopLevelWindows() override;
    std::string WindowClassName(platform::WindowHandle window) override;
    std::string WindowProgramName(platform::WindowHandle window) override;
    bool IsWindowVisible(platform::WindowHandle window) override;
    bool GetWindowPlacement(platform::WindowHandle window,
                            platform::WindowPlacement& placement) override;
    bool SetWindowPlacement(platform::WindowHandle window,
                            const platform::WindowPlacement& placement) override;
    bool PostCloseRequest(platform::WindowHandle window) override;
    bool KeyPressedSinceLastQuery(int virtual_key) override;

    void SetMainWindow(HWND window) { main_window_ = window; }

  private:
    HWND main_window_ = nullptr;
};

}  // namespace qm::win32
