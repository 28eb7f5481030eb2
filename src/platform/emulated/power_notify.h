// Power-setting notification registrations, kept in the registry under
// HKLM\Software\KestrelEmulator\PowerNotify so that a change raised by one
// process (the control tool) reaches windows registered by another (Kestrel).
// One REG_SZ value per registration: name = the handle in decimal, data =
// "<setting guid> <window handle in decimal>".
#pragma once
#include <vector>

#include "platform/guid.h"
#include "platform/power.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kPowerNotifyKey = u"Software\\KestrelEmulator\\PowerNotify";

struct PowerRegistration {
  PowerNotifyHandle handle = 0;
  WindowHandle window = 0;
  Guid setting;
};

class PowerNotifyStore {
 public:
  explicit PowerNotifyStore(Registry& registry) : registry_(registry) {}

  Status Add(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle);
  // kErrorInvalidHandle when no such registration exists.
  Status Remove(PowerNotifyHandle handle);
  // Every registration; malformed entries are skipped.
  std::vector<PowerRegistration> List();

 private:
  Registry& registry_;
};

}  // namespace kestrel
