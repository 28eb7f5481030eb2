// The eco-level library: where its path comes from, the order of its calls
// over the program's life, the query record it is handed on each kind of
// machine, and its absence.
#include <gtest/gtest.h>

#include <map>

#include "base/registry_paths.h"
#include "ui/model/eco_level_library.h"
#include "unit/ui/tray_rig.h"

namespace kestrel::testing {
namespace {

std::uint32_t At(const std::vector<std::uint8_t>& record, std::size_t offset) {
  return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 | static_cast<std::uint32_t>(record[offset + 3]) << 24;
}

class EcoLevel : public TrayRig {
 protected:
  EcoLevel() { loader.loadable = true; }
  EcoLevelLibrary& library = program.ecoLevel();
};

TEST_F(EcoLevel, LoadedWithTheSettingsAndFinalisedOnce) {
  MachineKey().WriteString(u"GreenmarkDll", u"C:\\Vexa\\Greenmark.dll");
  StartProgram(0);
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"load C:\\Vexa\\Greenmark.dll", "EcoApiInitializeApp"}));
  library.Finalize();  // the end of the Windows session
  Send(0x0002);        // WM_DESTROY
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"load C:\\Vexa\\Greenmark.dll", "EcoApiInitializeApp",
                                                    "EcoApiFinalizeApp", "unload"}));
  EXPECT_FALSE(library.loaded());
}

TEST_F(EcoLevel, MissingLibraryOrExportsAnswerNoRating) {
  // No GreenmarkDll value: the default name; the library is not there.
  loader.loadable = false;
  library.Load();
  EXPECT_EQ(loader.calls, std::vector<std::string>{"load Greenmark.dll"});
  EXPECT_EQ(library.Query({}, PlanRecord{}, {}), 0xF002u);
  EXPECT_EQ(loader.calls.size(), 1u) << "nothing is called without the library";
  library.Finalize();
  EXPECT_EQ(loader.calls.size(), 1u);

  // Loaded without any of the exports.
  loader.loadable = true;
  loader.exports.clear();
  loader.calls.clear();
  library.Load();
  EXPECT_EQ(library.Query({}, PlanRecord{}, {}), 0xF002u);
  library.Finalize();
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"load Greenmark.dll", "unload"}));

  // An empty path disables the library; the path is read once per process.
  EcoLevelLibrary disabled(loader, test.registry, app.reporter());
  MachineKey().WriteString(u"GreenmarkDll", u"");
  loader.calls.clear();
  disabled.Load();
  MachineKey().WriteString(u"GreenmarkDll", u"C:\\Greenmark.dll");
  disabled.Load();
  EXPECT_TRUE(loader.calls.empty());
}

TEST_F(EcoLevel, QueryRecordCarriesThePlanForEachKindOfMachine) {
  library.Load();
  EcoLevelSettings settings;
  settings.monitorAc = 600;
  settings.monitorDc = 300;
  settings.diskAc = 1200;
  settings.hibernateDc = 3600;
  settings.maxProcessorAc = 100;
  settings.minProcessorAc = 5;
  settings.maxProcessorDc = 50;
  settings.minProcessorDc = 5;
  PlanRecord plan;
  plan.brightnessLevelAc = 7;
  plan.brightnessLevelDc = 4;
  plan.brightnessMonitor = 80;
  plan.brightnessMonitorEnable = 1;
  plan.alsbc.bytes = {1, 7, 2, 5, 1};

  EcoLevelMachine laptop{false, true, true};
  EXPECT_EQ(library.Query(settings, plan, laptop), 0x0304u);
  const std::vector<std::uint8_t>& record = loader.lastRecord;
  ASSERT_EQ(record.size(), 72u);
  EXPECT_EQ(At(record, 0), 1u);
  EXPECT_EQ(At(record, 8), 300u);
  EXPECT_EQ(At(record, 12), 1200u);
  EXPECT_EQ(At(record, 32), 3600u);
  EXPECT_EQ(At(record, 44), 50u);
  EXPECT_EQ(At(record, 56), 7u);
  EXPECT_EQ(At(record, 60), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + 64, record.begin() + 69),
            (std::vector<std::uint8_t>{1, 7, 2, 5, 1}));
  EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + 69, record.end()), std::vector<std::uint8_t>(3, 0));

  // Without the panel helper library the brightness range stays out.
  library.Query(settings, plan, EcoLevelMachine{false, true, false});
  EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + 64, record.end()), std::vector<std::uint8_t>(8, 0));

  library.Query(settings, plan, EcoLevelMachine{false, false, true});
  EXPECT_EQ(At(record, 0), 2u);
  EXPECT_EQ(At(record, 56), 7u);
  EXPECT_EQ(At(record, 60), 0u);
  EXPECT_EQ(record[64], 0u);

  library.Query(settings, plan, EcoLevelMachine{true, true, true});
  EXPECT_EQ(At(record, 0), 3u);
  EXPECT_EQ(At(record, 52), 1u);
  EXPECT_EQ(At(record, 56), 80u);
  EXPECT_EQ(At(record, 60), 0u);
}

}  // namespace
}  // namespace kestrel::testing
