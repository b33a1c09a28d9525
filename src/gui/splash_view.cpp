#include "gui/splash_view.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"

namespace qm::gui {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 90;

int Scale(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

}  // namespace

SplashView::SplashView(HINSTANCE instance, HWND owner, update::Splash& model)
    : instance_(instance), owner_(owner), model_(model) {
    model_.SetOnChange([this] { Follow(); });
}

SplashView::~SplashView() {
    model_.SetOnChange([] {});
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
}

void SplashView::Create() {
    if (!Register(instance_, kSplashClass, nullptr)) return;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int width = Scale(kWidth, dpi), height = Scale(kHeight, dpi);
    CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSplashClass, L"Quillmoss",
                    WS_POPUP | WS_BORDER, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner_, nullptr,
                    instance_, this);
    if (!hwnd_) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    const HWND frame = CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                       Scale(8, dpi), Scale(2, dpi), width - Scale(18, dpi),
                                       height - Scale(12, dpi), hwnd_, nullptr, instance_, nullptr);
    label_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_CENTER, Scale(16, dpi),
                             Scale(24, dpi), width - Scale(34, dpi), Scale(40, dpi), hwnd_, nullptr,
                             instance_, nullptr);
    for (const HWND child : {frame, label_})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void SplashView::Follow() {
    if (!hwnd_) Create();
    if (!hwnd_) return;
    SetWindowTextW(label_, win32::ToWide(model_.label()).c_str());
    ShowWindow(hwnd_, model_.shown() ? SW_SHOWNOACTIVATE : SW_HIDE);
    // The transfers that follow hold the thread: paint now, or the user sees a blank box.
    if (model_.shown()) UpdateWindow(hwnd_);
}

LRESULT SplashView::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace qm::gui
