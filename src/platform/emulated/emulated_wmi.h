// WMI of the emulated machine: the panel's brightness classes in ROOT\WMI
// (WmiMonitorBrightness, WmiMonitorBrightnessMethods.WmiSetBrightness) over
// the panel state of panel.h, and Win32_Processor's clock in ROOT\CIMV2 from
// the emulated processor. Its switches and log are under
// HKLM\Software\KestrelEmulator\Devices\WMI:
//   Present  DWORD, default 1; 0 makes the brightness classes fail, as on a
//            machine whose display driver offers no WMI brightness
//   Failure  DWORD, the HRESULT they fail with (default 0x8004100C)
//   Log      one line per call:
//              connect <namespace> -> <hresult>
//              query <class> <property,...> -> <hresult> <instances>
//              method <class>.<method> <path> <name>=<value> ... -> <hresult>
// Sessions live in the process that connected them.
#pragma once
#include <map>
#include <mutex>

#include "platform/registry.h"
#include "platform/wmi.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedWmiName = u"WMI";
// The panel's instance name, as a display driver names its monitor.
inline constexpr std::u16string_view kEmulatedPanelInstanceName = u"DISPLAY\\VXA3A01\\4&1c2e9f7a&0&UID265988_0";

// Whether the brightness classes answer, and the HRESULT they fail with when not.
struct WmiAvailability {
  bool present = true;
  Status failure = kWbemNotSupported;
};

WmiAvailability ReadWmiAvailability(Registry& registry);
Status WriteWmiAvailability(Registry& registry, const WmiAvailability& availability);

class EmulatedWmi : public Wmi {
 public:
  explicit EmulatedWmi(Registry& registry) : registry_(registry) {}

  Status Connect(std::u16string_view ns, WmiSession& session) override;
  Status Release(WmiSession session) override;
  Status Query(WmiSession session, std::u16string_view className, std::span<const std::u16string_view> properties,
               std::vector<WmiObject>& objects) override;
  Status CallMethod(WmiSession session, std::u16string_view className, std::u16string_view objectPath,
                    std::u16string_view method, const std::vector<WmiProperty>& inputs,
                    std::vector<WmiProperty>& outputs) override;

  std::size_t OpenSessionCount() const;

 private:
  enum class Namespace { Wmi, Cim };

  Status SessionNamespace(WmiSession session, Namespace& ns) const;
  Status QueryInstance(Namespace ns, std::u16string_view className, WmiObject& all);
  Status SetBrightness(std::u16string_view objectPath, const std::vector<WmiProperty>& inputs);
  void Log(const std::u16string& line);

  Registry& registry_;
  mutable std::mutex mutex_;
  std::map<WmiSession, Namespace> sessions_;
  WmiSession nextSession_ = 0x5000;
};

}  // namespace kestrel
