// Win32 error codes as plain values. Ports return them unchanged so the core
// can test the same codes the real API reports.
#pragma once
#include <cstdint>

namespace kestrel {

using Status = std::uint32_t;

inline constexpr Status kSuccess = 0;
inline constexpr Status kErrorFileNotFound = 2;
inline constexpr Status kErrorPathNotFound = 3;
inline constexpr Status kErrorAccessDenied = 5;
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorNotEnoughMemory = 8;
inline constexpr Status kErrorInvalidData = 13;
inline constexpr Status kErrorSharingViolation = 32;
inline constexpr Status kErrorNotSupported = 50;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorBufferOverflow = 111;
inline constexpr Status kErrorCallNotImplemented = 120;
inline constexpr Status kErrorInsufficientBuffer = 122;
inline constexpr Status kErrorAlreadyExists = 183;
inline constexpr Status kErrorMoreData = 234;
inline constexpr Status kErrorNoMoreItems = 259;
inline constexpr Status kErrorTimeout = 1460;
inline constexpr Status kErrorHotkeyAlreadyRegistered = 1409;
inline constexpr Status kErrorKeyDeleted = 1018;

}  // namespace kestrel
