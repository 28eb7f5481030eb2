// What the plan editor's controls show: the slider rows and their labels, the
// brightness, processor, wireless and video controls, the battery group, the
// tooltips, the icons and the layout scaling.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "base/string_ids.h"
#include "platform/format.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/editor_ids.h"
#include "ui/dialogs/plan_editor.h"
#include "ui/model/label_fit.h"
#include "ui/model/plan_icons.h"

namespace kestrel {
namespace {

namespace ids = editor_ids;

struct RowControls {
  EditorRow row;
  int acSlider;
  int acLabel;
  int dcSlider;
  int dcLabel;
  int acIcon;
  int dcIcon;
};

constexpr std::array<RowControls, kEditorRowCount> kRows{{
    {EditorRow::Monitor, 1037, 1036, 1039, 1038, 1233, 1234},
    {EditorRow::Disk, 1041, 1040, 1043, 1042, 1235, 1236},
    {EditorRow::Sleep, 1045, 1044, 1047, 1046, 1237, 1238},
    {EditorRow::Hibernate, 1049, 1048, 1051, 1050, 1239, 1240},
    {EditorRow::Processor, 1053, 1052, 1055, 1054, 1305, 1306},
    {EditorRow::Brightness, 1080, 1079, 1082, 1081, 1300, 1301},
    {EditorRow::DimTimeout, 1100, 1099, 1102, 1101, 1251, 1252},
    {EditorRow::DimBrightness, 1104, 1103, 1106, 1105, 1248, 1249},
    {EditorRow::Wireless, 1056, 1058, 1057, 1063, 1245, 1246},
    {EditorRow::Video, 1064, 1066, 1065, 1074, 1247, 1250},
}};

// The icon statics the layout scaling sizes to 16 x 17.
constexpr std::array<int, 23> kScaledIcons{1233, 1234, 1235, 1236, 1237, 1238, 1239, 1240, 1305, 1306, 1300, 1301,
                                           1298, 1299, 1245, 1246, 1247, 1250, 1251, 1252, 1248, 1249, 1200};
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 17;
constexpr int kPlanIconPixels = 32;
// The level a plan shows while the panel's brightness follows the ambient light.
constexpr std::uint32_t kAutomaticBrightnessLevel = 512;

// Tooltips of the buttons, by control.
constexpr std::uint32_t kResetTipThreeModes = kStringPlanResetTipThreeModes;

const RowControls& ControlsOf(EditorRow row) { return kRows[static_cast<std::size_t>(row)]; }
int SliderControl(SliderId id) {
  const RowControls& row = ControlsOf(id.row);
  return id.source == PowerSource::Ac ? row.acSlider : row.dcSlider;
}
int LabelControl(SliderId id) {
  const RowControls& row = ControlsOf(id.row);
  return id.source == PowerSource::Ac ? row.acLabel : row.dcLabel;
}

void Show(HWND dialog, int id, bool shown) {
  if (HWND control = GetDlgItem(dialog, id)) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}
void Enable(HWND dialog, int id, bool enabled) {
  if (HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enabled);
}

}  // namespace

void PlanEditor::SetLabel(int id, const std::u16string& text) {
  HWND label = GetDlgItem(dialog_, id);
  if (label == nullptr) return;
  RECT box{};
  GetClientRect(label, &box);
  HDC dc = GetDC(label);
  HGDIOBJ previous = SelectObject(dc, labelFont_.get());
  auto measure = [dc](std::u16string_view part) {
    SIZE size{};
    std::wstring wide = ToWide(part);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  };
  FittedLabel fitted = FitLabel(text, box.right - box.left, measure);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  if (fitted.cut) {
    fullLabels_[id] = text;
  } else {
    fullLabels_.erase(id);
  }
  SetWindowTextW(label, ToWide(fitted.text).c_str());
}

void PlanEditor::SetUpSlider(SliderId id) {
  HWND control = GetDlgItem(dialog_, SliderControl(id));
  if (control == nullptr) return;
  const EditorSlider& slider = model_.slider(id);
  SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(slider.minimum(), slider.maximum()));
  SendMessageW(control, TBM_SETPOS, TRUE, slider.position());
  SetLabel(LabelControl(id), slider.label(services_.machine.strings));
}

void PlanEditor::SetUpRows() {
  for (const RowControls& row : kRows) {
    SetUpSlider({row.row, PowerSource::Ac});
    SetUpSlider({row.row, PowerSource::Dc});
  }
  CheckRadioButton(dialog_, ids::kFixedBrightness, ids::kAmbientBrightness,
                   model_.ambientLightOn() ? ids::kAmbientBrightness : ids::kFixedBrightness);
  CheckDlgButton(dialog_, ids::kProcessorEco, model_.processorEco() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, ids::kMonitorBrightness, model_.monitorBrightness() ? BST_CHECKED : BST_UNCHECKED);
  SetUpAmbient();
  SetUpBrightnessControls();
  SetUpProcessorControls();
  SetUpOptionalRows();
  RefreshBrightnessCaption();
}

void PlanEditor::SetUpAmbient() {
  StringTable& strings = services_.machine.strings;
  const ValueTable& levels = tables_.brightness();
  struct Ambient {
    RangeSlider& slider;
    PowerSource source;
    int maximumLabel;
    int minimumLabel;
  };
  for (const Ambient& ambient : {Ambient{ambientAc_, PowerSource::Ac, ids::kAmbientAcMaximum, ids::kAmbientAcMinimum},
                                 Ambient{ambientDc_, PowerSource::Dc, ids::kAmbientDcMaximum, ids::kAmbientDcMinimum}}) {
    if (ambient.slider.window() == nullptr) continue;
    const AmbientRange& range = model_.ambient(ambient.source);
    SendMessageW(ambient.slider.window(), kRangeSetThumb, kRangeUpper, range.upper);
    SendMessageW(ambient.slider.window(), kRangeSetThumb, kRangeLower, range.lower);
    SetLabel(ambient.maximumLabel,
             FormatText(strings.Load(kStringAmbientMaximumLabel), {levels[static_cast<std::size_t>(range.upper)].label}));
    SetLabel(ambient.minimumLabel,
             FormatText(strings.Load(kStringAmbientMinimumLabel), {levels[static_cast<std::size_t>(range.lower)].label}));
  }
}

void PlanEditor::SetUpBrightnessControls() {
  const bool ambient = features_.ambientLight;
  for (int id : {ids::kFixedBrightness, ids::kAmbientBrightness, ids::kAmbientAc, ids::kAmbientDc,
                 ids::kAmbientAcMaximum, ids::kAmbientAcMinimum, ids::kAmbientDcMaximum, ids::kAmbientDcMinimum,
                 1298, 1299}) {
    Show(dialog_, id, ambient);
  }
  Show(dialog_, ids::kBrightnessGroupAmbient, ambient);
  Show(dialog_, ids::kBrightnessGroupPlain, !ambient);
  const bool fixed = model_.fixedBrightnessEnabled();
  for (EditorRow row : {EditorRow::Brightness, EditorRow::DimTimeout, EditorRow::DimBrightness}) {
    const RowControls& controls = ControlsOf(row);
    for (int id : {controls.acSlider, controls.acLabel, controls.dcSlider, controls.dcLabel}) Enable(dialog_, id, fixed);
  }
  if (!features_.dimmingRows) {
    for (EditorRow row : {EditorRow::DimTimeout, EditorRow::DimBrightness}) {
      const RowControls& controls = ControlsOf(row);
      for (int id : {controls.acSlider, controls.acLabel, controls.dcSlider, controls.dcLabel}) {
        Enable(dialog_, id, false);
      }
    }
  }
  const bool ranges = model_.ambientSlidersEnabled();
  for (int id : {ids::kAmbientAc, ids::kAmbientDc, ids::kAmbientAcMaximum, ids::kAmbientAcMinimum,
                 ids::kAmbientDcMaximum, ids::kAmbientDcMinimum}) {
    Enable(dialog_, id, ranges);
  }
  Enable(dialog_, ids::kFixedBrightness, features_.panelBrightness);
  Enable(dialog_, ids::kMonitorBrightness, features_.panelBrightness || features_.externalMonitors);
}

void PlanEditor::SetUpProcessorControls() {
  const bool eco = features_.deviceSaving;
  Show(dialog_, ids::kProcessorEco, eco);
  Show(dialog_, ids::kProcessorGroupEco, eco);
  Show(dialog_, ids::kProcessorGroup, !eco);
  const bool enabled = model_.processorSlidersEnabled();
  const RowControls& row = ControlsOf(EditorRow::Processor);
  for (int slider : {row.acSlider, row.dcSlider}) {
    HWND control = GetDlgItem(dialog_, slider);
    if (control == nullptr) continue;
    EnableWindow(control, enabled);
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    style = enabled ? (style & ~static_cast<LONG_PTR>(TBS_NOTHUMB)) : (style | TBS_NOTHUMB);
    SetWindowLongPtrW(control, GWL_STYLE, style);
    InvalidateRect(control, nullptr, TRUE);
  }
  Show(dialog_, row.acLabel, enabled);
  const bool battery = services_.settings.Has(SettingsFlag::BatteryPresent);
  Show(dialog_, row.dcLabel, enabled || !battery);
}

void PlanEditor::SetUpOptionalRows() {
  struct Optional {
    EditorRow row;
    int group;
    bool shown;
  };
  for (const Optional& optional : {Optional{EditorRow::Wireless, ids::kWirelessGroup, model_.wirelessShown()},
                                   Optional{EditorRow::Video, ids::kVideoGroup, model_.videoShown()}}) {
    const RowControls& row = ControlsOf(optional.row);
    for (int id : {row.acSlider, row.acLabel, row.dcSlider, row.dcLabel, row.acIcon, row.dcIcon, optional.group}) {
      Show(dialog_, id, optional.shown);
      Enable(dialog_, id, optional.shown);
    }
  }
}

void PlanEditor::ShowPlanNames() {
  const PlanRecord& record = model_.record();
  SetDlgItemTextW(dialog_, ids::kPlanName, ToWide(record.name).c_str());
  SetDlgItemTextW(dialog_, ids::kPlanDescription, ToWide(record.description).c_str());
  IconSet set = services_.settings.Has(SettingsFlag::EcoMode) ? IconSet::Eco : IconSet::Standard;
  std::uint32_t resource = PlanLargeIcon(record.iconNo, request_.editedMode, set);
  int pixels = scale_.Width(kPlanIconPixels);
  planIcon_.reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, pixels, pixels, 0)));
  SendDlgItemMessageW(dialog_, ids::kPlanIcon, STM_SETICON, reinterpret_cast<WPARAM>(planIcon_.get()), 0);
}

void PlanEditor::OnSliderMoved(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == ids::kAmbientAc || id == ids::kAmbientDc) {
    PowerSource source = id == ids::kAmbientAc ? PowerSource::Ac : PowerSource::Dc;
    AmbientRange range{static_cast<int>(SendMessageW(control, kRangeGetThumb, kRangeLower, 0)),
                       static_cast<int>(SendMessageW(control, kRangeGetThumb, kRangeUpper, 0))};
    model_.SetAmbient(source, range);
    SetUpAmbient();
    if (source == PowerSource::Dc) RefreshBattery();
    MarkChanged();
    return;
  }
  for (const RowControls& row : kRows) {
    for (PowerSource source : {PowerSource::Ac, PowerSource::Dc}) {
      SliderId slider{row.row, source};
      if (SliderControl(slider) != id) continue;
      int position = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
      std::vector<SliderId> moved = model_.Move(slider, position);
      for (SliderId changed : moved) SetUpSlider(changed);
      if (!moved.empty()) MarkChanged();
      if (source == PowerSource::Dc && (row.row == EditorRow::Processor || row.row == EditorRow::Brightness)) {
        RefreshBattery();
      }
      return;
    }
  }
}

RunTimeQuery PlanEditor::BatteryQuery() const {
  PlanRecord record = model_.CollectRecord();
  PlanSettings settings = model_.CollectSettings();
  RunTimeQuery query;
  query.batteryPresentFlag = true;
  query.currentPlanKnown = !activePlan_.IsNull();
  query.isCurrentPlan = record.guid == activePlan_;
  query.brightnessAvailable = features_.panelBrightness;
  query.target = PlanConsumption{record.brightnessLevelDc, settings.processorModeDc};
  query.current = query.target;
  if (std::shared_ptr<const PlanRecord> current = services_.plans.currentPlan(); current && !query.isCurrentPlan) {
    query.current.panelLevel = current->brightnessLevelDc;
  }
  return query;
}

std::uint32_t PlanEditor::BatteryEstimate() const {
  if (!services_.settings.Has(SettingsFlag::BatteryPresent)) return 0;
  return services_.battery.RunTimeEstimate(BatteryQuery(), false);
}

void PlanEditor::RefreshBattery() {
  if (!services_.settings.Has(SettingsFlag::BatteryPresent)) return;
  BatteryGroupTexts texts = services_.battery.GroupTexts(BatteryQuery(), false);
  SetDlgItemTextW(dialog_, ids::kBatteryPercent, ToWide(texts.percent).c_str());
  SetDlgItemTextW(dialog_, ids::kBatteryTime, ToWide(texts.state).c_str());
  int pixels = scale_.Width(kIconWidth);
  batteryIcon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(texts.bitmap),
                                                   IMAGE_ICON, pixels, pixels, 0)));
  SendDlgItemMessageW(dialog_, ids::kBatteryIcon, STM_SETICON, reinterpret_cast<WPARAM>(batteryIcon_.get()), 0);
  ResizeIconStatics(dialog_, scale_, std::array<int, 1>{ids::kBatteryIcon}, kIconWidth, kIconHeight);
}

void PlanEditor::RefreshBrightnessCaption() {
  StringTable& strings = services_.machine.strings;
  std::u16string caption = strings.Load(kStringBrightnessGroupCaption);
  if (features_.panelBrightness && !features_.externalMonitors) {
    std::shared_ptr<const PlanRecord> current = services_.plans.currentPlan();
    std::uint32_t level = current ? current->brightnessLevelAc : kNoBrightnessLevel;
    const ValueTable& levels = tables_.brightness();
    if (level == kAutomaticBrightnessLevel) {
      caption = FormatText(strings.Load(kStringBrightnessGroupCurrent), {caption, strings.Load(kStringBrightnessAutomaticLabel)});
    } else if (level < levels.size()) {
      caption = FormatText(strings.Load(kStringBrightnessGroupCurrent), {caption, levels[level].label});
    }
  }
  SetDlgItemTextW(dialog_, ids::kBrightnessGroupAmbient, ToWide(caption).c_str());
  SetDlgItemTextW(dialog_, ids::kBrightnessGroupPlain, ToWide(caption).c_str());
}

void PlanEditor::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  // The value labels: one tool over the whole client area, its text asked for.
  TOOLINFOW area{};
  area.cbSize = sizeof area;
  area.uFlags = TTF_SUBCLASS;
  area.hwnd = dialog_;
  area.uId = 0;
  area.lpszText = LPSTR_TEXTCALLBACKW;
  GetClientRect(dialog_, &area.rect);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&area));
  const bool threeModes = services_.config.ecoModel() == EcoModel::ThreeModes;
  struct Tip {
    int control;
    std::uint32_t text;
  };
  for (const Tip& tip : {Tip{ids::kSaveAs, kStringSaveAsTip}, Tip{ids::kRename, kStringRenameTip},
                         Tip{ids::kDelete, kStringDeletePlanTip},
                         Tip{ids::kReset, threeModes ? kResetTipThreeModes : kStringPlanResetTipTwoModes},
                         Tip{ids::kProcessorEco, kStringProcessorEcoTip}}) {
    HWND control = GetDlgItem(dialog_, tip.control);
    if (control == nullptr) continue;
    std::wstring text = ToWide(services_.machine.strings.Load(tip.text));
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void PlanEditor::UpdateLabelTooltip(POINT cursor) {
  int label = 0;
  HWND child = ChildWindowFromPointEx(dialog_, cursor, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (child != nullptr && child != dialog_) label = GetDlgCtrlID(child);
  if (label == tooltipLabel_) return;
  tooltipLabel_ = label;
  if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_POP, 0, 0);
}

void PlanEditor::OnTooltipText(NMTTDISPINFOW& info) {
  static std::wstring text;
  text.clear();
  if (info.hdr.idFrom == 0) {
    auto found = fullLabels_.find(tooltipLabel_);
    if (found != fullLabels_.end()) text = ToWide(found->second);
  }
  if (!text.empty()) info.lpszText = text.data();
}

void PlanEditor::LoadIcons() {
  int width = scale_.Width(kIconWidth);
  for (const RowControls& row : kRows) {
    for (auto [control, resource] : {std::pair{row.acIcon, ids::kIconMains}, std::pair{row.dcIcon, ids::kIconBattery}}) {
      HWND icon = GetDlgItem(dialog_, control);
      if (icon == nullptr) continue;
      icons_.emplace_back(static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, width, width, 0)));
      SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(icons_.back().get()), 0);
    }
  }
  for (auto [control, resource] : {std::pair{1298, ids::kIconMains}, std::pair{1299, ids::kIconBattery}}) {
    HWND icon = GetDlgItem(dialog_, control);
    if (icon == nullptr) continue;
    icons_.emplace_back(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, width, width, 0)));
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(icons_.back().get()), 0);
  }
}

void PlanEditor::ScaleLayout() { ResizeIconStatics(dialog_, scale_, kScaledIcons, kIconWidth, kIconHeight); }

}  // namespace kestrel
