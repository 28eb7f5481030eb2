#include "support/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kWow64ViewBits = 0x0300;
constexpr std::size_t kMaxKeyNameUnits = 255;
constexpr KeyHandle kFirstHandle = 0x100;

std::uint32_t MapGenericRights(std::uint32_t mask) {
  std::uint32_t mapped = mask & ~(kGenericAll | kGenericRead | kGenericWrite | 0x20000000u);
  if (mask & kGenericAll) mapped |= kKeyAllAccess;
  if (mask & (kGenericRead | 0x20000000u)) mapped |= kKeyRead;
  if (mask & kGenericWrite) mapped |= kKeyWrite;
  return mapped;
}

bool HasSid(const std::vector<std::string>& sids, const std::string& sid) {
  return std::find(sids.begin(), sids.end(), sid) != sids.end();
}

// Walks the list in order, as the platform's access check does: a deny entry
// that covers a still-wanted right refuses, allow entries grant until every
// wanted right is granted. Inherit-only entries do not apply to the key itself.
bool AccessGranted(const std::vector<AccessEntry>& acl, const std::vector<std::string>& sids, std::uint32_t wanted) {
  std::uint32_t remaining = MapGenericRights(wanted) & ~kMaximumAllowed;
  if (remaining == 0) return true;
  for (const AccessEntry& entry : acl) {
    if ((entry.inheritFlags & kInheritOnlyAce) != 0 || !HasSid(sids, entry.trustee)) continue;
    std::uint32_t mask = MapGenericRights(entry.mask);
    if (entry.kind == AccessEntry::Kind::Deny) {
      if ((mask & remaining) != 0) return false;
    } else {
      remaining &= ~mask;
      if (remaining == 0) return true;
    }
  }
  return false;
}

// The entries a new key receives from its parent's list.
std::vector<AccessEntry> InheritedAccess(const std::vector<AccessEntry>& parent) {
  std::vector<AccessEntry> inherited;
  for (const AccessEntry& entry : parent) {
    AccessEntry child = entry;
    if ((entry.inheritFlags & kContainerInheritAce) != 0) {
      child.inheritFlags = (entry.inheritFlags & kNoPropagateInheritAce) != 0
                               ? kInheritedAce
                               : static_cast<std::uint8_t>((entry.inheritFlags & ~kInheritOnlyAce) | kInheritedAce);
    } else if ((entry.inheritFlags & kObjectInheritAce) != 0 && (entry.inheritFlags & kNoPropagateInheritAce) == 0) {
      // Object-only entries pass through keys without applying to them.
      child.inheritFlags = entry.inheritFlags | kInheritOnlyAce | kInheritedAce;
    } else {
      continue;
    }
    inherited.push_back(std::move(child));
  }
  return inherited;
}

AccessEntry Allow(std::string_view sid, std::uint32_t mask) {
  return AccessEntry{AccessEntry::Kind::Allow, kContainerInheritAce, mask, std::string(sid)};
}

std::vector<AccessEntry> MachineRootAccess() {
  return {Allow(kBuiltinUsersSid, kKeyRead), Allow(kAdministratorsSid, kKeyAllAccess),
          Allow(kLocalSystemSid, kKeyAllAccess)};
}

std::vector<AccessEntry> UserRootAccess() {
  return {Allow(kEmulatedUserSid, kKeyAllAccess), Allow(kAdministratorsSid, kKeyAllAccess),
          Allow(kLocalSystemSid, kKeyAllAccess), Allow(kRestrictedSid, kKeyRead)};
}

// Splits "a\b\c" into its names. A leading backslash is the platform's
// ERROR_BAD_PATHNAME; empty names between backslashes are skipped.
Status SplitPath(std::u16string_view path, std::vector<std::u16string_view>& names) {
  names.clear();
  if (!path.empty() && path.front() == u'\\') return kErrorBadPathname;
  while (!path.empty()) {
    std::size_t end = path.find(u'\\');
    std::u16string_view name = path.substr(0, end);
    if (name.size() > kMaxKeyNameUnits) return kErrorInvalidParameter;
    if (!name.empty()) names.push_back(name);
    if (end == std::u16string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return kSuccess;
}

// Orders names as the platform compares and lists them: by their upper-case units.
struct FoldedLess {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
  }
};

struct Value {
  std::u16string name;
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
};

struct Key {
  std::u16string name;
  Key* parent = nullptr;  // null for the roots and once deleted
  bool deleted = false;
  std::map<std::u16string, std::shared_ptr<Key>, FoldedLess> subkeys;
  std::vector<Value> values;  // in creation order, as the platform lists them
  std::vector<AccessEntry> access;

  Value* FindValue(std::u16string_view valueName) {
    auto found = std::find_if(values.begin(), values.end(),
                              [valueName](const Value& value) { return EqualsFolded(value.name, valueName); });
    return found == values.end() ? nullptr : &*found;
  }
};

using KeyRef = std::shared_ptr<Key>;

}  // namespace

struct InMemoryRegistry::State {
  // A handle shares ownership of its key, so a deleted key's open handles
  // still answer (kErrorKeyDeleted), as on the platform.
  struct OpenKeyRecord {
    KeyRef key{};
    std::uint32_t access = 0;
  };
  struct Resolved {
    Status status = kSuccess;
    KeyRef key{};
    std::uint32_t access = 0;
    bool isRoot = false;
  };

  mutable std::mutex mutex;
  KeyRef machineRoot = std::make_shared<Key>();
  KeyRef userRoot = std::make_shared<Key>();
  KeyRef usersRoot = std::make_shared<Key>();
  std::map<KeyHandle, OpenKeyRecord> handles;
  KeyHandle nextHandle = kFirstHandle;
  std::vector<std::string> callerSids;

  State() {
    machineRoot->access = MachineRootAccess();
    userRoot->access = UserRootAccess();
    usersRoot->access = MachineRootAccess();
    // The hives a machine always has (nothing else can be created at the roots).
    for (std::u16string_view hive : {u"HARDWARE", u"SOFTWARE", u"SYSTEM"}) AddChild(*machineRoot, hive);
    AddChild(*usersRoot, u".DEFAULT");
    AddChild(*userRoot, u"Software");
  }

  KeyRef Root(KeyHandle handle) const {
    if (handle == kHkeyLocalMachine) return machineRoot;
    if (handle == kHkeyCurrentUser) return userRoot;
    if (handle == kHkeyUsers) return usersRoot;
    return nullptr;
  }

  Resolved Resolve(KeyHandle handle) const {
    if (KeyRef root = Root(handle)) return {kSuccess, root, kKeyAllAccess, true};
    auto found = handles.find(handle);
    if (found == handles.end()) return {kErrorInvalidHandle};
    if (found->second.key->deleted) return {kErrorKeyDeleted};
    return {kSuccess, found->second.key, found->second.access};
  }

  // Resolves a handle that must grant `right`.
  Resolved ResolveFor(KeyHandle handle, std::uint32_t right) const {
    Resolved resolved = Resolve(handle);
    if (resolved.status == kSuccess && (resolved.access & right) != right) resolved.status = kErrorAccessDenied;
    return resolved;
  }

  bool Permits(const Key& key, std::uint32_t wanted) const {
    return callerSids.empty() || AccessGranted(key.access, callerSids, wanted);
  }

  std::uint32_t GrantedAccess(std::uint32_t requested) const {
    std::uint32_t access = MapGenericRights(requested & ~kWow64ViewBits);
    return (access & kMaximumAllowed) != 0 ? kKeyAllAccess : access;
  }

  KeyHandle AddHandle(KeyRef key, std::uint32_t access) {
    KeyHandle handle = nextHandle;
    nextHandle += 4;
    handles[handle] = OpenKeyRecord{std::move(key), GrantedAccess(access)};
    return handle;
  }

  static KeyRef AddChild(Key& parent, std::u16string_view name) {
    auto child = std::make_shared<Key>();
    child->name = std::u16string(name);
    child->parent = &parent;
    child->access = InheritedAccess(parent.access);
    parent.subkeys.emplace(child->name, child);
    return child;
  }

  static KeyRef Child(const Key& parent, std::u16string_view name) {
    auto found = parent.subkeys.find(name);
    return found == parent.subkeys.end() ? nullptr : found->second;
  }

  static KeyRef Walk(KeyRef key, const std::vector<std::u16string_view>& names) {
    for (std::u16string_view name : names) {
      key = Child(*key, name);
      if (!key) return nullptr;
    }
    return key;
  }
};

InMemoryRegistry::InMemoryRegistry() : state_(std::make_unique<State>()) {}
InMemoryRegistry::~InMemoryRegistry() = default;

Status InMemoryRegistry::OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) {
  std::lock_guard lock(state_->mutex);
  out = 0;
  State::Resolved from = state_->Resolve(parent);
  if (from.status != kSuccess) return from.status;
  std::vector<std::u16string_view> names;
  if (Status status = SplitPath(subKey, names); status != kSuccess) return status;
  KeyRef key = State::Walk(from.key, names);
  if (!key) return kErrorFileNotFound;
  if (!state_->Permits(*key, access & ~kWow64ViewBits)) return kErrorAccessDenied;
  out = state_->AddHandle(std::move(key), access);
  return kSuccess;
}

Status InMemoryRegistry::CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                                   bool* created) {
  std::lock_guard lock(state_->mutex);
  out = 0;
  if (created != nullptr) *created = false;
  State::Resolved from = state_->Resolve(parent);
  if (from.status != kSuccess) return from.status;
  std::vector<std::u16string_view> names;
  if (Status status = SplitPath(subKey, names); status != kSuccess) return status;

  KeyRef key = from.key;
  std::size_t depth = 0;
  for (; depth < names.size(); ++depth) {
    KeyRef child = State::Child(*key, names[depth]);
    if (!child) break;
    key = std::move(child);
  }
  bool mustCreate = depth < names.size();
  if (mustCreate) {
    // Hives hang off HKLM and HKU; nothing else may be created there.
    if (key == state_->machineRoot || key == state_->usersRoot) return kErrorAccessDenied;
    bool permitted = key == from.key && !from.isRoot ? (from.access & kKeyCreateSubKey) != 0
                                                     : state_->Permits(*key, kKeyCreateSubKey);
    if (!permitted) return kErrorAccessDenied;
    for (; depth < names.size(); ++depth) key = State::AddChild(*key, names[depth]);
  } else if (!state_->Permits(*key, access & ~kWow64ViewBits)) {
    return kErrorAccessDenied;
  }
  if (created != nullptr) *created = mustCreate;
  out = state_->AddHandle(std::move(key), access);
  return kSuccess;
}

Status InMemoryRegistry::CloseKey(KeyHandle key) {
  std::lock_guard lock(state_->mutex);
  if (state_->Root(key)) return kSuccess;
  return state_->handles.erase(key) == 1 ? kSuccess : kErrorInvalidHandle;
}

Status InMemoryRegistry::QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                                    std::uint32_t& size) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyQueryValue);
  if (resolved.status != kSuccess) return resolved.status;
  const Value* value = resolved.key->FindValue(name);
  if (value == nullptr) return kErrorFileNotFound;
  if (type != nullptr) *type = value->type;
  std::uint32_t needed = static_cast<std::uint32_t>(value->data.size());
  if (data == nullptr) {
    size = needed;
    return kSuccess;
  }
  if (size < needed) {
    size = needed;
    return kErrorMoreData;
  }
  if (needed != 0) std::memcpy(data, value->data.data(), needed);
  size = needed;
  return kSuccess;
}

Status InMemoryRegistry::SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                                  std::uint32_t size) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeySetValue);
  if (resolved.status != kSuccess) return resolved.status;
  if (data == nullptr && size != 0) return kErrorInvalidParameter;
  std::vector<std::uint8_t> bytes(data, data + size);
  // A rewrite keeps the stored name's case and the value's place; a new value goes last.
  if (Value* value = resolved.key->FindValue(name)) {
    value->type = type;
    value->data = std::move(bytes);
  } else {
    resolved.key->values.push_back(Value{std::u16string(name), type, std::move(bytes)});
  }
  return kSuccess;
}

Status InMemoryRegistry::DeleteValue(KeyHandle key, std::u16string_view name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeySetValue);
  if (resolved.status != kSuccess) return resolved.status;
  std::vector<Value>& values = resolved.key->values;
  const Value* value = resolved.key->FindValue(name);
  if (value == nullptr) return kErrorFileNotFound;
  values.erase(values.begin() + (value - values.data()));
  return kSuccess;
}

Status InMemoryRegistry::Flush(KeyHandle key) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->Resolve(key);
  if (resolved.status == kSuccess) ++flushes_;
  return resolved.status;
}

Status InMemoryRegistry::EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyEnumerateSubKeys);
  if (resolved.status != kSuccess) return resolved.status;
  const auto& subkeys = resolved.key->subkeys;
  if (index >= subkeys.size()) return kErrorNoMoreItems;
  name = std::next(subkeys.begin(), index)->first;
  return kSuccess;
}

Status InMemoryRegistry::EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyQueryValue);
  if (resolved.status != kSuccess) return resolved.status;
  const std::vector<Value>& values = resolved.key->values;
  if (index >= values.size()) return kErrorNoMoreItems;
  name = values[index].name;
  return kSuccess;
}

Status InMemoryRegistry::DeleteKey(KeyHandle parent, std::u16string_view subKey) {
  std::lock_guard lock(state_->mutex);
  State::Resolved from = state_->Resolve(parent);
  if (from.status != kSuccess) return from.status;
  std::vector<std::u16string_view> names;
  if (Status status = SplitPath(subKey, names); status != kSuccess) return status;
  KeyRef key = State::Walk(from.key, names);
  if (!key) return kErrorFileNotFound;
  if (key->parent == nullptr || !key->subkeys.empty()) return kErrorAccessDenied;
  if (!state_->Permits(*key, kDeleteAccess)) return kErrorAccessDenied;
  key->deleted = true;
  std::exchange(key->parent, nullptr)->subkeys.erase(key->name);
  return kSuccess;
}

Status InMemoryRegistry::GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kReadControl);
  if (resolved.status != kSuccess) return resolved.status;
  entries = resolved.key->access;
  return kSuccess;
}

Status InMemoryRegistry::SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kWriteDac);
  if (resolved.status != kSuccess) return resolved.status;
  resolved.key->access = entries;
  return kSuccess;
}

std::size_t InMemoryRegistry::OpenHandleCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->handles.size();
}

void InMemoryRegistry::SetCallerSids(std::vector<std::string> sids) {
  std::lock_guard lock(state_->mutex);
  state_->callerSids = std::move(sids);
}

}  // namespace kestrel
