// Time port over GetTickCount64, GetLocalTime and Sleep.
#pragma once
#include "platform/clock.h"

namespace kestrel {

class Win32Clock : public Clock {
 public:
  std::uint64_t NowMs() override;
  LocalTime Local() override;
  void Sleep(std::uint32_t ms) override;
};

}  // namespace kestrel
