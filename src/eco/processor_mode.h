// The maker's processor-mode driver ("\\.\VEXAPSRD"): the start-up query
// whose bit 0 says the power-saving device is supported, and the plan's
// NpdCPU value sent on every activation.
#pragma once
#include <cstdint>

#include "base/error_reporter.h"
#include "platform/device_io.h"

namespace kestrel {

inline constexpr std::u16string_view kProcessorModeDriverPath = u"\\\\.\\VEXAPSRD";
inline constexpr std::uint32_t kProcessorModeQuery = 0x9C40E108;  // out: feature bits
inline constexpr std::uint32_t kProcessorModeSet = 0x9C40E10C;    // in: the mode value

// True when the driver opens and reports feature bit 0. A failing query is
// logged (string 539); a driver that cannot be opened is simply absent.
bool ProcessorModeSupported(DeviceIo& devices, ErrorReporter& reporter);

// Sends the plan's NpdCPU value. A failing request is logged (string 541); a
// driver that cannot be opened is skipped silently.
void SendProcessorMode(DeviceIo& devices, ErrorReporter& reporter, std::uint32_t npdCpu);

}  // namespace kestrel
