#include "eco/run_time_text.h"

#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {

std::u16string RunTimeText(PowerManager& power, StringTable& strings,
                           const std::function<std::uint32_t()>& estimateSeconds) {
  SystemPowerStatus status;
  if (power.GetSystemPowerStatus(status) != kSuccess) return strings.Load(kStringEstimating);
  if (status.acLineStatus == 1) return strings.Load(kStringOnMains);
  std::uint32_t seconds = estimateSeconds ? estimateSeconds() : 0;
  if (seconds == 0) return strings.Load(kStringEstimating);
  return FormatText(u"%02d:%02d", {seconds / 3600, seconds % 3600 / 60});
}

}  // namespace kestrel
