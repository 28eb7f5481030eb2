// The ports the installer runs on: the program machine (registry, power plans,
// clock, mutexes, window messages, files) plus the profile reader for the
// plan-definition file and the process starter.
#pragma once
#include "platform/machine.h"
#include "platform/process.h"
#include "platform/profile.h"

namespace kestrel {

struct InstallerPorts {
  Machine& machine;
  Profile& profile;
  Process& processes;
};

}  // namespace kestrel
