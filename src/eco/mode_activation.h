// The end of every switch: the lamp takes the mode's colour, 800 ms later the
// mode's plan becomes the active and the current plan, the surfaces are told
// (1027), and the processor-mode driver gets the plan's NpdCPU value.
#pragma once
#include <cstdint>

#include "base/messages.h"
#include "eco/eco_context.h"
#include "eco/eco_lamp.h"
#include "eco/mode_table.h"

namespace kestrel {

inline constexpr std::uint32_t kLampBeforeActivationMs = 800;

// False when nothing was activated: a slot without plan (never GUID_NULL to
// the platform) or a refusal of the platform (logged, string 28).
bool ActivateMode(EcoContext& context, EcoLamp& lamp, const ModeSlot& slot, std::uint32_t lampValue);

// The processor-mode value of `plan`, sent when the driver reported support.
void SendPlanProcessorMode(EcoContext& context, const Guid& plan);

// Posts 1027 (wParam 0) to the panel, or to the main window without one.
void PostPlanChanged(EcoContext& context);

}  // namespace kestrel
