// Device arrivals and removals on the emulated machine. Windows delivers them
// as WM_DEVICECHANGE with a pointer to a broadcast header, which no other
// process can post; the control tool posts the registered message
// "KestrelEmulatedDeviceChange" to Kestrel instead: wParam = the event
// (DBT_DEVICEARRIVAL 0x8000, DBT_DEVICEREMOVECOMPLETE 0x8004), lParam = the
// data1 field of the device interface class GUID.
#pragma once
#include <string_view>

namespace kestrel {

inline constexpr std::u16string_view kEmulatedDeviceChangeMessage = u"KestrelEmulatedDeviceChange";

}  // namespace kestrel
