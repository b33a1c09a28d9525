#pragma once
// Shell calls answer with HRESULTs; the core compares Windows error numbers.
#include "platform/status.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

// S_FALSE (the thing is known but not there) is a failure too, since there is nothing to use.
// Failures that carry no Windows error number mean the machine cannot do what was asked.
inline platform::Status FromHresult(HRESULT result) {
    if (result == S_OK) return platform::kOk;
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
    if (result == S_FALSE) return platform::kErrorFileNotFound;
    if (result == E_INVALIDARG) return platform::kErrorInvalidParameter;
    if (result == E_ACCESSDENIED) return platform::kErrorAccessDenied;
    return platform::kErrorCallNotImplemented;
}

}  // namespace qm::win32
