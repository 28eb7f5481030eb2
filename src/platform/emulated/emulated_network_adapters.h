// The emulated machine's network adapters, one subkey per adapter under
// HKLM\Software\KestrelEmulator\Devices\NetworkAdapters:
//   <adapter name>\IfType   DWORD, the adapter's interface type
// A fresh machine has none; KestrelEmu's "wireless on|off" puts in or takes
// out the adapter "Wireless" of type 71 (IEEE 802.11). The list is read in the
// subkeys' order; a missing key is an empty list.
#pragma once
#include <string_view>

#include "platform/network_adapters.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedAdaptersKey = u"Software\\KestrelEmulator\\Devices\\NetworkAdapters";
inline constexpr std::u16string_view kEmulatedWirelessAdapter = u"Wireless";

class EmulatedNetworkAdapters : public NetworkAdapters {
 public:
  explicit EmulatedNetworkAdapters(Registry& registry) : registry_(registry) {}

  Status InterfaceTypes(std::vector<std::uint32_t>& types) override;

  // Puts the adapter `name` of `ifType` into the machine, or takes it out.
  Status PutAdapter(std::u16string_view name, std::uint32_t ifType);
  Status RemoveAdapter(std::u16string_view name);

 private:
  Registry& registry_;
};

}  // namespace kestrel
