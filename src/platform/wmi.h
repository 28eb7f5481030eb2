// WMI port: what the program asks of WMI through COM. A session is
// IWbemLocator::ConnectServer to one namespace with the proxy security set
// (CoSetProxyBlanket), kept until Release. Queries read named properties of
// every instance of a class (IWbemServices::ExecQuery of
// "SELECT <properties> FROM <class>"); methods are IWbemServices::ExecMethod on
// an object path. Results are the COM HRESULTs as unsigned values
// (0 = success; WBEM_E_* codes such as 0x8004100C "not supported",
// 0x80041010 "invalid class").
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/status.h"

namespace kestrel {

using WmiSession = std::uintptr_t;

// A property's value as the program reads it: nothing (VT_NULL), a number
// (every integer type and booleans), a text (VT_BSTR) or an array of numbers
// (an array of bytes or integers, each widened to 32 bits).
using WmiValue = std::variant<std::monostate, std::uint32_t, std::u16string, std::vector<std::uint32_t>>;

struct WmiProperty {
  std::u16string name;
  WmiValue value;
};

// One instance: the requested properties, in the order they were asked for.
struct WmiObject {
  std::vector<WmiProperty> properties;

  const WmiValue* Find(std::u16string_view name) const {
    for (const WmiProperty& property : properties) {
      if (property.name == name) return &property.value;
    }
    return nullptr;
  }
};

// Namespaces, classes, properties and methods the program uses.
inline constexpr std::u16string_view kWmiNamespace = u"ROOT\\WMI";
inline constexpr std::u16string_view kWmiMonitorBrightness = u"WmiMonitorBrightness";
inline constexpr std::u16string_view kWmiLevel = u"Level";                          // uint8[]
inline constexpr std::u16string_view kWmiLevels = u"Levels";                        // uint32
inline constexpr std::u16string_view kWmiCurrentBrightness = u"CurrentBrightness";  // uint8
inline constexpr std::u16string_view kWmiInstanceName = u"InstanceName";            // string
inline constexpr std::u16string_view kWmiMonitorBrightnessMethods = u"WmiMonitorBrightnessMethods";
inline constexpr std::u16string_view kWmiSetBrightness = u"WmiSetBrightness";  // in: Brightness uint8, Timeout uint32
inline constexpr std::u16string_view kWmiBrightness = u"Brightness";
inline constexpr std::u16string_view kWmiTimeout = u"Timeout";
inline constexpr std::u16string_view kWmiReturnValue = u"ReturnValue";

// The processor's clock, measured where the processor name carries none.
inline constexpr std::u16string_view kCimNamespace = u"ROOT\\CIMV2";
inline constexpr std::u16string_view kWin32Processor = u"Win32_Processor";
inline constexpr std::u16string_view kCurrentClockSpeed = u"CurrentClockSpeed";  // uint32, MHz
inline constexpr std::u16string_view kMaxClockSpeed = u"MaxClockSpeed";          // uint32, MHz

// HRESULTs the program and the emulated machine use by name.
inline constexpr Status kWbemNotFound = 0x80041002;
inline constexpr Status kWbemInvalidParameter = 0x80041008;
inline constexpr Status kWbemNotSupported = 0x8004100C;
inline constexpr Status kWbemInvalidNamespace = 0x8004100E;
inline constexpr Status kWbemInvalidClass = 0x80041010;
inline constexpr Status kWbemInvalidQuery = 0x80041017;
inline constexpr Status kWbemInvalidMethod = 0x80041055;

class Wmi {
 public:
  virtual ~Wmi() = default;

  // CoCreateInstance(CLSID_WbemLocator), ConnectServer(ns), CoSetProxyBlanket
  // (RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE). COM must already be
  // initialised on the calling thread.
  virtual Status Connect(std::u16string_view ns, WmiSession& session) = 0;
  // Releases the services and locator of a session.
  virtual Status Release(WmiSession session) = 0;

  // ExecQuery "SELECT <properties> FROM <className>" (forward-only), then the
  // named properties of every instance the enumeration returns. A class with
  // no instance gives success and no objects.
  virtual Status Query(WmiSession session, std::u16string_view className,
                       std::span<const std::u16string_view> properties, std::vector<WmiObject>& objects) = 0;

  // ExecMethod of `method` (of class `className`) on `objectPath`, with the
  // method's input parameters set from `inputs` (converted to each
  // parameter's own type). `outputs` receives every output parameter that
  // has a value (ReturnValue among them).
  virtual Status CallMethod(WmiSession session, std::u16string_view className, std::u16string_view objectPath,
                            std::u16string_view method, const std::vector<WmiProperty>& inputs,
                            std::vector<WmiProperty>& outputs) = 0;
};

}  // namespace kestrel
