#include "platform/emulated/windows_power_defaults.h"

#include "platform/power.h"

namespace kestrel {
namespace {

constexpr Guid kVideoSubgroup{0x7516b95f, 0xf776, 0x4464, {0x8c, 0x53, 0x06, 0x16, 0x7f, 0x40, 0xcc, 0x99}};
constexpr Guid kDiskSubgroup{0x0012ee47, 0x9041, 0x4b5d, {0x9b, 0x77, 0x53, 0x5f, 0xba, 0x8b, 0x14, 0x42}};
constexpr Guid kSleepSubgroup{0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr Guid kProcessorSubgroup{0x54533251, 0x82be, 0x4824, {0x96, 0xc1, 0x47, 0xb6, 0x0b, 0x74, 0x0d, 0x00}};
constexpr Guid kGraphicsSubgroup{0xf693fb01, 0xe858, 0x4f00, {0xb2, 0x0f, 0xf3, 0x0e, 0x12, 0xac, 0x06, 0xd6}};
constexpr Guid kWirelessSubgroup{0x19cbb8fa, 0x5279, 0x450e, {0x9f, 0xac, 0x8a, 0x3d, 0x5f, 0xed, 0xd0, 0xc1}};

constexpr WindowsPlanDefault kPlans[] = {
    {kBalancedPlan, u"Balanced", u"Automatically balances performance with energy consumption on capable hardware."},
    {kPowerSaverPlan, u"Power saver", u"Saves energy by reducing your computer's performance where possible."},
    {kHighPerformancePlan, u"High performance", u"Favors performance, but may use more energy."},
};

constexpr WindowsSubgroupDefault kSubgroups[] = {
    {kNoSubgroup, u"Settings belonging to no subgroup", u"Settings in this group are not part of any subgroup."},
    {kDiskSubgroup, u"Hard disk", u"Power management settings for the hard disk."},
    {kWirelessSubgroup, u"Wireless Adapter Settings", u"Power settings for the wireless network adapter."},
    {kSleepSubgroup, u"Sleep", u"Controls how your computer enters and resumes from sleep."},
    {kProcessorSubgroup, u"Processor power management", u"Configures processor power management."},
    {kVideoSubgroup, u"Display", u"Controls the power management settings for the display."},
    {kGraphicsSubgroup, u"Graphics power settings", u"Power settings for the graphics adapter."},
};

// Values: {Balanced}, {Power saver}, {High performance}, each {AC, DC}.
// Time-outs in seconds (0 = never), brightness and processor states in percent.
constexpr WindowsSettingDefault kSettings[] = {
    {kNoSubgroup,
     {0x0e796bdb, 0x100d, 0x47d6, {0xa2, 0xd5, 0xf7, 0xd2, 0xda, 0xa5, 0x1f, 0x51}},
     u"Require a password on wakeup",
     u"Specify whether or not a password is required to unlock the system when it resumes.",
     {{{1, 1}, {1, 1}, {1, 1}}}},
    {kDiskSubgroup,
     {0x6738e2c4, 0xe8a5, 0x4a42, {0xb1, 0x6a, 0xe0, 0x40, 0xe7, 0x69, 0x75, 0x6e}},
     u"Turn off hard disk after",
     u"Specify how long your computer is inactive before your hard disk turns off.",
     {{{1200, 600}, {1200, 300}, {1200, 1200}}}},
    {kWirelessSubgroup,
     {0x12bbebe6, 0x58d6, 0x4636, {0x95, 0xbb, 0x32, 0x17, 0xef, 0x86, 0x7c, 0x1a}},
     u"Power Saving Mode",
     u"Specify the power saving mode of the wireless adapter.",
     {{{0, 2}, {2, 3}, {0, 0}}}},
    {kSleepSubgroup,
     {0x29f6c1db, 0x86da, 0x48c5, {0x9f, 0xdb, 0xf2, 0xb6, 0x7b, 0x1f, 0x44, 0xda}},
     u"Sleep after",
     u"Specify how long your computer is inactive before going to sleep.",
     {{{1800, 900}, {900, 600}, {0, 3600}}}},
    {kSleepSubgroup,
     {0x94ac6d29, 0x73ce, 0x41a6, {0x80, 0x9f, 0x63, 0x63, 0xba, 0x21, 0xb4, 0x7e}},
     u"Allow hybrid sleep",
     u"Allows Windows to save a hibernate file and enter sleep at the same time.",
     {{{0, 0}, {0, 0}, {0, 0}}}},
    {kSleepSubgroup,
     {0x9d7815a6, 0x7ee4, 0x497e, {0x88, 0x88, 0x51, 0x5a, 0x05, 0xf0, 0x23, 0x64}},
     u"Hibernate after",
     u"Specify how long your computer is asleep before it hibernates.",
     {{{64800, 64800}, {64800, 64800}, {0, 64800}}}},
    {kProcessorSubgroup,
     {0x893dee8e, 0x2bef, 0x41e0, {0x89, 0xc6, 0xb5, 0x5d, 0x09, 0x29, 0x96, 0x4c}},
     u"Minimum processor state",
     u"Specify the minimum performance state of your processor (in percentage).",
     {{{5, 5}, {5, 5}, {100, 5}}}},
    {kProcessorSubgroup,
     {0xbc5038f7, 0x23e0, 0x4960, {0x96, 0xda, 0x33, 0xab, 0xaf, 0x59, 0x35, 0xec}},
     u"Maximum processor state",
     u"Specify the maximum performance state of your processor (in percentage).",
     {{{100, 100}, {100, 50}, {100, 100}}}},
    {kVideoSubgroup,
     {0x3c0bc021, 0xc8a8, 0x4e07, {0xa9, 0x73, 0x6b, 0x14, 0xcb, 0xcb, 0x2b, 0x7e}},
     u"Turn off display after",
     u"Specify how long your computer is inactive before your display turns off.",
     {{{600, 300}, {300, 120}, {900, 600}}}},
    {kVideoSubgroup,
     {0xaded5e82, 0xb909, 0x4619, {0x99, 0x49, 0xf5, 0xd7, 0x1d, 0xac, 0x0b, 0xcb}},
     u"Display brightness",
     u"Specify the brightness of the display.",
     {{{100, 40}, {50, 25}, {100, 75}}}},
    {kVideoSubgroup,
     {0x17aaa29b, 0x8b43, 0x4b94, {0xaa, 0xfe, 0x35, 0xf6, 0x4d, 0xaa, 0xf1, 0xee}},
     u"Dim display after",
     u"Specify how long your computer is inactive before your display dims.",
     {{{300, 120}, {120, 60}, {600, 300}}}},
    {kVideoSubgroup,
     {0xf1fbfde2, 0xa960, 0x4165, {0x9f, 0x88, 0x50, 0x66, 0x79, 0x11, 0xce, 0x96}},
     u"Dimmed display brightness",
     u"Specify the brightness level of the display when it is dimmed.",
     {{{50, 50}, {30, 30}, {50, 50}}}},
    {kGraphicsSubgroup,
     {0x191f65b5, 0xd45c, 0x4a4f, {0x8a, 0xae, 0x1a, 0xb8, 0xbf, 0xd9, 0x80, 0xe6}},
     u"Graphics power plan",
     u"Specify the power saving level of the graphics adapter.",
     {{{0, 1}, {1, 2}, {0, 0}}}},
};

}  // namespace

std::span<const WindowsPlanDefault> WindowsPlans() { return kPlans; }
std::span<const WindowsSubgroupDefault> WindowsSubgroups() { return kSubgroups; }
std::span<const WindowsSettingDefault> WindowsSettings() { return kSettings; }

}  // namespace kestrel
