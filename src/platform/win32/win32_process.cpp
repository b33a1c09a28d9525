#include "platform/win32/win32_process.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

namespace {

std::string ModulePath() {
    // The path may be longer than MAX_PATH when started through a \\?\ path; grow until the
    // whole of it fits (a full buffer means it was cut).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return ToUtf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool EndsWithExe(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'e' && (tail[2] | 0x20) == 'x' &&
           (tail[3] | 0x20) == 'e';
}

}  // namespace

void SplitProgramPath(std::string_view path, std::string& folder, std::string& name) {
    const std::size_t cut = path.find_last_of('\\');
    if (cut == std::string_view::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, cut);
        name = path.substr(cut + 1);
        if (folder.size() == 2 && folder[1] == ':') folder.push_back('\\');
    }
    if (EndsWithExe(name)) name.resize(name.size() - 4);
}

std::string Win32Process::ProgramFolder() {
    std::string folder, name;
    SplitProgramPath(ModulePath(), folder, name);
    return folder;
}

std::string Win32Process::ProgramName() {
    std::string folder, name;
    SplitProgramPath(ModulePath(), folder, name);
    return name;
}

}  // namespace qm::win32
