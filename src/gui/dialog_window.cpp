#include "gui/dialog_window.h"

namespace qm::gui {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

struct alignas(4) EmptyDialog {
    DLGTEMPLATE header{kDialogStyle, 0, 0, 0, 0, 0, 0};
    WORD menu = 0;
    WORD window_class = 0;
    WORD title = 0;
};

}  // namespace

const DLGTEMPLATE* EmptyDialogTemplate() {
    static const EmptyDialog kTemplate;
    return &kTemplate.header;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void PlaceInMiddleOfScreen(HWND dialog, int width, int height, int dpi) {
    RECT frame{0, 0, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi)};
    AdjustWindowRectEx(&frame, GetWindowLongW(dialog, GWL_STYLE), FALSE,
                       GetWindowLongW(dialog, GWL_EXSTYLE));
    const int outer_width = frame.right - frame.left;
    const int outer_height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2, outer_width, outer_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qm::gui
