// Cost of rebuilding the plan list over the emulated machine, by number of
// plans (first argument). Every plan has an extension key, and one extra key of
// a vanished plan holds a factory backup, so each build also runs the purge in
// full. Second argument: 0 = every plan is a full copy of Balanced, 1 = plans
// carry only the display-brightness setting, the one setting the build reads.
// The two differ only in how much memory the emulated registry spreads the
// plans over, which shows how much of the growth is the caches' and not the
// build's: the work per plan is the same.
// Third argument: 0 = builds back to back, so a small machine's registry stays
// in the processor's caches between builds while a large one's cannot; 1 = the
// caches are flushed before each build (untimed), as when Kestrel starts or
// rebuilds after a plan change: every size then pays the same per plan.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/application.h"
#include "platform/emulated/registry_tree.h"
#include "power/extension_read.h"
#include "power/plan_ids.h"
#include "power/plan_model.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

Guid BenchPlanGuid(std::uint32_t n) { return Guid{n, 0xbe7c, 0x4a11, {0x80, 0, 0, 0, 0, 0, 0, 0x01}}; }

void WriteExtension(Registry& registry, const Guid& plan, std::uint32_t n) {
  RegKey key;
  RegKey::Create(registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyAllAccess, key);
  key.WriteDword(u"IconNo", n % 12);
  key.WriteDword(u"Flags", n % 10 == 0 ? 1 : 0);
  key.WriteDword(u"LedNo", n % 4);
  const std::uint8_t alsbc[5] = {0, 7, 0, 7, 0};
  key.WriteBinary(u"ALSBC", alsbc, 5);
}

// Keeps only the display-brightness setting of a plan: the one setting the
// list build reads.
void StripToBrightness(TestMachine& test, const Guid& plan) {
  RegKey key;
  RegKey::Open(test.registry, kHkeyLocalMachine, std::u16string(kPowerSchemesKey) + u"\\" + ToString(plan),
               kKeyAllAccess, key);
  std::vector<std::u16string> subgroups;
  ListSubkeys(test.registry, key.get(), subgroups);
  for (const std::u16string& subgroup : subgroups) {
    if (subgroup != ToString(kVideoSubgroup)) {
      DeleteKeyTree(test.registry, key.get(), subgroup);
      continue;
    }
    RegKey video;
    RegKey::Open(test.registry, key.get(), subgroup, kKeyAllAccess, video);
    std::vector<std::u16string> settings;
    ListSubkeys(test.registry, video.get(), settings);
    for (const std::u16string& setting : settings) {
      if (setting != ToString(kVideoBrightnessSetting)) DeleteKeyTree(test.registry, video.get(), setting);
    }
  }
}

// The three Windows plans plus plans up to `total`, with names and extension keys.
void InstallPlans(TestMachine& test, std::uint32_t total, bool lean) {
  Guid source = kBalancedPlan;
  Guid templatePlan = BenchPlanGuid(0xFFFFFF);
  if (lean) {
    Guid created;
    test.power.DuplicatePlan(kBalancedPlan, &templatePlan, created);
    StripToBrightness(test, templatePlan);
    source = templatePlan;
  }
  for (std::uint32_t n = 3; n < total; ++n) {
    Guid created;
    Guid chosen = BenchPlanGuid(n);
    test.power.DuplicatePlan(source, &chosen, created);
  }
  if (lean) test.power.DeletePlan(templatePlan);
  std::uint32_t n = 0;
  Guid plan;
  while (test.power.EnumeratePlans(n, plan) == kSuccess) WriteExtension(test.registry, plan, n++);
  RegKey backup;
  RegKey::Create(test.registry, kHkeyLocalMachine, ExtensionKeyPath(BenchPlanGuid(0)) + u"\\DefaultSettings",
                 kKeyAllAccess, backup);
}

// Walks a buffer larger than the processor's last-level cache, so the next
// build finds none of the registry cached.
void FlushCaches() {
  static std::vector<std::uint8_t> sweep(std::size_t{96} << 20);
  for (std::size_t i = 0; i < sweep.size(); i += 64) sweep[i] = static_cast<std::uint8_t>(sweep[i] + 1);
  benchmark::ClobberMemory();
}

void BM_BuildPlanList(benchmark::State& state) {
  TestMachine test;
  InstallPlans(test, static_cast<std::uint32_t>(state.range(0)), state.range(1) != 0);
  ErrorReporter reporter(test.machine());
  CBrightnessCtrl brightness;
  const std::vector<std::uint16_t> levels{0, 10, 20, 40, 70, 100};
  brightness.SetLevels(CBrightnessCtrl::kTableMode, levels);
  SyncHandle lock = 0;
  bool existed = false;
  test.sync.CreateMutex(kPlanLockName, lock, existed);
  PlanModel model(test.machine(), reporter, brightness, lock);
  const std::vector<Guid> pinned{kBalancedPlan, kPowerSaverPlan, kHighPerformancePlan};

  const bool cold = state.range(2) != 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      FlushCaches();
      state.ResumeTiming();
    }
    model.BuildPlanList(pinned);
    benchmark::DoNotOptimize(model.planList()->listed().size());
  }
  if (model.planList()->plans().size() != static_cast<std::size_t>(state.range(0))) {
    state.SkipWithError("the machine does not have the planned number of plans");
  }
}

BENCHMARK(BM_BuildPlanList)
    ->ArgNames({"plans", "lean", "cold"})
    ->ArgsProduct({{20, 200, 2000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
