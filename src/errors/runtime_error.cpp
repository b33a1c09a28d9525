#include "errors/runtime_error.h"

namespace qm::errors {

RuntimeError FromStatus(platform::Status status) {
    using namespace platform;
    switch (status) {
        case kErrorFileNotFound:
            return {err::kFileNotFound, "File not found"};
        case kErrorPathNotFound:
        case kErrorInvalidName:
            return {err::kPathNotFound, "Path not found"};
        case kErrorAccessDenied:
        case kErrorSharingViolation:
            return {err::kPermissionDenied, "Permission denied"};
        default:
            return {err::kPathFileAccess, "Path/File access error"};
    }
}

void ThrowIfFailed(platform::Status status) {
    if (status != platform::kOk) throw FromStatus(status);
}

}  // namespace qm::errors
