#include "installer/plan_import.h"

#include <vector>

#include "installer/plan_file_fields.h"
#include "platform/format.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kPlansInfoSection = u"PLANS_INFO";

// PowerWriteFriendlyName / PowerWriteDescription take the text with its terminator.
template <typename Writer>
void WritePlanText(const std::u16string& text, Writer write) {
  if (text.empty()) return;
  std::vector<std::uint8_t> bytes = Utf16ToBytes(text, true);
  write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace

void ImportPlanFile(Profile& profile, PowerManager& power, std::u16string_view path) {
  PlanFileReader file(profile, path);
  std::uint32_t count = file.Count(kPlansInfoSection, u"COUNT", kMaxPlansInFile);
  for (std::uint32_t n = 0; n < count; ++n) ImportPlan(profile, power, path, n);
  if (file.Integer(kPlansInfoSection, u"REPLACE", 0) != 0) power.ReplaceDefaultPlans();
}

bool ImportPlan(Profile& profile, PowerManager& power, std::u16string_view path, std::uint32_t planNumber) {
  PlanFileReader file(profile, path);
  std::u16string section = FormatText(u"PLAN_%d", {planNumber});
  std::optional<Guid> plan = file.GuidField(section, u"GUID");
  if (!plan) return false;
  std::optional<Guid> base = file.GuidField(section, u"BASE_GUID");
  if (!base) return false;

  Guid created;
  Status status = power.DuplicatePlan(*base, &*plan, created);
  if (status != kSuccess && status != kErrorAlreadyExists) return false;

  WritePlanText(file.Text(section, u"NAME", kPlanTextUnits), [&](const std::uint8_t* bytes, std::uint32_t size) {
    power.WriteFriendlyName(*plan, nullptr, nullptr, bytes, size);
  });
  WritePlanText(file.Text(section, u"DESC", kPlanTextUnits), [&](const std::uint8_t* bytes, std::uint32_t size) {
    power.WriteDescription(*plan, nullptr, nullptr, bytes, size);
  });

  std::uint32_t references = file.Count(section, u"SETTING", kMaxSettingsPerPlan);
  for (std::uint32_t k = 0; k < references; ++k) ImportSetting(profile, power, path, section, *plan, k);
  return true;
}

bool ImportSetting(Profile& profile, PowerManager& power, std::u16string_view path, std::u16string_view planSection,
                   const Guid& plan, std::uint32_t referenceNumber) {
  PlanFileReader file(profile, path);
  std::u16string valueSection = file.Text(planSection, FormatText(u"SETTING_%d", {referenceNumber}), kSectionNameUnits);
  if (valueSection.empty()) return false;
  std::u16string definitionSection = file.Text(valueSection, u"SETTING", kSectionNameUnits);
  if (definitionSection.empty()) return false;

  // A definition that does not read leaves its GUID all zero; the writes below
  // then fail, and that is ignored like any failed write.
  Guid subgroup = file.GuidField(definitionSection, u"SUBGROUP_GUID").value_or(kNullGuid);
  Guid setting = file.GuidField(definitionSection, u"SETTING_GUID").value_or(kNullGuid);

  if (!file.Text(valueSection, u"ACINDEX", kSectionNameUnits).empty()) {
    power.WriteAcValueIndex(plan, subgroup, setting, file.Integer(valueSection, u"ACINDEX", 0));
  }
  if (!file.Text(valueSection, u"DCINDEX", kSectionNameUnits).empty()) {
    power.WriteDcValueIndex(plan, subgroup, setting, file.Integer(valueSection, u"DCINDEX", 0));
  }
  return true;
}

}  // namespace kestrel
