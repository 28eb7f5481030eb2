#include "programs/emuctl/commands/network_commands.h"

#include "platform/emulated/emulated_network_adapters.h"

namespace kestrel {
namespace {

std::string WirelessState(EmulatedNetworkAdapters& adapters) {
  return HasWirelessAdapter(adapters) ? "wireless adapter: present\n" : "wireless adapter: absent\n";
}

}  // namespace

ControlResult WirelessCommand(ControlTool& tool, const Arguments& args) {
  if (tool.emulatedDevices == nullptr) {
    return Failed("wireless changes the emulated machine, which only exists under Wine");
  }
  if (!HasArguments(args, 0, 1) || (args.size() == 2 && args[1] != u"on" && args[1] != u"off")) {
    return WrongArguments("wireless [on|off]");
  }
  EmulatedNetworkAdapters adapters(tool.machine.registry);
  if (args.size() == 2) {
    Status status = args[1] == u"on" ? adapters.PutAdapter(kEmulatedWirelessAdapter, kIfTypeIeee80211)
                                     : adapters.RemoveAdapter(kEmulatedWirelessAdapter);
    if (status != kSuccess) return FailedWith("changing the wireless adapter", status);
  }
  return Succeeded(WirelessState(adapters));
}

}  // namespace kestrel
