#pragma once
// A run-time error as the program meets it: the Windows/VB-style number and its description.
// Raised by core operations whose failure a procedure treats as an error (a failed delete,
// folder removal, open, transfer); platform status codes are plain return values.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace qm::errors {

namespace err {
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kBadFileNameOrNumber = 52;
// A transfer from the web site that failed, and one that waited too long.
inline constexpr std::int32_t kCannotConnect = 35754;
inline constexpr std::int32_t kRequestTimedOut = 35761;
}  // namespace err

class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(std::int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    std::int32_t number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    std::int32_t number_;
    std::string description_;
};

// The run-time error a failed file-system call raises, numbered as the program's runtime does
// (53 file not found, 70 permission denied, 75 path/file access error, 76 path not found).
RuntimeError FromStatus(platform::Status status);

// The runtime's own wording for an error number, the same for every occurrence: what a report
// may carry without ever carrying a file name or an address.
std::string_view GenericText(std::int32_t number);

// Raises FromStatus(status) unless status is success.
void ThrowIfFailed(platform::Status status);

}  // namespace qm::errors
