#include "ui/surfaces/program_surfaces.h"

#include "base/string_ids.h"

#include <string>

namespace kestrel {
namespace {

constexpr wchar_t kEcoSettingsCaption[] = L"ECOモードの設定(省電力設定)";

}  // namespace

void ProgramSurfaces::OpenEcoSettings() { settingsWindow_.Open(kEcoSettingsCaption); }

void ProgramSurfaces::OpenPlanSettings() {
  std::u16string caption = strings_.Load(kStringPlanSettingsCaption);
  settingsWindow_.Open(std::wstring(caption.begin(), caption.end()));
}

}  // namespace kestrel
