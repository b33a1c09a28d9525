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

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace qm::bench
