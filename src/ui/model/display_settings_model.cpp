#include "ui/model/display_settings_model.h"

#include <algorithm>

namespace kestrel {

std::uint32_t ColorSchemeOf(std::uint32_t colorIndex) {
  return std::min(colorIndex % kAnalogColorBase, kColorSchemeCount - 1);
}

std::uint32_t ColorSchemeForLayout(PanelLayout layout, const SettingsRecord& record, std::uint32_t saveColor) {
  bool analog = layout == PanelLayout::Analog;
  if (analog == (record.layout == PanelLayout::Analog)) return ColorSchemeOf(record.colorIndex);
  return ColorSchemeOf(analog ? saveColor >> 16 : saveColor & 0xFFFF);
}

DisplayChoice ChoiceOfRecord(const SettingsRecord& record) {
  DisplayChoice choice;
  choice.layout = LayoutFromFlags(record.flags);
  choice.colorScheme = ColorSchemeOf(record.colorIndex);
  choice.stayOnTop = record.Has(SettingsFlag::StayOnTop);
  choice.transparent = record.Has(SettingsFlag::PanelTransparent);
  choice.noTaskbarButton = record.Has(SettingsFlag::NoTaskbarButton);
  return choice;
}

void ApplyChoice(SettingsRecord& record, const DisplayChoice& choice) {
  record.Set(SettingsFlag::PanelAnalog, choice.layout == PanelLayout::Analog);
  record.Set(SettingsFlag::PanelCompact, choice.layout == PanelLayout::Compact);
  record.Set(SettingsFlag::StayOnTop, choice.stayOnTop);
  record.Set(SettingsFlag::PanelTransparent, choice.transparent);
  record.Set(SettingsFlag::NoTaskbarButton, choice.noTaskbarButton);
  SelectLayout(record);
  // No scheme chosen keeps the user's colour.
  std::uint32_t scheme =
      choice.colorScheme < kColorSchemeCount ? choice.colorScheme : ColorSchemeOf(record.colorIndex);
  record.colorIndex = scheme + (choice.layout == PanelLayout::Analog ? kAnalogColorBase : 0);
}

DisplaySettingsSession::DisplaySettingsSession(DisplayState state, PanelDisplay& panel, std::function<void()> save)
    : state_(state), panel_(panel), save_(std::move(save)) {
  snapshot_.record = state.record;
  snapshot_.saveColor = state.saveColor;
  snapshot_.colors = state.colors;
}

void DisplaySettingsSession::Preview(const DisplayChoice& choice) {
  ApplyChoice(state_.record, choice);
  panel_.ApplyDisplay();
}

void DisplaySettingsSession::Ok(const DisplayChoice& choice) {
  Preview(choice);
  if (save_) save_();
}

void DisplaySettingsSession::Cancel() {
  state_.record = snapshot_.record;
  state_.saveColor = snapshot_.saveColor;
  state_.colors = snapshot_.colors;
  panel_.ApplyDisplay();
  panel_.MoveToRecord();
  if (save_) save_();
}

}  // namespace kestrel
