// Network adapter port over the IP helper's GetAdaptersAddresses.
#pragma once
#include "platform/network_adapters.h"

namespace kestrel {

class Win32NetworkAdapters : public NetworkAdapters {
 public:
  Status InterfaceTypes(std::vector<std::uint32_t>& types) override;
};

}  // namespace kestrel
