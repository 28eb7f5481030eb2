// The set of ports one program runs on. The Win32 build fills it with the real
// adapters (and, under Wine, with the emulated machine for what Wine lacks);
// native tests fill it with the emulated machine and simulated time.
#pragma once

#include "platform/clock.h"
#include "platform/device_io.h"
#include "platform/file_system.h"
#include "platform/messaging.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "platform/sync.h"
#include "platform/user_interface.h"

namespace kestrel {

struct Machine {
  Registry& registry;
  PowerManager& power;
  DeviceIo& devices;
  Clock& clock;
  Sync& sync;
  Messaging& messaging;
  MessageBoxes& boxes;
  StringTable& strings;
  FileSystem& files;
};

}  // namespace kestrel
