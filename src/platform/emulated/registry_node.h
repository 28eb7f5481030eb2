// The in-memory registry's keys. A machine with thousands of power plans has
// keys with thousands of subkeys and tens of thousands of keys in all, so the
// layout keeps what a lookup reads close together: subkeys sit in an open hash
// table of (hash of the folded name, key) pairs, a key holds its name (any
// GUID) in its own record, a value holds its name and short data (every DWORD)
// in one record, and names are compared only once their hashes agree.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/emulated/small_buffer.h"
#include "platform/registry.h"

namespace kestrel {

// Hash of a name as the platform compares it (case-folded).
std::uint64_t FoldedNameHash(std::u16string_view name);

class RegistryValue {
 public:
  RegistryValue(std::u16string_view name, RegType type, const std::uint8_t* data, std::uint32_t size);

  bool Named(std::u16string_view name, std::uint64_t hash) const;
  std::u16string_view name() const;
  RegType type() const { return type_; }
  const std::uint8_t* data() const;
  std::uint32_t size() const;
  void Assign(RegType type, const std::uint8_t* data, std::uint32_t size);

 private:
  std::uint64_t nameHash_;
  RegType type_;
  std::uint32_t nameBytes_;
  SmallBuffer<40> storage_;  // the name's units, then the data
};

struct RegistryNode;

// Subkeys by folded name: open addressing with linear probing, each slot the
// name's hash beside the owning pointer, so a miss costs no name compare.
class SubkeyTable {
 public:
  RegistryNode* Find(std::u16string_view name, std::uint64_t hash) const;
  void Insert(std::shared_ptr<RegistryNode> node);
  void Erase(const RegistryNode* node);
  // The owning pointer of a key in this table (empty when it is not here).
  std::shared_ptr<RegistryNode> Owner(const RegistryNode* node) const;
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const Slot& slot : slots_) {
      if (slot.node) visit(*slot.node);
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::shared_ptr<RegistryNode> node;
  };
  std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (slots_.size() - 1); }
  // The slot holding `node`, or the empty slot that ends its probe sequence.
  std::size_t SlotOf(const RegistryNode* node) const;
  void Grow();

  std::vector<Slot> slots_;  // size is zero or a power of two, at most half full
  std::size_t count_ = 0;
};

// The names of a key's subkeys in the platform's enumeration order (by folded
// name), one after the other in one block, so enumerating by rising index
// reads memory in order and costs one step per key.
class SubkeyNameList {
 public:
  explicit SubkeyNameList(const SubkeyTable& subkeys);
  std::size_t size() const { return ends_.size(); }
  std::u16string_view operator[](std::size_t index) const;

 private:
  std::vector<char16_t> units_;
  std::vector<std::size_t> ends_;
};

struct RegistryNode {
  explicit RegistryNode(std::u16string_view keyName);

  // What every lookup reads comes first.
  std::uint64_t nameHash;
  SmallBuffer<76> nameUnits;  // as created, so a GUID name stays in the record
  SubkeyTable subkeys;
  std::vector<RegistryValue> values;  // creation order
  RegistryNode* parent = nullptr;
  bool deleted = false;
  // Access lists are shared: every key created below a parent inherits the
  // same list, so a large tree keeps one copy per distinct list, not per key.
  std::shared_ptr<const std::vector<AccessEntry>> access;
  std::shared_ptr<const std::vector<AccessEntry>> inheritedByChildren;  // built on first use
  std::unique_ptr<const SubkeyNameList> subkeyOrder;  // built on the first enumeration after a change

  std::u16string_view name() const;
  RegistryNode* Child(std::u16string_view childName) const {
    return subkeys.Find(childName, FoldedNameHash(childName));
  }
  RegistryValue* FindValue(std::u16string_view valueName);
  const SubkeyNameList& SubkeysInOrder();
};

}  // namespace kestrel
