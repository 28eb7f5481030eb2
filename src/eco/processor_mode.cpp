#include "eco/processor_mode.h"

#include <vector>

#include "eco/device_word.h"
#include "base/string_ids.h"

namespace kestrel {
namespace {


// The driver open for one request, closed when it goes out of scope.
class OpenDriver {
 public:
  explicit OpenDriver(DeviceIo& devices) : devices_(devices) {
    open_ = devices_.Open(kProcessorModeDriverPath, handle_) == kSuccess;
  }
  ~OpenDriver() {
    if (open_) devices_.Close(handle_);
  }
  OpenDriver(const OpenDriver&) = delete;
  OpenDriver& operator=(const OpenDriver&) = delete;

  bool open() const { return open_; }
  DeviceHandle handle() const { return handle_; }

 private:
  DeviceIo& devices_;
  DeviceHandle handle_ = 0;
  bool open_ = false;
};

}  // namespace

bool ProcessorModeSupported(DeviceIo& devices, ErrorReporter& reporter) {
  OpenDriver driver(devices);
  if (!driver.open()) return false;
  std::vector<std::uint8_t> features(4);
  Status status = devices.Control(driver.handle(), kProcessorModeQuery, {}, features);
  std::optional<std::uint32_t> bits = ReadDeviceWord(features);
  if (status != kSuccess || !bits) {
    reporter.ReportCode(kStringProcessorModeQueryFailed, status != kSuccess ? status : kErrorInvalidData);
    return false;
  }
  return (*bits & 1) != 0;
}

void SendProcessorMode(DeviceIo& devices, ErrorReporter& reporter, std::uint32_t npdCpu) {
  OpenDriver driver(devices);
  if (!driver.open()) return;
  std::vector<std::uint8_t> answer(4);
  Status status = devices.Control(driver.handle(), kProcessorModeSet, DeviceWord(npdCpu), answer);
  if (status != kSuccess) reporter.ReportCode(kStringProcessorModeSetFailed, status);
}

}  // namespace kestrel
