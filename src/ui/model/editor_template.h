// Which of the plan editor's six templates a machine gets.
#pragma once
#include <cstdint>

namespace kestrel {

// Battery: 503 (ambient light), 1179 (without), 1314 (OS model 2, dimming
// rows). No battery: 1184 (external monitors), 1183 (OS model 1), 1315 (OS
// model 2). The plan selection page chooses among 1183, 503 and 1179 only.
std::uint16_t EditorTemplateFor(std::uint32_t settingsFlags, std::uint32_t osModel, bool ambientLight);
std::uint16_t SheetEditorTemplateFor(std::uint32_t settingsFlags, bool ambientLight);

// What a template holds.
bool TemplateHasBatteryColumn(std::uint16_t id);
bool TemplateHasDimmingRows(std::uint16_t id);
bool TemplateHasAmbientLight(std::uint16_t id);

}  // namespace kestrel
