// The settings load's wireless probe over the emulated machine's adapter
// list, with the adapter put in and taken out by the control tool.
#include <gtest/gtest.h>

#include "programs/emuctl/commands/control_tool.h"
#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

class WirelessProbe : public ProgramRig {
 protected:
  bool WirelessLan() { return program.app().settings().record().Has(SettingsFlag::WirelessLan); }
  void LoadSettings() { program.app().settings().Load(Rect{0, 0, 1024, 738}, 2); }

  ControlTool tool{machine, &test.power, &test.devices, &test.state};
};

TEST_F(WirelessProbe, TheCapabilityFollowsTheMachinesWirelessAdapter) {
  EXPECT_EQ(RunControlCommand(tool, {u"wireless"}).out, "wireless adapter: absent\n");
  test.networkAdapters.PutAdapter(u"Ethernet", 6);
  ASSERT_EQ(program.Start(u"Kestrel.exe"), StartOutcome::Running);
  EXPECT_FALSE(WirelessLan()) << "a wired adapter is not wireless";

  ControlResult on = RunControlCommand(tool, {u"wireless", u"on"});
  EXPECT_EQ(on.exitCode, kExitSuccess);
  EXPECT_EQ(on.out, "wireless adapter: present\n");
  LoadSettings();
  EXPECT_TRUE(WirelessLan());

  EXPECT_EQ(RunControlCommand(tool, {u"wireless", u"off"}).out, "wireless adapter: absent\n");
  LoadSettings();
  EXPECT_FALSE(WirelessLan());
  EXPECT_EQ(RunControlCommand(tool, {u"wireless", u"maybe"}).exitCode, kExitBadInput);
}

}  // namespace
}  // namespace kestrel::testing
