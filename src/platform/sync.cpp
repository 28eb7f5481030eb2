#include "platform/sync.h"

#include "platform/owned_handle.h"

namespace kestrel {

bool NamedMutexExists(Sync& sync, std::u16string_view name) {
  OwnedSync mutex;
  Status status = OpenOwnedMutex(sync, name, mutex);
  return status != kErrorFileNotFound && status != kErrorPathNotFound;
}

}  // namespace kestrel
