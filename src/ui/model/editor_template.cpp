#include "ui/model/editor_template.h"

#include "base/settings_record.h"

namespace kestrel {

std::uint16_t EditorTemplateFor(std::uint32_t settingsFlags, std::uint32_t osModel, bool ambientLight) {
  if ((settingsFlags & SettingsFlag::BatteryPresent) != 0) {
    if (osModel >= 2) return 1314;
    return ambientLight ? 503 : 1179;
  }
  if ((settingsFlags & SettingsFlag::ExternalMonitors) != 0) return 1184;
  return osModel < 2 ? 1183 : 1315;
}

std::uint16_t SheetEditorTemplateFor(std::uint32_t settingsFlags, bool ambientLight) {
  if ((settingsFlags & SettingsFlag::BatteryPresent) == 0) return 1183;
  return ambientLight ? 503 : 1179;
}

bool TemplateHasBatteryColumn(std::uint16_t id) { return id == 503 || id == 1179 || id == 1314; }
bool TemplateHasDimmingRows(std::uint16_t id) { return id == 1314 || id == 1315; }
bool TemplateHasAmbientLight(std::uint16_t id) { return id == 503 || id == 1314 || id == 1183 || id == 1315; }

}  // namespace kestrel
