#include "platform/emulated/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/emulated/registry_node.h"

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

}  // namespace

using Node = RegistryNode;

struct InMemoryRegistry::State {
  struct OpenKeyRecord {
    NodeRef node;
    std::uint32_t access = 0;
  };
  struct Resolved {
    Status status = kSuccess;
    Node* node = nullptr;
    std::uint32_t access = 0;
    bool isRoot = false;
  };

  mutable std::mutex mutex;
  NodeRef machineRoot{new Node(u"", nullptr)};
  NodeRef userRoot{new Node(u"", nullptr)};
  NodeRef usersRoot{new Node(u"", nullptr)};
  std::map<KeyHandle, OpenKeyRecord> handles;
  KeyHandle nextHandle = kFirstHandle;
  std::vector<std::string> callerSids;

  State() {
    machineRoot->access = std::make_shared<const std::vector<AccessEntry>>(MachineRootAccess());
    userRoot->access = std::make_shared<const std::vector<AccessEntry>>(UserRootAccess());
    usersRoot->access = machineRoot->access;
    // The hives a machine always has (nothing else can be created at the roots).
    for (std::u16string_view hive : {u"HARDWARE", u"SOFTWARE", u"SYSTEM"}) AddChild(machineRoot.get(), hive);
    AddChild(usersRoot.get(), u".DEFAULT");
    AddChild(userRoot.get(), u"Software");
  }

  Node* Root(KeyHandle handle) const {
    if (handle == kHkeyLocalMachine) return machineRoot.get();
    if (handle == kHkeyCurrentUser) return userRoot.get();
    if (handle == kHkeyUsers) return usersRoot.get();
    return nullptr;
  }

  Resolved Resolve(KeyHandle handle) const {
    if (Node* root = Root(handle)) return {kSuccess, root, kKeyAllAccess, true};
    auto found = handles.find(handle);
    if (found == handles.end()) return {kErrorInvalidHandle};
    if (found->second.node->deleted) return {kErrorKeyDeleted};
    return {kSuccess, found->second.node.get(), found->second.access};
  }

  // Resolves a handle that must grant `right`.
  Resolved ResolveFor(KeyHandle handle, std::uint32_t right) const {
    Resolved resolved = Resolve(handle);
    if (resolved.status == kSuccess && (resolved.access & right) != right) resolved.status = kErrorAccessDenied;
    return resolved;
  }

  bool Permits(const Node& node, std::uint32_t wanted) const {
    return callerSids.empty() || AccessGranted(*node.access, callerSids, wanted);
  }

  std::uint32_t GrantedAccess(std::uint32_t requested) const {
    std::uint32_t access = MapGenericRights(requested & ~kWow64ViewBits);
    return (access & kMaximumAllowed) != 0 ? kKeyAllAccess : access;
  }

  KeyHandle AddHandle(Node* node, std::uint32_t access) {
    KeyHandle handle = nextHandle;
    nextHandle += 4;
    handles[handle] = OpenKeyRecord{NodeRef(node), GrantedAccess(access)};
    return handle;
  }

  // The access list a new key below `parent` receives. A list that passes
  // down unchanged, as lists do below the first level, is shared, not copied.
  static std::shared_ptr<const std::vector<AccessEntry>> ListForChildren(Node& parent) {
    if (!parent.inheritedByChildren) {
      std::vector<AccessEntry> inherited = InheritedAccess(*parent.access);
      parent.inheritedByChildren = inherited == *parent.access
                                       ? parent.access
                                       : std::make_shared<const std::vector<AccessEntry>>(std::move(inherited));
    }
    return parent.inheritedByChildren;
  }

  Node* AddChild(Node* parent, std::u16string_view name) {
    auto* child = new Node(name, parent);
    child->access = ListForChildren(*parent);
    parent->subkeys.Insert(child);
    parent->subkeyOrder.reset();
    return child;
  }

  Node* Walk(Node* from, const std::vector<std::u16string_view>& names) const {
    Node* node = from;
    for (std::u16string_view name : names) {
      node = node->Child(name);
      if (node == nullptr) return nullptr;
    }
    return node;
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
  Node* node = state_->Walk(from.node, names);
  if (node == nullptr) return kErrorFileNotFound;
  if (!state_->Permits(*node, access & ~kWow64ViewBits)) return kErrorAccessDenied;
  out = state_->AddHandle(node, access);
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

  Node* node = from.node;
  std::size_t depth = 0;
  for (; depth < names.size(); ++depth) {
    Node* child = node->Child(names[depth]);
    if (child == nullptr) break;
    node = child;
  }
  bool mustCreate = depth < names.size();
  if (mustCreate) {
    // Hives hang off HKLM and HKU; nothing else may be created there.
    if (node == state_->machineRoot.get() || node == state_->usersRoot.get()) return kErrorAccessDenied;
    bool permitted = node == from.node && !from.isRoot ? (from.access & kKeyCreateSubKey) != 0
                                                       : state_->Permits(*node, kKeyCreateSubKey);
    if (!permitted) return kErrorAccessDenied;
    for (; depth < names.size(); ++depth) node = state_->AddChild(node, names[depth]);
  } else if (!state_->Permits(*node, access & ~kWow64ViewBits)) {
    return kErrorAccessDenied;
  }
  if (created != nullptr) *created = mustCreate;
  out = state_->AddHandle(node, access);
  return kSuccess;
}

Status InMemoryRegistry::CloseKey(KeyHandle key) {
  std::lock_guard lock(state_->mutex);
  if (state_->Root(key) != nullptr) return kSuccess;
  return state_->handles.erase(key) == 1 ? kSuccess : kErrorInvalidHandle;
}

Status InMemoryRegistry::QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                                    std::uint32_t& size) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyQueryValue);
  if (resolved.status != kSuccess) return resolved.status;
  std::optional<ValueBlock::Value> value = resolved.node->values.Find(name);
  if (!value) return kErrorFileNotFound;
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
  resolved.node->values.Set(name, type, std::span(data, size));
  return kSuccess;
}

Status InMemoryRegistry::DeleteValue(KeyHandle key, std::u16string_view name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeySetValue);
  if (resolved.status != kSuccess) return resolved.status;
  if (!resolved.node->values.Erase(name)) return kErrorFileNotFound;
  return kSuccess;
}

Status InMemoryRegistry::EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyEnumerateSubKeys);
  if (resolved.status != kSuccess) return resolved.status;
  Node& node = *resolved.node;
  if (index >= node.subkeys.size()) return kErrorNoMoreItems;
  name = node.SubkeysInOrder()[index];
  return kSuccess;
}

Status InMemoryRegistry::EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kKeyQueryValue);
  if (resolved.status != kSuccess) return resolved.status;
  std::optional<ValueBlock::Value> value = resolved.node->values.At(index);
  if (!value) return kErrorNoMoreItems;
  name = value->name;
  return kSuccess;
}

Status InMemoryRegistry::DeleteKey(KeyHandle parent, std::u16string_view subKey) {
  std::lock_guard lock(state_->mutex);
  State::Resolved from = state_->Resolve(parent);
  if (from.status != kSuccess) return from.status;
  std::vector<std::u16string_view> names;
  if (Status status = SplitPath(subKey, names); status != kSuccess) return status;
  Node* node = state_->Walk(from.node, names);
  if (node == nullptr) return kErrorFileNotFound;
  if (node->parent == nullptr || !node->subkeys.empty()) return kErrorAccessDenied;
  if (!state_->Permits(*node, kDeleteAccess)) return kErrorAccessDenied;
  node->deleted = true;
  Node* owner = std::exchange(node->parent, nullptr);
  owner->subkeys.Erase(node);  // open handles keep the node alive; otherwise it is gone
  owner->subkeyOrder.reset();
  return kSuccess;
}

Status InMemoryRegistry::GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kReadControl);
  if (resolved.status != kSuccess) return resolved.status;
  entries = *resolved.node->access;
  return kSuccess;
}

Status InMemoryRegistry::SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) {
  std::lock_guard lock(state_->mutex);
  State::Resolved resolved = state_->ResolveFor(key, kWriteDac);
  if (resolved.status != kSuccess) return resolved.status;
  resolved.node->access = std::make_shared<const std::vector<AccessEntry>>(entries);
  resolved.node->inheritedByChildren.reset();
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
