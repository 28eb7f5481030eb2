// The two-mode model's shipped export files (resources/factory/twomode):
// each holds the factory plan that the two-mode plan-definition file makes,
// and a re-import from it brings the deleted plan back with every value.
// KESTREL_UPDATE_FACTORY_FILES=1 writes the files from the plans instead.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "installer/plan_import.h"
#include "platform/emulated/ini_profile.h"
#include "power/factory_backup.h"
#include "unit/power/plan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr std::u16string_view kPlanFile = u"C:\\Vexa\\Kestrel.exe.ini";

// The mode columns of the two-mode model: the ECO plan, then the normal plan.
struct ShippedExport {
  const char* file;
  Guid plan;
};
const ShippedExport kExports[] = {
    {"ECOMode.pow", GuidLiteral("f08db22f-d293-456a-b170-fab23d90fbac")},
    {"StdMode.pow", GuidLiteral("f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c")},
};

std::string TwoModeFolder() {
  return std::string(KESTREL_SOURCE_DIR) + "/resources/factory/twomode/";
}

std::vector<std::uint8_t> ReadShipped(const std::string& name) {
  std::ifstream in(TwoModeFolder() + name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FactoryFilesTest : public PlanFixture {
 protected:
  FactoryFilesTest() {
    test.files.PutFile(kPlanFile, ReadShipped("Kestrel.exe.ini"));
    IniProfile profile{test.files};
    ImportPlanFile(profile, test.power, kPlanFile);
  }
};

TEST_F(FactoryFilesTest, ShippedExportFilesBringTheDeletedFactoryPlansBack) {
  const bool update = std::getenv("KESTREL_UPDATE_FACTORY_FILES") != nullptr;
  FactoryBackupOptions options;
  options.catalogue = CatalogueOptions{50, true, true};
  FactoryBackups backups(FactoryBackupParts{test.registry, test.power, reporter, model.reader(), brightness,
                                            model.lock()},
                         options);
  PlanSettingsAccess access(test.power, reporter, brightness, options.catalogue);
  for (std::size_t column = 0; column < std::size(kExports); ++column) {
    const ShippedExport& shipped = kExports[column];
    SCOPED_TRACE(shipped.file);
    std::string exported;
    ASSERT_EQ(test.power.ExportPlan(shipped.plan, exported), kSuccess);
    if (update) std::ofstream(TwoModeFolder() + shipped.file, std::ios::binary) << exported;
    std::vector<std::uint8_t> file = ReadShipped(shipped.file);
    EXPECT_EQ(std::string(file.begin(), file.end()), exported) << "the file is not the plan the factory makes";

    PlanRecord original;
    original.guid = shipped.plan;
    model.reader().Load(original);
    PlanSettings settings;
    ASSERT_TRUE(access.ReadPlanSettings(shipped.plan, settings));
    ASSERT_EQ(test.power.DeletePlan(shipped.plan), kSuccess);
    test.files.PutFile(ModeExportFile(column), file);
    ASSERT_TRUE(backups.ReimportModePlan(column, shipped.plan));
    PlanRecord back;
    back.guid = shipped.plan;
    model.reader().Load(back);
    EXPECT_EQ(back.name, original.name);
    EXPECT_EQ(back.description, original.description);
    PlanSettings backSettings;
    ASSERT_TRUE(access.ReadPlanSettings(shipped.plan, backSettings));
    EXPECT_EQ(backSettings, settings);
  }
}

}  // namespace
}  // namespace kestrel::testing
