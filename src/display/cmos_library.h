// The maker's CMOS library, which hands a plan's automatic-brightness record
// (ALSBC) to the embedded controller. It counts as present only when it says
// it is supported and has all the exports Kestrel resolves.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/error_reporter.h"
#include "platform/libraries.h"
#include "power/plan_record.h"

namespace kestrel {

class CmosLibrary {
 public:
  CmosLibrary(Libraries& libraries, ErrorReporter& reporter) : libraries_(libraries), reporter_(reporter) {}
  ~CmosLibrary() { Unload(); }
  CmosLibrary(const CmosLibrary&) = delete;
  CmosLibrary& operator=(const CmosLibrary&) = delete;

  // An empty path means no library. A load failure is logged.
  void Load(std::u16string_view path);
  void Unload();
  bool present() const { return present_; }

  bool WritePmcInfo(const Alsbc& record);
  // Mode 1: automatic brightness is active.
  bool ReadBrightMode(std::uint32_t& mode);

 private:
  bool Answers();

  Libraries& libraries_;
  ErrorReporter& reporter_;
  LibraryHandle library_ = 0;
  bool present_ = false;
};

}  // namespace kestrel
