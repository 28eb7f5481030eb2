#include "platform/emulated/emulated_network_adapters.h"

#include <string>

namespace kestrel {

Status EmulatedNetworkAdapters::InterfaceTypes(std::vector<std::uint32_t>& types) {
  types.clear();
  RegKey list;
  Status status = RegKey::Open(registry_, kHkeyLocalMachine, kEmulatedAdaptersKey, kKeyRead, list);
  if (status == kErrorFileNotFound) return kSuccess;
  if (status != kSuccess) return status;
  std::u16string name;
  for (std::uint32_t index = 0; registry_.EnumKey(list.get(), index, name) == kSuccess; ++index) {
    RegKey adapter;
    std::uint32_t ifType = 0;
    if (RegKey::Open(registry_, list.get(), name, kKeyRead, adapter) == kSuccess &&
        adapter.ReadDword(u"IfType", ifType) == kSuccess) {
      types.push_back(ifType);
    }
  }
  return kSuccess;
}

Status EmulatedNetworkAdapters::PutAdapter(std::u16string_view name, std::uint32_t ifType) {
  RegKey adapter;
  std::u16string path = std::u16string(kEmulatedAdaptersKey) + u"\\" + std::u16string(name);
  Status status = RegKey::Create(registry_, kHkeyLocalMachine, path, kKeyAllAccess, adapter);
  if (status != kSuccess) return status;
  return adapter.WriteDword(u"IfType", ifType);
}

Status EmulatedNetworkAdapters::RemoveAdapter(std::u16string_view name) {
  RegKey list;
  Status status = RegKey::Open(registry_, kHkeyLocalMachine, kEmulatedAdaptersKey, kKeyAllAccess, list);
  if (status == kErrorFileNotFound) return kSuccess;
  if (status != kSuccess) return status;
  status = registry_.DeleteKey(list.get(), name);
  return status == kErrorFileNotFound ? kSuccess : status;
}

}  // namespace kestrel
