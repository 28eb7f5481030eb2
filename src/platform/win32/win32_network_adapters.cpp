#include "platform/win32/win32_network_adapters.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

namespace kestrel {
namespace {

constexpr ULONG kFirstBufferBytes = 15 * 1024;  // enough for most machines in one call
constexpr int kAttempts = 3;                     // the list may grow between the calls
constexpr ULONG kFlags = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                         GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_FRIENDLY_NAME;

}  // namespace

Status Win32NetworkAdapters::InterfaceTypes(std::vector<std::uint32_t>& types) {
  types.clear();
  ULONG size = kFirstBufferBytes;
  std::vector<unsigned char> buffer;
  ULONG result = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < kAttempts && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.assign(size, 0);
    result = GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr,
                                  reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  // A machine without adapters answers "no data": an empty list.
  if (result == ERROR_NO_DATA) return kSuccess;
  if (result != ERROR_SUCCESS) return result;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
       adapter = adapter->Next) {
    types.push_back(adapter->IfType);
  }
  return kSuccess;
}

}  // namespace kestrel
