// Cost of rebuilding the plan list, by number of plans (argument). Every plan
// is a full copy of Balanced with an extension key, and one extra key of a
// vanished plan holds a factory backup, so each build also runs the purge in
// full. Beside the time, the build's work: the calls it makes of the registry
// and power-management ports, per plan. The time also includes the in-memory
// registry the machine runs on; the calls do not, so the calls per plan are
// what shows whether the build grows linearly with the plans.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "bench/counting_ports.h"
#include "power/extension_read.h"
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

// The three Windows plans plus copies of Balanced up to `total`, each with an
// extension key.
void InstallPlans(TestMachine& test, std::uint32_t total) {
  for (std::uint32_t n = 3; n < total; ++n) {
    Guid created;
    Guid chosen = BenchPlanGuid(n);
    test.power.DuplicatePlan(kBalancedPlan, &chosen, created);
  }
  std::uint32_t n = 0;
  Guid plan;
  while (test.power.EnumeratePlans(n, plan) == kSuccess) WriteExtension(test.registry, plan, n++);
  RegKey backup;
  RegKey::Create(test.registry, kHkeyLocalMachine, ExtensionKeyPath(BenchPlanGuid(0)) + u"\\DefaultSettings",
                 kKeyAllAccess, backup);
}

void BM_BuildPlanList(benchmark::State& state) {
  const auto plans = static_cast<std::uint32_t>(state.range(0));
  TestMachine test;
  InstallPlans(test, plans);
  CallCounts counts;
  CountingRegistry registry(test.registry, counts);
  CountingPowerManager power(test.power, counts);
  Machine& machine = test.machine();
  Machine counted{registry,          power,         machine.devices, machine.clock, machine.sync,
                  machine.messaging, machine.boxes, machine.strings, machine.files};
  ErrorReporter reporter(counted);
  CBrightnessCtrl brightness;
  brightness.SetLevels(CBrightnessCtrl::kTableMode, std::vector<std::uint16_t>{0, 10, 20, 40, 70, 100});
  SyncHandle lock = 0;
  bool existed = false;
  test.sync.CreateMutex(kPlanLockName, lock, existed);
  PlanModel model(counted, reporter, brightness, lock);
  const std::vector<Guid> pinned{kBalancedPlan, kPowerSaverPlan, kHighPerformancePlan};

  for (auto _ : state) {
    model.BuildPlanList(pinned);
    benchmark::DoNotOptimize(model.planList()->listed().size());
  }
  if (model.planList()->plans().size() != plans) {
    state.SkipWithError("the machine does not have the planned number of plans");
  }
  const double perPlan = 1.0 / (static_cast<double>(state.iterations()) * plans);
  state.counters["registry_calls_per_plan"] = static_cast<double>(counts.Total("Registry.")) * perPlan;
  state.counters["power_calls_per_plan"] = static_cast<double>(counts.Total("Power.")) * perPlan;
  for (const auto& [operation, calls] : counts.calls()) {
    state.counters[std::string(operation) + "/plan"] = static_cast<double>(calls) * perPlan;
  }
}

BENCHMARK(BM_BuildPlanList)->ArgName("plans")->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
