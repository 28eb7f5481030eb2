// The in-memory registry's keys. A machine with thousands of power plans has
// keys with thousands of subkeys and tens of thousands of keys in all, and a
// plan read touches a handful of them that are not in the processor's caches,
// so a key is laid out for that: what a lookup reads (name hash, subkey table,
// value block, a name of up to 36 units, which covers every GUID) comes first,
// in 128 bytes; subkeys sit in an open hash table of (hash, key) pairs; all
// values of a key are packed in one block; names are compared only once their
// hashes agree.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/emulated/value_block.h"
#include "platform/registry.h"

namespace kestrel {

// Hash of a name as the platform compares it (case-folded).
std::uint64_t FoldedNameHash(std::u16string_view name);

// A key's name as created. Names of up to 36 units (every GUID) are kept in
// the key itself, so comparing one reads no other block.
class KeyName {
 public:
  explicit KeyName(std::u16string_view name);
  KeyName(const KeyName&) = delete;
  KeyName& operator=(const KeyName&) = delete;
  ~KeyName();
  std::u16string_view view() const;

 private:
  static constexpr std::size_t kInlineUnits = 36;
  bool OnHeap() const { return size_ > kInlineUnits; }

  std::uint32_t size_;
  union {
    char16_t inline_[kInlineUnits];
    char16_t* heap_;
  };
};

struct RegistryNode;

// Drops one reference; the last one frees the key.
void ReleaseNode(RegistryNode* node);

// A counted reference to a key. A key lives while its parent lists it or an
// open handle refers to it, as a deleted key's handles keep it on the platform.
// Every use happens under the registry's lock, so the count is a plain integer.
class NodeRef {
 public:
  NodeRef() = default;
  explicit NodeRef(RegistryNode* node);
  NodeRef(const NodeRef& other) : NodeRef(other.node_) {}
  NodeRef(NodeRef&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
  NodeRef& operator=(NodeRef other) noexcept {
    std::swap(node_, other.node_);
    return *this;
  }
  ~NodeRef();

  RegistryNode* get() const { return node_; }
  RegistryNode* operator->() const { return node_; }

 private:
  RegistryNode* node_ = nullptr;
};

// Subkeys by folded name: open addressing with linear probing over 16-byte
// slots, each the name's hash beside the key, so a miss costs no name compare.
class SubkeyTable {
 public:
  SubkeyTable() = default;
  SubkeyTable(const SubkeyTable&) = delete;
  SubkeyTable& operator=(const SubkeyTable&) = delete;
  ~SubkeyTable();

  RegistryNode* Find(std::u16string_view name, std::uint64_t hash) const;
  void Insert(RegistryNode* node);  // takes a reference
  void Erase(const RegistryNode* node);  // drops it
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  template <typename Visit>
  void ForEach(Visit visit) const {
    for (std::size_t i = 0; i < capacity_; ++i) {
      if (slots_[i].node != nullptr) visit(*slots_[i].node);
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    RegistryNode* node = nullptr;
  };
  std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (capacity_ - 1); }
  std::size_t Next(std::size_t slot) const { return (slot + 1) & (capacity_ - 1); }
  // The slot holding `node`, or the empty slot that ends its probe sequence.
  std::size_t SlotOf(const RegistryNode* node) const;
  void Place(std::uint64_t hash, RegistryNode* node);
  void Grow();

  std::unique_ptr<Slot[]> slots_;  // capacity_ is zero or a power of two, at most three quarters full
  std::uint32_t capacity_ = 0;
  std::uint32_t count_ = 0;
};

// The names of a key's subkeys in the platform's enumeration order (by folded
// name), one after the other in one block, so enumerating by rising index
// reads memory in order and costs one step per key.
class SubkeyNameList {
 public:
  explicit SubkeyNameList(const SubkeyTable& subkeys);
  std::u16string_view operator[](std::size_t index) const;

 private:
  std::vector<char16_t> units_;
  std::vector<std::size_t> ends_;
};

struct RegistryNode {
  RegistryNode(std::u16string_view keyName, RegistryNode* parentKey);

  // What a lookup reads.
  std::uint64_t nameHash;
  SubkeyTable subkeys;
  ValueBlock values;
  std::uint32_t references = 0;
  bool deleted = false;
  KeyName name;
  // Read on creation, deletion, enumeration and access checks.
  RegistryNode* parent;  // null once deleted
  // Access lists are shared: every key created below a parent inherits the
  // same list, so a large tree keeps one copy per distinct list, not per key.
  std::shared_ptr<const std::vector<AccessEntry>> access;
  std::shared_ptr<const std::vector<AccessEntry>> inheritedByChildren;  // built on first use
  std::unique_ptr<const SubkeyNameList> subkeyOrder;  // built on the first enumeration after a change

  RegistryNode* Child(std::u16string_view childName) const {
    return subkeys.Find(childName, FoldedNameHash(childName));
  }
  const SubkeyNameList& SubkeysInOrder();
};

}  // namespace kestrel
