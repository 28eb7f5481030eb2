#include "ui/dialogs/plan_editor_route.h"

#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/hot_key_dialog.h"
#include "ui/dialogs/plan_editor_dialog.h"
#include "ui/model/editor_template.h"

namespace kestrel {
namespace {

std::function<const DialogServices&()> g_services;
// One dialog of the route at a time: a second request while one is open is dropped.
bool g_open = false;

bool KnownTemplate(LPARAM id) {
  switch (id) {
    case 503:
    case 1179:
    case 1314:
    case 1183:
    case 1184:
    case 1315:
      return true;
    default:
      return false;
  }
}

}  // namespace

void SetDialogRoute(std::function<const DialogServices&()> services) {
  g_services = std::move(services);
  if (!g_services) ReleaseHelp();
}

void OpenPlanEditorOnCurrentPlan(HWND owner, LPARAM templateId) {
  if (!g_services || g_open) return;
  const DialogServices& services = g_services();
  std::shared_ptr<const PlanRecord> current = services.plans.currentPlan();
  if (!current || current->guid.IsNull()) return;
  std::uint16_t chosen = KnownTemplate(templateId)
                             ? static_cast<std::uint16_t>(templateId)
                             : EditorTemplateFor(services.settings.flags, services.config.osModel, services.ambientLight);
  PlanEditorRequest request{services, current->guid, current->ledNo, static_cast<PlanEditorTemplate>(chosen), nullptr};
  g_open = true;
  RunPlanEditor(owner, request);
  g_open = false;
}

void OpenHotKeyDialogFromMain(HWND owner) {
  if (!g_services || g_open) return;
  g_open = true;
  RunHotKeyDialog(owner, g_services());
  g_open = false;
}

}  // namespace kestrel
