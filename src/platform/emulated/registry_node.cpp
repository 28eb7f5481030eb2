#include "platform/emulated/registry_node.h"

#include <algorithm>
#include <utility>

#include "platform/emulated/case_fold.h"

namespace kestrel {
namespace {

std::span<const std::byte> BytesOf(std::u16string_view text) { return std::as_bytes(std::span(text)); }

std::u16string_view UnitsOf(const std::byte* bytes, std::size_t size) {
  return {reinterpret_cast<const char16_t*>(bytes), size / sizeof(char16_t)};
}

}  // namespace

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

RegistryValue::RegistryValue(std::u16string_view name, RegType type, const std::uint8_t* data, std::uint32_t size)
    : nameHash_(FoldedNameHash(name)),
      type_(type),
      nameBytes_(static_cast<std::uint32_t>(name.size() * sizeof(char16_t))) {
  storage_.Assign(BytesOf(name), std::as_bytes(std::span(data, size)));
}

bool RegistryValue::Named(std::u16string_view name, std::uint64_t hash) const {
  return nameHash_ == hash && EqualsFolded(this->name(), name);
}

std::u16string_view RegistryValue::name() const { return UnitsOf(storage_.data(), nameBytes_); }

const std::uint8_t* RegistryValue::data() const {
  return reinterpret_cast<const std::uint8_t*>(storage_.data() + nameBytes_);
}

std::uint32_t RegistryValue::size() const { return static_cast<std::uint32_t>(storage_.size()) - nameBytes_; }

void RegistryValue::Assign(RegType type, const std::uint8_t* data, std::uint32_t size) {
  type_ = type;
  storage_.Assign(std::span(storage_.data(), nameBytes_), std::as_bytes(std::span(data, size)));
}

RegistryNode* SubkeyTable::Find(std::u16string_view name, std::uint64_t hash) const {
  if (slots_.empty()) return nullptr;
  for (std::size_t i = Home(hash);; i = (i + 1) & (slots_.size() - 1)) {
    const Slot& slot = slots_[i];
    if (!slot.node) return nullptr;
    if (slot.hash == hash && EqualsFolded(slot.node->name(), name)) return slot.node.get();
  }
}

void SubkeyTable::Insert(std::shared_ptr<RegistryNode> node) {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  std::size_t i = Home(node->nameHash);
  while (slots_[i].node) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{node->nameHash, std::move(node)};
  ++count_;
}

std::size_t SubkeyTable::SlotOf(const RegistryNode* node) const {
  std::size_t i = Home(node->nameHash);
  while (slots_[i].node && slots_[i].node.get() != node) i = (i + 1) & (slots_.size() - 1);
  return i;
}

std::shared_ptr<RegistryNode> SubkeyTable::Owner(const RegistryNode* node) const {
  return slots_.empty() ? nullptr : slots_[SlotOf(node)].node;
}

// Backward-shift deletion: the entries after the hole that may live there move
// up, so every probe sequence stays unbroken without tombstones.
void SubkeyTable::Erase(const RegistryNode* node) {
  if (slots_.empty()) return;
  std::size_t hole = SlotOf(node);
  if (!slots_[hole].node) return;
  slots_[hole] = Slot{};
  --count_;
  std::size_t mask = slots_.size() - 1;
  for (std::size_t next = (hole + 1) & mask; slots_[next].node; next = (next + 1) & mask) {
    std::size_t home = Home(slots_[next].hash);
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      slots_[hole] = std::move(slots_[next]);
      slots_[next] = Slot{};
      hole = next;
    }
  }
}

void SubkeyTable::Grow() {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(std::max<std::size_t>(8, slots_.size() * 2)));
  count_ = 0;
  for (Slot& slot : old) {
    if (slot.node) Insert(std::move(slot.node));
  }
}

RegistryNode::RegistryNode(std::u16string_view keyName)
    : nameHash(FoldedNameHash(keyName)), nameUnits(BytesOf(keyName)) {}

std::u16string_view RegistryNode::name() const { return UnitsOf(nameUnits.data(), nameUnits.size()); }

RegistryValue* RegistryNode::FindValue(std::u16string_view valueName) {
  std::uint64_t hash = FoldedNameHash(valueName);
  auto found = std::find_if(values.begin(), values.end(),
                            [hash, valueName](const RegistryValue& value) { return value.Named(valueName, hash); });
  return found == values.end() ? nullptr : &*found;
}

SubkeyNameList::SubkeyNameList(const SubkeyTable& subkeys) {
  std::vector<std::u16string_view> names;
  names.reserve(subkeys.size());
  subkeys.ForEach([&names](const RegistryNode& child) { names.push_back(child.name()); });
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

const SubkeyNameList& RegistryNode::SubkeysInOrder() {
  if (!subkeyOrder) subkeyOrder = std::make_unique<const SubkeyNameList>(subkeys);
  return *subkeyOrder;
}

}  // namespace kestrel
