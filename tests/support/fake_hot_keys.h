// Hot keys for tests: one registry of combinations per process, as Windows
// keeps it. A combination can be marked as held by another program, which
// refuses it with kErrorHotkeyAlreadyRegistered; every call is recorded.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/hot_keys.h"

namespace kestrel {

class FakeHotKeys : public HotKeys {
 public:
  struct Registered {
    std::uint32_t modifiers = 0;
    std::uint32_t virtualKey = 0;
    friend bool operator==(const Registered&, const Registered&) = default;
  };

  Status Register(WindowHandle window, int id, std::uint32_t modifiers, std::uint32_t virtualKey) override;
  Status Unregister(WindowHandle window, int id) override;

  // Another program holds this combination.
  void HoldElsewhere(std::uint32_t modifiers, std::uint32_t virtualKey) { held_.insert({modifiers, virtualKey}); }

  // The combination registered as `id` of `window`, if any.
  std::optional<Registered> Find(WindowHandle window, int id) const;
  std::size_t count() const { return registered_.size(); }
  // "register <window> <id> <mods> <vk> -> <status>", "unregister <window> <id> -> <status>".
  const std::vector<std::string>& calls() const { return calls_; }

 private:
  std::map<std::pair<WindowHandle, int>, Registered> registered_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> held_;
  std::vector<std::string> calls_;
};

}  // namespace kestrel
