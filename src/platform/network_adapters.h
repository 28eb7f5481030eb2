// Network adapter port: the interface type of every adapter of the IP
// helper's adapter list (GetAdaptersAddresses), which is all the program asks
// of the network: whether the machine has a wireless (IEEE 802.11) adapter.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/status.h"

namespace kestrel {

// IF_TYPE_IEEE80211.
inline constexpr std::uint32_t kIfTypeIeee80211 = 71;

class NetworkAdapters {
 public:
  virtual ~NetworkAdapters() = default;
  // The IfType of every adapter, in the list's order.
  virtual Status InterfaceTypes(std::vector<std::uint32_t>& types) = 0;
};

// True when an adapter of type 71 is listed; a list that cannot be read
// has none.
bool HasWirelessAdapter(NetworkAdapters& adapters);

}  // namespace kestrel
