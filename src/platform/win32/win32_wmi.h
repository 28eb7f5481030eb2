// WMI port over COM: IWbemLocator, IWbemServices::ExecQuery and ExecMethod.
// The calling thread must have initialised COM.
#pragma once
#include "platform/wmi.h"

namespace kestrel {

class Win32Wmi : public Wmi {
 public:
  Status Connect(std::u16string_view ns, WmiSession& session) override;
  Status Release(WmiSession session) override;
  Status Query(WmiSession session, std::u16string_view className, std::span<const std::u16string_view> properties,
               std::vector<WmiObject>& objects) override;
  Status CallMethod(WmiSession session, std::u16string_view className, std::u16string_view objectPath,
                    std::u16string_view method, const std::vector<WmiProperty>& inputs,
                    std::vector<WmiProperty>& outputs) override;
};

}  // namespace kestrel
