#include "platform/network_adapters.h"

#include <algorithm>

namespace kestrel {

bool HasWirelessAdapter(NetworkAdapters& adapters) {
  std::vector<std::uint32_t> types;
  if (adapters.InterfaceTypes(types) != kSuccess) return false;
  return std::find(types.begin(), types.end(), kIfTypeIeee80211) != types.end();
}

}  // namespace kestrel
