// The least a Win32 program does before its first paint: register a class, create and show
// one window, paint it. qm_bench_startup starts it beside Quillmoss.exe. Built a second time
// with visual styles (QM_VISUAL_STYLES: the common controls 6 manifest and their start-up),
// which any program with themed controls pays before it draws one, and a third time with the
// menu bar and the controls Quillmoss shows first as well (QM_SAME_CONTROLS), made as plainly
// as Windows allows: what such a window costs whoever builds it.
#include <windows.h>
#ifdef QM_VISUAL_STYLES
#include <commctrl.h>
#endif
#ifdef QM_SAME_CONTROLS
#include <initializer_list>
#endif

namespace {

#ifdef QM_SAME_CONTROLS
HMENU MenuBar() {
    HMENU bar = CreateMenu();
    const wchar_t* menus[][3] = {{L"&File", L"E&xit", nullptr},
                                 {L"&Option", L"&Advanced Options", L"&Clean and Reboot"},
                                 {L"&Help", L"&Help", L"&About"}};
    for (const auto& menu : menus) {
        HMENU popup = CreatePopupMenu();
        for (int i = 1; i < 3 && menu[i]; ++i) AppendMenuW(popup, MF_STRING, 100 + i, menu[i]);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), menu[0]);
    }
    return bar;
}

void AddControls(HWND window, HINSTANCE instance) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    struct Made {
        const wchar_t* window_class;
        const wchar_t* text;
        DWORD style;
        int x, y, width, height;
    };
    const Made controls[] = {
        {WC_TABCONTROLW, L"", WS_TABSTOP, 5, 5, 590, 430},
        {WC_LISTBOXW, L"", WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 13, 35, 400,
         360},
        {WC_BUTTONW, L"", BS_GROUPBOX, 425, 190, 155, 115},
        {WC_BUTTONW, L"Exit", BS_PUSHBUTTON | WS_TABSTOP, 425, 35, 155, 27},
        {WC_BUTTONW, L"Clean and Reboot", BS_PUSHBUTTON | WS_TABSTOP, 425, 69, 155, 27},
        {WC_BUTTONW, L"Delete from Internet Explorer", BS_PUSHBUTTON | WS_TABSTOP, 425, 103, 155,
         27},
        {WC_BUTTONW, L"Add to Internet Explorer", BS_PUSHBUTTON | WS_TABSTOP, 425, 137, 155, 27},
        {WC_STATICW, L"Boss Keys", 0, 435, 210, 130, 16},
        {WC_STATICW, L"F9 = Hide IE Windows", 0, 435, 235, 130, 16},
        {WC_STATICW, L"F10 = Restore IE Windows", 0, 435, 257, 130, 16},
    };
    for (const Made& made : controls) {
        HWND control = CreateWindowExW(
            0, made.window_class, made.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | made.style,
            made.x, made.y, made.width, made.height, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (made.window_class == WC_TABCONTROLW) {
            for (const wchar_t* caption :
                 {L"Main", L"Privacy Settings", L"Q && A", L"System Info"}) {
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<wchar_t*>(caption);
                SendMessageW(control, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
            }
        } else if (made.window_class == WC_LISTBOXW) {
            for (const wchar_t* line :
                 {L"Your Computer has been running for...328 Minutes", L"OS Microsoft Windows XP",
                  L"IE version 6.0.2800", L"Quillmoss is ready..."}) {
                SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
            }
        }
        // Each above the last: the tab strip lowest, the labels over their group box.
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}
#endif

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        FillRect(paint.hdc, &paint.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
#ifdef QM_VISUAL_STYLES
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.lpszClassName = L"QmBenchFirstPaint";
#ifdef QM_SAME_CONTROLS
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&window_class);
    HWND window =
        CreateWindowW(L"QmBenchFirstPaint", L"First paint", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 606, 490, nullptr, MenuBar(), instance, nullptr);
    AddControls(window, instance);
#else
    RegisterClassW(&window_class);
    HWND window =
        CreateWindowW(L"QmBenchFirstPaint", L"First paint", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
#endif
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
