#include "bench_tree.h"

#include <windows.h>

#include <chrono>
#include <string>

namespace qm::bench {

int MakeTree(const std::wstring& root, const TreeShape& shape) {
    const std::string payload(static_cast<size_t>(shape.file_bytes), 'q');
    CreateDirectoryW(root.c_str(), nullptr);
    int made = 0;
    for (int t = 0; t < shape.top_folders; ++t) {
        std::wstring top = root + L"\\top" + std::to_wstring(t);
        CreateDirectoryW(top.c_str(), nullptr);
        for (int s = 0; s < shape.subfolders; ++s) {
            std::wstring sub = top + L"\\sub" + std::to_wstring(s);
            CreateDirectoryW(sub.c_str(), nullptr);
            for (int f = 0; f < shape.files_per_folder; ++f) {
                std::wstring path = sub + L"\\file" + std::to_wstring(f) + L".tmp";
                HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE) continue;
                DWORD written = 0;
                WriteFile(file, payload.data(), static_cast<DWORD>(payload.size()), &written,
                          nullptr);
                CloseHandle(file);
                ++made;
            }
        }
    }
    return made;
}

int MakeCacheLikeTree(const std::wstring& root, int folders, int files) {
    static const wchar_t* const kExtensions[] = {L"gif", L"htm", L"jpg", L"css", L"js",
                                                 L"png", L"swf", L"txt", L"cab"};
    CreateDirectoryW(root.c_str(), nullptr);
    int made = 0;
    for (int d = 0; d < folders; ++d) {
        const std::wstring folder = root + L"\\QMB" + (d < 10 ? L"0" : L"") + std::to_wstring(d);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int f = 0; f < files; ++f) {
            const std::wstring path = folder + L"\\item" + std::to_wstring(f) + L"[1]." +
                                      kExtensions[f % (sizeof kExtensions / sizeof *kExtensions)];
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            DWORD written = 0;
            WriteFile(file, "cached", 6, &written, nullptr);
            CloseHandle(file);
            ++made;
        }
    }
    return made;
}

double RemoveWithRd(const std::wstring& root) {
    std::wstring command = L"cmd.exe /c rd /s /q \"" + root + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const double elapsed = NowMs() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace qm::bench
