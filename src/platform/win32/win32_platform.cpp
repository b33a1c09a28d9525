#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_event_log.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_message_loop.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_session_traces.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_signatures.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_url_cache.h"

namespace qm::win32 {

struct Win32Platform::Impl {
    Win32Registry registry;
    Win32FileSystem files;
    Win32Shell shell;
    Win32SystemInfo system;
    Win32Dialogs dialogs;
    Win32MessageLoop loop;
    Win32Process process;
    Win32UrlCache url_cache;
    Win32Desktop desktop;
    Win32Http http{&loop};
    Win32Signatures signatures;
    Win32SessionTraces traces;
    Win32EventLog events;
    platform::Platform view{registry,  files,   shell, system,     dialogs, loop,  process,
                            url_cache, desktop, http,  signatures, traces,  events};
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {}
Win32Platform::~Win32Platform() = default;

platform::Platform& Win32Platform::platform() {
    return impl_->view;
}

void Win32Platform::SetDialogOwner(HWND__* owner) {
    impl_->dialogs.SetOwnerWindow(owner);
    impl_->shell.SetOwnerWindow(owner);
    impl_->desktop.SetMainWindow(owner);
}

void Win32Platform::SetMessageBoxOwner(HWND__* owner) {
    impl_->dialogs.SetOwnerWindow(owner);
}

bool Win32Platform::QuitRequested() const {
    return impl_->loop.quit_seen();
}

}  // namespace qm::win32
