// Window handles and messages as plain integers, so the core can post and
// receive messages without <windows.h>.
#pragma once
#include <cstdint>

namespace kestrel {

using WindowHandle = std::uintptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Window messages of the platform that the program sends or handles.
inline constexpr std::uint32_t kWmCreate = 0x0001;
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQueryEndSession = 0x0011;
inline constexpr std::uint32_t kWmEndSession = 0x0016;
inline constexpr std::uint32_t kWmDrawItem = 0x002B;
inline constexpr std::uint32_t kWmMeasureItem = 0x002C;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr std::uint32_t kWmDeviceChange = 0x0219;
inline constexpr std::uint32_t kWmWtsSessionChange = 0x02B1;
inline constexpr std::uint32_t kWmHotKey = 0x0312;
inline constexpr std::uint32_t kWmUser = 0x0400;

// Events carried in wParam: power broadcasts (PBT_*), session changes (WTS_*)
// and device changes (DBT_*).
inline constexpr WParam kPbtResumeCritical = 0x0006;
// The resume reported when the user woke the machine; it follows the automatic
// resume, which the program does not handle on its own.
inline constexpr WParam kPbtResumeSuspend = 0x0007;
inline constexpr WParam kPbtPowerStatusChange = 0x000A;
inline constexpr WParam kPbtPowerSettingChange = 0x8013;
inline constexpr WParam kWtsConsoleConnect = 1;
inline constexpr WParam kWtsConsoleDisconnect = 2;
inline constexpr WParam kWtsSessionLock = 7;
inline constexpr WParam kWtsSessionUnlock = 8;
inline constexpr WParam kDbtDeviceArrival = 0x8000;
inline constexpr WParam kScMinimize = 0xF020;
inline constexpr WParam kScClose = 0xF060;
inline constexpr WParam kDbtDeviceRemoveComplete = 0x8004;

}  // namespace kestrel
