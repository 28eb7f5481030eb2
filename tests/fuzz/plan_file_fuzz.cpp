// Fuzz target: a plan-definition file of any bytes (UTF-16 with either mark,
// UTF-8 with or without one, garbage), imported through the program's own
// profile reader into the emulated power management. Whatever the file holds,
// the import ends, the machine's plans still enumerate with names, the active
// plan is one of them, and at most COUNT plans were added.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "installer/plan_import.h"
#include "platform/emulated/ini_profile.h"
#include "platform/emulated/power_store.h"
#include "platform/text.h"
#include "support/fake_messaging.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"

using namespace kestrel;

namespace {

constexpr std::u16string_view kFile = u"C:\\Vexa\\Kestrel.exe.ini";

std::vector<Guid> Plans(PowerManager& power) {
  std::vector<Guid> plans;
  Guid plan;
  for (std::uint32_t i = 0; power.EnumeratePlans(i, plan) == kSuccess; ++i) {
    plans.push_back(plan);
    if (plans.size() > 3 + kMaxPlansInFile) std::abort();
  }
  return plans;
}

// A small machine: the Balanced plan (active, named) and the display time-out
// setting, made directly in the registry, since installing the full Windows
// plans for every input would cost more than the import itself.
void InstallSmallMachine(Registry& registry, EmulatedPowerManager& power) {
  constexpr std::u16string_view kSetting =
      u"7516b95f-f776-4464-8c53-06167f40cc99\\3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e";
  RegKey key;
  std::u16string balanced(ToString(kBalancedPlan));
  if (RegKey::Create(registry, kHkeyLocalMachine, std::u16string(kPowerSettingsKey) + u"\\" + std::u16string(kSetting),
                     kKeyAllAccess, key) != kSuccess ||
      RegKey::Create(registry, kHkeyLocalMachine, std::u16string(kPowerSchemesKey) + u"\\" + balanced, kKeyAllAccess,
                     key) != kSuccess ||
      RegKey::Create(registry, kHkeyLocalMachine, kPowerSchemesKey, kKeyAllAccess, key) != kSuccess ||
      key.WriteString(u"ActivePowerScheme", balanced) != kSuccess) {
    std::abort();
  }
  std::vector<std::uint8_t> name = Utf16ToBytes(u"Balanced", true);
  const Guid subgroup{0x7516b95f, 0xf776, 0x4464, {0x8c, 0x53, 0x06, 0x16, 0x7f, 0x40, 0xcc, 0x99}};
  const Guid setting{0x3c0bc021, 0xc8a8, 0x4e07, {0xa9, 0x73, 0x6b, 0x14, 0xcb, 0xcb, 0x2b, 0x7e}};
  if (power.WriteFriendlyName(kBalancedPlan, nullptr, nullptr, name.data(), static_cast<std::uint32_t>(name.size())) !=
          kSuccess ||
      power.WriteAcValueIndex(kBalancedPlan, subgroup, setting, 600) != kSuccess ||
      power.WriteDcValueIndex(kBalancedPlan, subgroup, setting, 300) != kSuccess ||
      power.EnsureInstalled() != kSuccess) {
    std::abort();
  }
}

bool Named(PowerManager& power, const Guid& plan) {
  std::uint8_t buffer[1024];
  std::uint32_t size = sizeof buffer;
  return power.ReadFriendlyName(plan, nullptr, nullptr, buffer, size) == kSuccess;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InMemoryRegistry registry;
  FakeMessaging messaging;
  EmulatedPowerManager power(registry, messaging);
  InstallSmallMachine(registry, power);
  InMemoryFileSystem files;
  IniProfile profile(files);
  std::size_t before = Plans(power).size();
  files.PutFile(kFile, std::vector<std::uint8_t>(data, data + size));

  ImportPlanFile(profile, power, kFile);

  std::vector<Guid> plans = Plans(power);
  std::uint32_t count = profile.ReadInt(kFile, u"PLANS_INFO", u"COUNT", 0);
  std::size_t limit = static_cast<std::int32_t>(count) <= 0 ? 0 : std::min<std::uint32_t>(count, kMaxPlansInFile);
  bool replaced = profile.ReadInt(kFile, u"PLANS_INFO", u"REPLACE", 0) != 0;
  if (!replaced && plans.size() > before + limit) std::abort();
  for (const Guid& plan : plans) {
    if (plan.IsNull() || !Named(power, plan)) std::abort();
  }
  Guid active;
  if (power.GetActivePlan(active) != kSuccess) std::abort();
  if (std::find(plans.begin(), plans.end(), active) == plans.end()) std::abort();
  return 0;
}
