// Commands over the power plans (plans, active, create-plan, delete-plan,
// value) and the emulated power source (ac).
#pragma once
#include "programs/emuctl/commands/command_support.h"

namespace kestrel {

ControlResult ListPlans(ControlTool& tool, const Arguments& args);       // plans
ControlResult ActivePlan(ControlTool& tool, const Arguments& args);      // active [<guid>]
ControlResult CreatePlan(ControlTool& tool, const Arguments& args);      // create-plan <guid> <name> [<source>]
ControlResult DeletePlan(ControlTool& tool, const Arguments& args);      // delete-plan <guid>
ControlResult ReadPlanValue(ControlTool& tool, const Arguments& args);   // value <plan> <subgroup> <setting>
ControlResult SetPowerSource(ControlTool& tool, const Arguments& args);  // ac on|off

}  // namespace kestrel
