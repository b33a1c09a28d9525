// Quillmoss.exe: the real machine, the core and the main window, wired together.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/upgrades.h"
#include "cli/unattended.h"
#include "errors/error_reporter.h"
#include "gui/console_output.h"
#include "gui/main_view.h"
#include "gui/options_view.h"
#include "gui/preview_view.h"
#include "gui/splash_view.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"
#include "update/connection.h"

namespace {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(qm::win32::ToUtf8(argv[i]));
    ::LocalFree(argv);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const std::vector<std::string> args = Arguments();
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    // Reports, update files and the upgrade page come from the maker's site, or from the one
    // an administrator named in its place.
    const std::string site = qm::update::SiteAddress(platform.registry);
    reporter.SetSite(site);
    qm::update::SendReportsThrough(reporter, platform.http);
    qm::settings::SettingsStore settings(platform.registry, platform.process, reporter);
    // With arguments the program works unattended and ends; no window, no single-copy check.
    if (!args.empty()) {
        qm::cli::Unattended unattended(platform, settings, reporter);
        return unattended.Run(args, qm::gui::WriteToStarter);
    }
    qm::sysinfo::SystemDetails details(platform.system, settings, reporter);
    qm::app::MainWindow model(platform, settings, reporter, details);

    qm::app::MainMenu menu(model);
    qm::gui::MainView view(model, menu, machine);
    if (!view.Create(instance)) return 1;
    qm::gui::OptionsView options_view(instance, view.hwnd(), machine);
    model.options().SetView(
        [&options_view](qm::options::OptionsDialog& dialog) { options_view.Show(dialog); });
    qm::gui::PreviewView preview_view(instance, view.hwnd());
    model.preview().SetView(
        [&preview_view](qm::app::PreviewDialog& dialog) { preview_view.Show(dialog); });
    qm::app::Upgrades upgrades(model, platform, settings, reporter, site,
                               qm::update::SiteKey(platform.registry));
    qm::gui::SplashView splash_view(instance, view.hwnd(), upgrades.frmSplash());
    // False: another copy was brought forward instead and this one must leave no trace.
    if (!model.Form_Load()) return 0;
    view.Show(show);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (options_view.PreTranslate(message)) continue;
        if (preview_view.PreTranslate(message)) continue;
        if (!IsDialogMessageW(view.hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
