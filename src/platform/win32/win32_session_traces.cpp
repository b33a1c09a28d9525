#include "platform/win32/win32_session_traces.h"

#include "platform/win32/windows_api.h"
// After windows.h, which they need.
#include <objbase.h>
#include <roapi.h>
#include <winstring.h>

#include "platform/win32/com_ref.h"
#include "platform/win32/hresult_status.h"

namespace qm::win32 {
namespace {

// Windows.ApplicationModel.DataTransfer.IClipboardStatics2, as far as it is called here: after
// IInspectable's three methods come GetHistoryItemsAsync and then ClearHistory.
struct IClipboardStatics2 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetHistoryItemsAsync(void** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearHistory(boolean* cleared) = 0;
};
constexpr GUID kIidClipboardStatics2 = {
    0xD2AC1B6A, 0xD29F, 0x554B, {0xB3, 0x03, 0xF0, 0x45, 0x23, 0x45, 0xFE, 0x02}};
constexpr wchar_t kClipboardClass[] = L"Windows.ApplicationModel.DataTransfer.Clipboard";

using RoGetActivationFactoryFn = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
using WindowsCreateStringFn = HRESULT(WINAPI*)(PCNZWCH, UINT32, HSTRING*);
using WindowsDeleteStringFn = HRESULT(WINAPI*)(HSTRING);
using DnsFlushResolverCacheFn = BOOL(WINAPI*)();

template <class Function>
Function Lookup(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The library stays loaded for the rest of the program once found, as its calls may be made
// again; before Windows 8 it is not there at all.
HMODULE SystemLibrary(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + ::lstrlenW(name) >= MAX_PATH) return nullptr;
    ::lstrcatW(path, L"\\");
    ::lstrcatW(path, name);
    return ::LoadLibraryW(path);
}

DnsFlushResolverCacheFn DnsFlush() {
    static const auto flush =
        Lookup<DnsFlushResolverCacheFn>(SystemLibrary(L"dnsapi.dll"), "DnsFlushResolverCache");
    return flush;
}

// Windows 10 before 1809, and every system without the runtime's clipboard, has no history:
// no factory.
ComRef<IClipboardStatics2> ClipboardStatics(ComApartment& apartment) {
    ComRef<IClipboardStatics2> clipboard;
    static const HMODULE combase = SystemLibrary(L"combase.dll");
    const auto get_factory = Lookup<RoGetActivationFactoryFn>(combase, "RoGetActivationFactory");
    const auto create_string = Lookup<WindowsCreateStringFn>(combase, "WindowsCreateString");
    const auto delete_string = Lookup<WindowsDeleteStringFn>(combase, "WindowsDeleteString");
    if (!get_factory || !create_string || !delete_string) return clipboard;
    apartment.Join();
    HSTRING name = nullptr;
    if (FAILED(create_string(kClipboardClass, ARRAYSIZE(kClipboardClass) - 1, &name)))
        return clipboard;
    if (FAILED(get_factory(name, kIidClipboardStatics2, clipboard.receive_void())))
        clipboard.reset();
    delete_string(name);
    return clipboard;
}

}  // namespace

platform::Status Win32SessionTraces::EmptyClipboard() {
    // Another program may hold the clipboard open for a moment (a copy under way).
    for (int attempt = 0;; ++attempt) {
        if (::OpenClipboard(nullptr)) break;
        if (attempt == 20) return platform::kErrorAccessDenied;
        ::Sleep(25);
    }
    const BOOL emptied = ::EmptyClipboard();
    const DWORD error = emptied ? ERROR_SUCCESS : ::GetLastError();
    ::CloseClipboard();
    return emptied ? platform::kOk : static_cast<platform::Status>(error);
}

bool Win32SessionTraces::HasClipboardHistory() {
    return static_cast<bool>(ClipboardStatics(apartment_));
}

platform::Status Win32SessionTraces::ClearClipboardHistory() {
    const ComRef<IClipboardStatics2> clipboard = ClipboardStatics(apartment_);
    if (!clipboard) return platform::kErrorCallNotImplemented;
    boolean cleared = 0;
    const HRESULT result = clipboard->ClearHistory(&cleared);
    if (FAILED(result)) return FromHresult(result);
    return cleared ? platform::kOk : platform::kErrorAccessDenied;
}

bool Win32SessionTraces::HasDnsCache() {
    return DnsFlush() != nullptr;
}

platform::Status Win32SessionTraces::FlushDnsCache() {
    const DnsFlushResolverCacheFn flush = DnsFlush();
    if (flush == nullptr) return platform::kErrorCallNotImplemented;
    if (flush()) return platform::kOk;
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? static_cast<platform::Status>(error)
                                  : platform::kErrorAccessDenied;
}

}  // namespace qm::win32
