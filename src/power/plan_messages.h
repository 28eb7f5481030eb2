// String-table numbers of the plan layer's reports and questions.
#pragma once
#include <cstdint>

namespace kestrel::plan_message {

inline constexpr std::uint32_t kGetActivePlanFailed = 2;  // "fail : GetActivePwrScheme"
inline constexpr std::uint32_t kPlanReadFailed = 3;       // "fail : RegOpenKeyEx/HKCU...PowerPolicies"
inline constexpr std::uint32_t kSetActivePlanFailed = 28; // "fail : SetActivePwrScheme"
inline constexpr std::uint32_t kPlanLockTimeout = 48;     // "fail : WaitForSingleObject/InitScheme"
inline constexpr std::uint32_t kAllocationFailed = 51;    // "fail : HeapAlloc"
inline constexpr std::uint32_t kExtensionWriteFailed = 69;  // "fail : RegSetValueEx/HKCU...LCDBC"
inline constexpr std::uint32_t kConfirmPlanEdit = 123;    // "電源設定を変更しますか？"
inline constexpr std::uint32_t kPlanNotFound = 162;       // "指定されたGUIDの電源プランが存在しません"
inline constexpr std::uint32_t kDimTimeoutAcWriteFailed = 297;
inline constexpr std::uint32_t kDimTimeoutDcWriteFailed = 298;
inline constexpr std::uint32_t kStandardPlanNotEditable = 532;

// Extension copy failures, one per value.
inline constexpr std::uint32_t kCopyBrightnessMonitorFailed = 272;
inline constexpr std::uint32_t kCopyBrightnessMonitorEnableFailed = 273;
inline constexpr std::uint32_t kCopyIndicatorFailed = 277;
inline constexpr std::uint32_t kCopyLedNoFailed = 278;
inline constexpr std::uint32_t kCopyIconNoFailed = 509;
inline constexpr std::uint32_t kCopyFlagsFailed = 511;
inline constexpr std::uint32_t kCopyAlsbcFailed = 524;
inline constexpr std::uint32_t kCopyNpdCpuFailed = 544;

}  // namespace kestrel::plan_message
