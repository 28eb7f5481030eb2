#include "platform/emulated/registry_node.h"

#include <algorithm>
#include <utility>

#include "platform/emulated/case_fold.h"

namespace kestrel {

std::uint64_t FoldedNameHash(std::u16string_view name) {
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a over the folded units
  for (char16_t c : name) {
    hash = (hash ^ FoldCase(c)) * 0x100000001b3ull;
  }
  // Mixed so the low bits, which pick the slot, depend on every unit.
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccdull;
  hash ^= hash >> 33;
  return hash;
}

KeyName::KeyName(std::u16string_view name) : size_(static_cast<std::uint32_t>(name.size())) {
  char16_t* target = inline_;
  if (OnHeap()) target = heap_ = new char16_t[name.size()];
  std::copy(name.begin(), name.end(), target);
}

KeyName::~KeyName() {
  if (OnHeap()) delete[] heap_;
}

std::u16string_view KeyName::view() const { return {OnHeap() ? heap_ : inline_, size_}; }

void ReleaseNode(RegistryNode* node) {
  if (--node->references == 0) delete node;
}

NodeRef::NodeRef(RegistryNode* node) : node_(node) {
  if (node_ != nullptr) ++node_->references;
}

NodeRef::~NodeRef() {
  if (node_ != nullptr) ReleaseNode(node_);
}

SubkeyTable::~SubkeyTable() {
  for (std::size_t i = 0; i < capacity_; ++i) {
    if (slots_[i].node != nullptr) ReleaseNode(slots_[i].node);
  }
}

RegistryNode* SubkeyTable::Find(std::u16string_view name, std::uint64_t hash) const {
  if (capacity_ == 0) return nullptr;
  for (std::size_t i = Home(hash);; i = Next(i)) {
    const Slot& slot = slots_[i];
    if (slot.node == nullptr) return nullptr;
    if (slot.hash == hash && EqualsFolded(slot.node->name.view(), name)) return slot.node;
  }
}

void SubkeyTable::Place(std::uint64_t hash, RegistryNode* node) {
  std::size_t i = Home(hash);
  while (slots_[i].node != nullptr) i = Next(i);
  slots_[i] = Slot{hash, node};
}

void SubkeyTable::Insert(RegistryNode* node) {
  if ((count_ + 1) * 4 > capacity_ * 3) Grow();
  ++node->references;
  Place(node->nameHash, node);
  ++count_;
}

std::size_t SubkeyTable::SlotOf(const RegistryNode* node) const {
  std::size_t i = Home(node->nameHash);
  while (slots_[i].node != nullptr && slots_[i].node != node) i = Next(i);
  return i;
}

// Backward-shift deletion: the entries after the hole that may live there move
// up, so every probe sequence stays unbroken without tombstones.
void SubkeyTable::Erase(const RegistryNode* node) {
  if (capacity_ == 0) return;
  std::size_t hole = SlotOf(node);
  if (slots_[hole].node == nullptr) return;
  ReleaseNode(std::exchange(slots_[hole], Slot{}).node);
  --count_;
  std::size_t mask = capacity_ - 1;
  for (std::size_t next = Next(hole); slots_[next].node != nullptr; next = Next(next)) {
    std::size_t home = Home(slots_[next].hash);
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      slots_[hole] = std::exchange(slots_[next], Slot{});
      hole = next;
    }
  }
}

void SubkeyTable::Grow() {
  std::uint32_t oldCapacity = capacity_;
  std::unique_ptr<Slot[]> old = std::exchange(slots_, nullptr);
  capacity_ = std::max<std::uint32_t>(4, oldCapacity * 2);
  slots_ = std::make_unique<Slot[]>(capacity_);
  for (std::size_t i = 0; i < oldCapacity; ++i) {
    if (old[i].node != nullptr) Place(old[i].hash, old[i].node);
  }
}

SubkeyNameList::SubkeyNameList(const SubkeyTable& subkeys) {
  std::vector<std::u16string_view> names;
  names.reserve(subkeys.size());
  subkeys.ForEach([&names](const RegistryNode& child) { names.push_back(child.name.view()); });
  auto foldedLess = [](char16_t a, char16_t b) { return FoldCase(a) < FoldCase(b); };
  std::sort(names.begin(), names.end(), [&foldedLess](std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess);
  });
  ends_.reserve(names.size());
  for (std::u16string_view name : names) {
    units_.insert(units_.end(), name.begin(), name.end());
    ends_.push_back(units_.size());
  }
}

std::u16string_view SubkeyNameList::operator[](std::size_t index) const {
  std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return {units_.data() + begin, ends_[index] - begin};
}

RegistryNode::RegistryNode(std::u16string_view keyName, RegistryNode* parentKey)
    : nameHash(FoldedNameHash(keyName)), name(keyName), parent(parentKey) {}

const SubkeyNameList& RegistryNode::SubkeysInOrder() {
  if (!subkeyOrder) subkeyOrder = std::make_unique<const SubkeyNameList>(subkeys);
  return *subkeyOrder;
}

}  // namespace kestrel
