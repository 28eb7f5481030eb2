#include "ui/model/plan_editor_model.h"

#include <algorithm>

namespace kestrel {
namespace {

constexpr std::size_t kAc = 0;
// The disk sliders start at 3 minutes.
constexpr int kDiskLowest = 2;

// The listed durations of a slider's table (every row but the final "なし").
int LastDuration(const EditorSlider& slider) { return static_cast<int>(slider.table().size()) - 2; }
int NeverPosition(const EditorSlider& slider) { return static_cast<int>(slider.table().size()) - 1; }

}  // namespace

PlanButtonState PlanButtonsFor(const PlanRecord& plan, const PlanStanding& standing) {
  constexpr std::uint32_t kLowPowerMode = 3;
  PlanButtonState buttons;
  buttons.saveAs = !(standing.twoModes && plan.ledNo == kLowPowerMode);
  buttons.rename = (plan.flags & kPlanFlagNoRename) == 0;
  buttons.reset = standing.factoryBackup;
  buttons.remove = !standing.active && !standing.modeBound && !standing.factoryBackup && plan.ledNo == 0 &&
                   standing.choices > 1;
  return buttons;
}

std::uint32_t HibernateTotal(std::uint32_t sleep, std::uint32_t hibernate) {
  return sleep != 0 && hibernate != 0 ? sleep + hibernate : hibernate;
}

std::uint32_t HibernateFromTotal(std::uint32_t sleep, std::uint32_t total) {
  return total > sleep ? total - sleep : total;
}

PlanEditorModel::PlanEditorModel(const EditorTables& tables, EditorFeatures features)
    : tables_(tables), features_(features) {}

void PlanEditorModel::Load(const PlanRecord& record, const PlanSettings& settings) {
  record_ = record;
  settings_ = settings;
  namesChanged_ = false;
  const ValueTable& timeouts = tables_.timeouts();
  const ValueTable& levels = tables_.brightness();
  const std::array<std::uint32_t, 2> sleep{settings.standbyAc, settings.standbyDc};
  const std::array<std::uint32_t, 2> hibernate{settings.hibernateAc, settings.hibernateDc};
  const std::array<std::uint32_t, 2> monitor{settings.monitorAc, settings.monitorDc};
  const std::array<std::uint32_t, 2> disk{settings.diskAc, settings.diskDc};
  const std::array<std::uint32_t, 2> processor{settings.processorModeAc, settings.processorModeDc};
  const std::array<std::uint32_t, 2> dimTimeout{settings.dimTimeoutAc, settings.dimTimeoutDc};
  const std::array<std::uint32_t, 2> dimLevel{settings.dimBrightnessLevelAc, settings.dimBrightnessLevelDc};
  const std::array<std::uint32_t, 2> wireless{settings.wlanAc, settings.wlanDc};
  const std::array<std::uint32_t, 2> video{settings.videoSettingAc, settings.videoSettingDc};
  std::array<std::uint32_t, 2> panel{record.brightnessLevelAc, record.brightnessLevelDc};
  if (features_.externalMonitors) panel[kAc] = record.brightnessMonitor;
  for (std::size_t s = 0; s < 2; ++s) {
    auto& rows = sliders_;
    rows[static_cast<std::size_t>(EditorRow::Monitor)][s] = EditorSlider(timeouts, SliderKind::Timeout, monitor[s]);
    rows[static_cast<std::size_t>(EditorRow::Disk)][s] = EditorSlider(timeouts, SliderKind::Disk, disk[s], kDiskLowest);
    rows[static_cast<std::size_t>(EditorRow::Sleep)][s] = EditorSlider(timeouts, SliderKind::Timeout, sleep[s]);
    rows[static_cast<std::size_t>(EditorRow::Hibernate)][s] =
        EditorSlider(tables_.hibernate(), SliderKind::Hibernate, HibernateTotal(sleep[s], hibernate[s]),
                     sleep[s] != 0 ? 1 : 0);
    rows[static_cast<std::size_t>(EditorRow::Processor)][s] =
        EditorSlider(tables_.processor(), SliderKind::Processor, processor[s]);
    rows[static_cast<std::size_t>(EditorRow::Brightness)][s] = EditorSlider(levels, SliderKind::Choice, panel[s]);
    rows[static_cast<std::size_t>(EditorRow::DimTimeout)][s] =
        EditorSlider(timeouts, SliderKind::Timeout, dimTimeout[s]);
    rows[static_cast<std::size_t>(EditorRow::DimBrightness)][s] = EditorSlider(levels, SliderKind::Choice, dimLevel[s]);
    rows[static_cast<std::size_t>(EditorRow::Wireless)][s] =
        EditorSlider(tables_.wireless(), SliderKind::Choice, wireless[s]);
    rows[static_cast<std::size_t>(EditorRow::Video)][s] = EditorSlider(tables_.video(), SliderKind::Choice, video[s]);
  }
  LoadAmbient(record.alsbc);
  ambientOn_ = features_.ambientLight && record.alsbc.on();
  processorEco_ = record.npdCpu == 1;
  monitorBrightness_ = record.brightnessMonitorEnable != 0;
  baselineRecord_ = CollectRecord();
  baselineSettings_ = CollectSettings();
}

void PlanEditorModel::LoadAmbient(const Alsbc& alsbc) {
  const int highest = highestLevel();
  for (std::size_t s = 0; s < 2; ++s) {
    AmbientRange range{0, highest};
    if (features_.ambientLight) {
      range.upper = std::min<int>(alsbc.bytes[1 + 2 * s], highest);
      range.lower = alsbc.bytes[2 + 2 * s];
    }
    range.upper = std::max(range.upper, 1);
    range.lower = std::clamp(range.lower, 0, range.upper - 1);
    ambient_[s] = range;
  }
}

const EditorSlider& PlanEditorModel::slider(SliderId id) const {
  return sliders_[static_cast<std::size_t>(id.row)][Index(id.source)];
}

std::vector<SliderId> PlanEditorModel::Move(SliderId id, int position) {
  std::vector<SliderId> moved;
  EditorSlider& slider = At(id);
  int before = slider.position();
  slider.MoveTo(position);
  if (slider.position() == before) return moved;
  moved.push_back(id);
  if (id.row == EditorRow::Sleep) CoupleAfterSleep(id.source, moved);
  if (id.row == EditorRow::Hibernate) CoupleAfterHibernate(id.source, moved);
  return moved;
}

// Hibernation after sleep: a hibernate total that is not later than the new
// sleep time-out moves to the first listed duration after it, or to "なし"
// when none is.
void PlanEditorModel::CoupleAfterSleep(PowerSource source, std::vector<SliderId>& moved) {
  const std::uint32_t sleep = At({EditorRow::Sleep, source}).value();
  EditorSlider& hibernate = At({EditorRow::Hibernate, source});
  const int before = hibernate.position();
  hibernate.SetLowest(sleep != 0 ? 1 : 0);
  const std::uint32_t total = hibernate.value();
  if (sleep != 0 && total != 0 && total <= sleep) {
    int target = NeverPosition(hibernate);
    for (int p = hibernate.minimum(); p <= LastDuration(hibernate); ++p) {
      if (hibernate.table()[static_cast<std::size_t>(p)].value > sleep) {
        target = p;
        break;
      }
    }
    hibernate.MoveTo(target);
  }
  if (hibernate.position() != before) moved.push_back({EditorRow::Hibernate, source});
}

// Sleep before hibernation: a sleep time-out that is not earlier than the new
// hibernate total moves to the last listed duration before it, or to "なし"
// when none is.
void PlanEditorModel::CoupleAfterHibernate(PowerSource source, std::vector<SliderId>& moved) {
  const std::uint32_t total = At({EditorRow::Hibernate, source}).value();
  EditorSlider& sleep = At({EditorRow::Sleep, source});
  const std::uint32_t value = sleep.value();
  if (total == 0 || value == 0 || value < total) return;
  const int before = sleep.position();
  int target = NeverPosition(sleep);
  for (int p = LastDuration(sleep); p >= sleep.minimum(); --p) {
    if (sleep.table()[static_cast<std::size_t>(p)].value < total) {
      target = p;
      break;
    }
  }
  sleep.MoveTo(target);
  if (sleep.position() != before) moved.push_back({EditorRow::Sleep, source});
}

void PlanEditorModel::SetAmbient(PowerSource source, AmbientRange range) {
  range.upper = std::clamp(range.upper, 1, std::max(highestLevel(), 1));
  range.lower = std::clamp(range.lower, 0, range.upper - 1);
  ambient_[Index(source)] = range;
}

void PlanEditorModel::SetNames(std::u16string name, std::u16string description, std::uint32_t iconNo) {
  record_.name = std::move(name);
  record_.description = std::move(description);
  record_.iconNo = iconNo;
  namesChanged_ = true;
}

PlanRecord PlanEditorModel::CollectRecord() const {
  PlanRecord record = record_;
  auto value = [this](EditorRow row, PowerSource source) { return slider({row, source}).value(); };
  if (features_.panelBrightness || features_.externalMonitors) {
    if (features_.externalMonitors) {
      record.brightnessMonitor = value(EditorRow::Brightness, PowerSource::Ac);
      record.brightnessMonitorEnable = monitorBrightness_ ? 1 : 0;
    } else {
      record.brightnessLevelAc = value(EditorRow::Brightness, PowerSource::Ac);
    }
    record.brightnessLevelDc = value(EditorRow::Brightness, PowerSource::Dc);
  }
  if (features_.ambientLight) {
    record.alsbc.bytes[0] = ambientOn_ ? 1 : 0;
    for (std::size_t s = 0; s < 2; ++s) {
      record.alsbc.bytes[1 + 2 * s] = static_cast<std::uint8_t>(ambient_[s].upper);
      record.alsbc.bytes[2 + 2 * s] = static_cast<std::uint8_t>(ambient_[s].lower);
    }
  }
  if (features_.deviceSaving) record.npdCpu = processorEco_ ? 1 : 0;
  return record;
}

PlanSettings PlanEditorModel::CollectSettings() const {
  PlanSettings settings = settings_;
  auto value = [this](EditorRow row, PowerSource source) { return slider({row, source}).value(); };
  settings.monitorAc = value(EditorRow::Monitor, PowerSource::Ac);
  settings.monitorDc = value(EditorRow::Monitor, PowerSource::Dc);
  settings.diskAc = value(EditorRow::Disk, PowerSource::Ac);
  settings.diskDc = value(EditorRow::Disk, PowerSource::Dc);
  settings.standbyAc = value(EditorRow::Sleep, PowerSource::Ac);
  settings.standbyDc = value(EditorRow::Sleep, PowerSource::Dc);
  settings.hibernateAc = HibernateFromTotal(settings.standbyAc, value(EditorRow::Hibernate, PowerSource::Ac));
  settings.hibernateDc = HibernateFromTotal(settings.standbyDc, value(EditorRow::Hibernate, PowerSource::Dc));
  settings.processorModeAc = static_cast<ProcessorMode>(value(EditorRow::Processor, PowerSource::Ac));
  settings.processorModeDc = static_cast<ProcessorMode>(value(EditorRow::Processor, PowerSource::Dc));
  if (wirelessShown()) {
    settings.wlanAc = value(EditorRow::Wireless, PowerSource::Ac);
    settings.wlanDc = value(EditorRow::Wireless, PowerSource::Dc);
  }
  if (videoShown()) {
    settings.videoSettingAc = value(EditorRow::Video, PowerSource::Ac);
    settings.videoSettingDc = value(EditorRow::Video, PowerSource::Dc);
  }
  if (features_.dimmingRows) {
    settings.dimTimeoutAc = value(EditorRow::DimTimeout, PowerSource::Ac);
    settings.dimTimeoutDc = value(EditorRow::DimTimeout, PowerSource::Dc);
    if (features_.panelBrightness) {
      settings.dimBrightnessLevelAc = value(EditorRow::DimBrightness, PowerSource::Ac);
      settings.dimBrightnessLevelDc = value(EditorRow::DimBrightness, PowerSource::Dc);
    }
  }
  return settings;
}

bool PlanEditorModel::HasChanges() const {
  return namesChanged_ || CollectRecord() != baselineRecord_ || CollectSettings() != baselineSettings_;
}

void PlanEditorModel::MarkWritten() {
  record_ = CollectRecord();
  settings_ = CollectSettings();
  baselineRecord_ = record_;
  baselineSettings_ = settings_;
  namesChanged_ = false;
}

bool PlanEditorModel::fixedBrightnessEnabled() const {
  if (features_.externalMonitors) return monitorBrightness_;
  return features_.panelBrightness && !ambientOn_;
}

}  // namespace kestrel
