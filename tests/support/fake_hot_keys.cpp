#include "support/fake_hot_keys.h"

namespace kestrel {
namespace {

constexpr Status kErrorHotkeyNotRegistered = 1419;

}  // namespace

Status FakeHotKeys::Register(WindowHandle window, int id, std::uint32_t modifiers, std::uint32_t virtualKey) {
  Status status = kSuccess;
  bool takenHere = false;
  for (const auto& [key, keys] : registered_) {
    if (key != std::pair{window, id} && keys == Registered{modifiers, virtualKey}) takenHere = true;
  }
  if (held_.count({modifiers, virtualKey}) != 0 || takenHere || registered_.count({window, id}) != 0) {
    status = kErrorHotkeyAlreadyRegistered;
  } else {
    registered_[{window, id}] = Registered{modifiers, virtualKey};
  }
  calls_.push_back("register " + std::to_string(window) + " " + std::to_string(id) + " " + std::to_string(modifiers) +
                   " " + std::to_string(virtualKey) + " -> " + std::to_string(status));
  return status;
}

Status FakeHotKeys::Unregister(WindowHandle window, int id) {
  Status status = registered_.erase({window, id}) == 1 ? kSuccess : kErrorHotkeyNotRegistered;
  calls_.push_back("unregister " + std::to_string(window) + " " + std::to_string(id) + " -> " +
                   std::to_string(status));
  return status;
}

std::optional<FakeHotKeys::Registered> FakeHotKeys::Find(WindowHandle window, int id) const {
  auto found = registered_.find({window, id});
  if (found == registered_.end()) return std::nullopt;
  return found->second;
}

}  // namespace kestrel
