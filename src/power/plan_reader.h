// Reading one plan into a PlanRecord: Windows' name, description and display
// brightness of the plan, then Kestrel's extension values.
#pragma once
#include "base/error_reporter.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "power/brightness_ctrl.h"
#include "power/plan_record.h"

namespace kestrel {

class PlanReader {
 public:
  PlanReader(PowerManager& power, Registry& registry, ErrorReporter& reporter, const CBrightnessCtrl& brightness)
      : power_(power), registry_(registry), reporter_(reporter), brightness_(brightness) {}

  // Fills the record whose guid the caller set. A plan whose description
  // cannot be read is dropped: its guid becomes GUID_NULL (and the failure is
  // logged unless the plan does not exist). GUID_NULL is left alone.
  void Read(PlanRecord& record);

  // Read, with a fallback when it drops the plan: name and description read
  // again straight into the record and, when both succeed, Kestrel's values
  // set to their defaults while every other field keeps its old value.
  void Load(PlanRecord& record);

 private:
  Status ReadName(const Guid& plan, std::u16string& name);
  Status ReadDescription(const Guid& plan, std::u16string& description);
  void ReadBrightnessLevels(PlanRecord& record);
  void LoadFallback(PlanRecord& record);
  void ReportReadFailure(Status status);

  PowerManager& power_;
  Registry& registry_;
  ErrorReporter& reporter_;
  const CBrightnessCtrl& brightness_;
};

}  // namespace kestrel
