// Other programs' top-level windows for the end-to-end tests: one shown window of each class
// named on the command line, each at a place of its own. Runs until it is ended.
#include <windows.h>

#include <shellapi.h>

int main() {
    int count = 0;
    LPWSTR* classes = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        // Registering a class named twice fails harmlessly; the first registration serves.
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.lpszClassName = classes[i];
        RegisterClassW(&window_class);
        CreateWindowExW(0, classes[i], classes[i], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40 * i, 30 * i,
                        300, 200, nullptr, nullptr, nullptr, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}
