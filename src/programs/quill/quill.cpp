// quillapi.dll of the emulated machine: the maker's CMOS library with its five
// exports, as Kestrel calls them. What each export does, and the state and
// call log it keeps in the registry beside the emulated devices, is
// EmulatedQuill's; this file only gives it the DLL's entry points.
#include <cstdint>
#include <span>

#include "platform/emulated/emulated_quill.h"
#include "platform/win32/win32_registry.h"

namespace {

kestrel::EmulatedQuill& Library() {
  static kestrel::Win32Registry registry;
  static kestrel::EmulatedQuill quill(registry);
  return quill;
}

}  // namespace

extern "C" {

__declspec(dllexport) std::uint32_t QUILLIF_QuerySupported() { return Library().QuerySupported(); }

__declspec(dllexport) std::uint32_t QUILL_WRITE_PMCINFO(const std::uint8_t* record) {
  if (record == nullptr) return 0;
  return Library().WritePmcInfo(std::span<const std::uint8_t>(record, kestrel::kPmcRecordBytes));
}

__declspec(dllexport) std::uint32_t QUILL_READ_BrightMode(std::uint32_t* mode) {
  if (mode == nullptr) return 0;
  return Library().ReadBrightMode(*mode);
}

__declspec(dllexport) std::uint32_t QUILL_READ_BrightValue(std::uint32_t* value) {
  if (value == nullptr) return 0;
  return Library().ReadBrightValue(*value);
}

__declspec(dllexport) std::uint32_t QUILL_READ_INFO(std::uint8_t* record) {
  if (record == nullptr) return 0;
  return Library().ReadInfo(std::span<std::uint8_t>(record, kestrel::kPmcRecordBytes));
}

}  // extern "C"
