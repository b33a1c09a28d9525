// The History folder's items and their verbs, reached the way a script reaches them: the
// shell's automation object, NameSpace(34), Items, Item(i), Verbs, Item(j). Every call opens
// the namespace afresh, so an item deleted by one verb never leaves a stale list behind.
//
// Under Wine (8) the whole road works up to the last step: History is a plain folder whose
// items (History.IE5 and whatever lies there) offer the usual menu verbs, "&Delete" among
// them, but FolderItemVerb::DoIt is not implemented there (E_NOTIMPL), so InvokeHistoryVerb
// answers kErrorCallNotImplemented and the item stays.
#include "platform/win32/win32_shell.h"

// After windows.h, which it needs.
#include <shldisp.h>

#include "platform/win32/com_ref.h"
#include "platform/win32/hresult_status.h"
#include "platform/win32/wide_text.h"

namespace qm::win32 {

using platform::Status;

namespace {

VARIANT IntVariant(long value) {
    VARIANT variant;
    ::VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

// Automation collections count in longs; an index beyond them cannot name anything.
bool FitsLong(std::size_t index, long count) {
    return count >= 0 && index < static_cast<std::size_t>(count);
}

Status OpenHistoryItems(ComRef<FolderItems>& items) {
    ComRef<IShellDispatch> shell;
    HRESULT result = ::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellDispatch, shell.receive_void());
    if (FAILED(result) || !shell) return platform::kErrorCallNotImplemented;
    ComRef<Folder> folder;
    result = shell->NameSpace(IntVariant(34), folder.receive());
    // An unknown folder is S_FALSE with no object rather than a failure.
    if (FAILED(result) || !folder) return platform::kErrorPathNotFound;
    result = folder->Items(items.receive());
    if (FAILED(result) || !items)
        return FAILED(result) ? FromHresult(result) : platform::kErrorPathNotFound;
    return platform::kOk;
}

Status OpenItemVerbs(std::size_t index, ComRef<FolderItemVerbs>& verbs) {
    ComRef<FolderItems> items;
    if (const Status status = OpenHistoryItems(items); status != platform::kOk) return status;
    long count = 0;
    if (FAILED(items->get_Count(&count)) || !FitsLong(index, count))
        return platform::kErrorInvalidParameter;
    ComRef<FolderItem> item;
    HRESULT result = items->Item(IntVariant(static_cast<long>(index)), item.receive());
    if (FAILED(result) || !item) return platform::kErrorInvalidParameter;
    result = item->Verbs(verbs.receive());
    if (FAILED(result) || !verbs)
        return FAILED(result) ? FromHresult(result) : platform::kErrorCallNotImplemented;
    return platform::kOk;
}

}  // namespace

Status Win32Shell::HistoryItemCount(std::size_t& count) {
    apartment_.Join();
    count = 0;
    ComRef<FolderItems> items;
    if (const Status status = OpenHistoryItems(items); status != platform::kOk) return status;
    long total = 0;
    const HRESULT result = items->get_Count(&total);
    if (FAILED(result)) return FromHresult(result);
    count = total > 0 ? static_cast<std::size_t>(total) : 0;
    return platform::kOk;
}

Status Win32Shell::HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) {
    apartment_.Join();
    verbs.clear();
    ComRef<FolderItemVerbs> all;
    if (const Status status = OpenItemVerbs(item, all); status != platform::kOk) return status;
    long count = 0;
    if (const HRESULT result = all->get_Count(&count); FAILED(result)) return FromHresult(result);
    // A verb that cannot be read (and a menu separator, which has no name) stays in the list
    // as an empty name, so that the indexes here and in InvokeHistoryVerb stay the same.
    for (long index = 0; index < count; ++index) {
        ComRef<FolderItemVerb> verb;
        ScopedBstr name;
        if (SUCCEEDED(all->Item(IntVariant(index), verb.receive())) && verb)
            verb->get_Name(name.receive());
        verbs.push_back(ToUtf8(std::wstring_view(name.get(), name.length())));
    }
    return platform::kOk;
}

Status Win32Shell::InvokeHistoryVerb(std::size_t item, std::size_t verb) {
    apartment_.Join();
    ComRef<FolderItemVerbs> all;
    if (const Status status = OpenItemVerbs(item, all); status != platform::kOk) return status;
    long count = 0;
    if (FAILED(all->get_Count(&count)) || !FitsLong(verb, count))
        return platform::kErrorInvalidParameter;
    ComRef<FolderItemVerb> chosen;
    HRESULT result = all->Item(IntVariant(static_cast<long>(verb)), chosen.receive());
    if (FAILED(result) || !chosen) return platform::kErrorInvalidParameter;
    // A deleting verb asks first; the question's own loop keeps our thread's timers ticking
    // until it is answered, and only then does DoIt return.
    result = chosen->DoIt();
    return FromHresult(result);
}

}  // namespace qm::win32
