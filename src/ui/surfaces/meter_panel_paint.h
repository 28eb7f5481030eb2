// Painting of the meter panel: the layout's background from the resources,
// then what changes (needle, readout, battery, plan, buttons, effects) with
// GDI+, one routine per layout.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "app/panel_controller.h"

namespace kestrel {

void PaintPanel(Gdiplus::Graphics& graphics, const PanelView& view, HINSTANCE instance);

}  // namespace kestrel
