// What the display settings dialog edits: the panel's layout, colour scheme
// and window options in the settings record, with a snapshot taken when the
// dialog opens so that Cancel puts the record, SaveColor, the colour values
// and the panel back exactly as they were, however often Preview ran.
#pragma once
#include <cstdint>
#include <functional>

#include "base/settings_record.h"
#include "ui/model/panel_colors.h"

namespace kestrel {

// Colour schemes of each layout family (radio buttons 1013-1016).
inline constexpr std::uint32_t kColorSchemeCount = 4;
// The analog layout's colour indexes follow the others'.
inline constexpr std::uint32_t kAnalogColorBase = 4;

struct DisplayChoice {
  PanelLayout layout = PanelLayout::Aqua;
  std::uint32_t colorScheme = 0;  // kColorSchemeCount or more: none chosen
  bool stayOnTop = false;
  bool transparent = false;
  bool noTaskbarButton = false;
  friend bool operator==(const DisplayChoice&, const DisplayChoice&) = default;
};

// The scheme (0-3) a colour index stands for.
std::uint32_t ColorSchemeOf(std::uint32_t colorIndex);
// The scheme a layout family last used: the record's own for the record's
// family, else the one SaveColor keeps for the other family.
std::uint32_t ColorSchemeForLayout(PanelLayout layout, const SettingsRecord& record, std::uint32_t saveColor);

DisplayChoice ChoiceOfRecord(const SettingsRecord& record);
// Sets the display flags, the layout, the panel size and the colour index.
void ApplyChoice(SettingsRecord& record, const DisplayChoice& choice);

// What the dialog asks of the live panel.
class PanelDisplay {
 public:
  virtual ~PanelDisplay() = default;
  // The panel takes the record's layout, colour, z-order and transparency
  // and repaints.
  virtual void ApplyDisplay() = 0;
  // The panel goes to the record's position with the record's size.
  virtual void MoveToRecord() = 0;
};

struct DisplayState {
  SettingsRecord& record;
  std::uint32_t& saveColor;
  PanelColors& colors;
};

class DisplaySettingsSession {
 public:
  // Takes the snapshot. `save` writes the record, SaveColor and the colours.
  DisplaySettingsSession(DisplayState state, PanelDisplay& panel, std::function<void()> save);

  DisplayChoice initial() const { return ChoiceOfRecord(snapshot_.record); }
  void Preview(const DisplayChoice& choice);
  void Ok(const DisplayChoice& choice);
  void Cancel();

 private:
  struct Snapshot {
    SettingsRecord record;
    std::uint32_t saveColor = 0;
    PanelColors colors;
  };

  DisplayState state_;
  PanelDisplay& panel_;
  std::function<void()> save_;
  Snapshot snapshot_;
};

}  // namespace kestrel
