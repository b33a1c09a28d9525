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

std::string_view GenericText(std::int32_t number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 6:
            return "Overflow";
        case 7:
            return "Out of memory";
        case 9:
            return "Subscript out of range";
        case 13:
            return "Type mismatch";
        case err::kBadFileNameOrNumber:
            return "Bad file name or number";
        case err::kFileNotFound:
            return "File not found";
        case 57:
            return "Device I/O error";
        case 61:
            return "Disk full";
        case err::kPermissionDenied:
            return "Permission denied";
        case err::kPathFileAccess:
            return "Path/File access error";
        case err::kPathNotFound:
            return "Path not found";
        case err::kCannotConnect:
            return "Unable to connect to remote host";
        case err::kRequestTimedOut:
            return "Request timed out";
        default:
            return "Application-defined or object-defined error";
    }
}

void ThrowIfFailed(platform::Status status) {
    if (status != platform::kOk) throw FromStatus(status);
}

}  // namespace qm::errors
