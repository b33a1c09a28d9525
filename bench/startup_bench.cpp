// Start-up to the first paint: Quillmoss.exe beside a minimal window program, each started
// several times in turn. A start counts as done when the program shows a window and its
// message loop has first gone idle (WaitForInputIdle), that is, once the window's first
// WM_PAINT has been handled. Usage:
//   qm_bench_startup Quillmoss.exe first_paint.exe [rounds [first_paint_styled.exe
//                    [first_paint_controls.exe]]]
// The styled minimal window, when given, shows what visual styles alone add to the minimal one;
// the one with Quillmoss's first controls and menu bar, what those cost any program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "platform/win32/wide_text.h"

namespace {

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) search->found = true;
    return !search->found;
}

// Milliseconds from CreateProcess to a visible, idle window; -1 if none came within 30 s.
double TimeToFirstPaint(const std::wstring& program) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = qm::bench::NowMs();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    double elapsed = -1;
    for (Search search{process.dwProcessId, false}; qm::bench::NowMs() - start < 30000;) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            WaitForInputIdle(process.hProcess, 30000);
            elapsed = qm::bench::NowMs() - start;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

// Under Wine the build hands over its own paths, "/..."; Wine's drive Z: is that root.
std::wstring WindowsPath(const char* path) {
    std::wstring wide = qm::win32::ToWide(path);
    if (wide.starts_with(L"/")) wide = L"Z:" + wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: qm_bench_startup Quillmoss.exe first_paint.exe [rounds "
                     "[first_paint_styled.exe [first_paint_controls.exe]]]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    std::vector<std::wstring> programs = {WindowsPath(argv[1]), WindowsPath(argv[2])};
    for (int i = 4; i < argc && i < 6; ++i) programs.push_back(WindowsPath(argv[i]));
    // The first start of each loads what later starts find cached; then they take turns.
    for (const std::wstring& program : programs) TimeToFirstPaint(program);
    std::vector<std::vector<double>> times(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            times[i].push_back(TimeToFirstPaint(programs[i]));
            if (times[i].back() < 0) {
                std::fprintf(stderr, "a program showed no window\n");
                return 1;
            }
        }
    }
    const double ours = Median(times[0]), minimal = Median(times[1]);
    std::printf(
        "start to first paint, median of %d: Quillmoss %.1f ms, minimal window %.1f ms, "
        "ratio %.2f\n",
        rounds, ours, minimal, ours / minimal);
    const char* references[] = {"minimal window with visual styles",
                                "styled window with the same first controls and menu bar"};
    for (std::size_t i = 2; i < programs.size(); ++i) {
        const double reference = Median(times[i]);
        std::printf("  %s %.1f ms, ratio %.2f to the minimal one; Quillmoss %.2f to it\n",
                    references[i - 2], reference, reference / minimal, ours / reference);
    }
    return 0;
}
