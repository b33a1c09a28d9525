#pragma once
// Status codes returned by platform calls: the Windows error numbers, so that the simulated
// machine and the real one answer alike. 0 is success.
#include <cstdint>

namespace qm::platform {

using Status = std::int32_t;

inline constexpr Status kOk = 0;
inline constexpr Status kErrorFileNotFound = 2;
inline constexpr Status kErrorPathNotFound = 3;
inline constexpr Status kErrorAccessDenied = 5;
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorInvalidData = 13;
inline constexpr Status kErrorNoMoreFiles = 18;
inline constexpr Status kErrorSharingViolation = 32;
inline constexpr Status kErrorFileExists = 80;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorCallNotImplemented = 120;
inline constexpr Status kErrorInsufficientBuffer = 122;
inline constexpr Status kErrorInvalidName = 123;
inline constexpr Status kErrorDirNotEmpty = 145;
inline constexpr Status kErrorAlreadyExists = 183;
inline constexpr Status kErrorMoreData = 234;
inline constexpr Status kErrorNoMoreItems = 259;
inline constexpr Status kErrorKeyDeleted = 1018;

}  // namespace qm::platform
