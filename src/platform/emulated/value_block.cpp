#include "platform/emulated/value_block.h"

#include <cstring>

#include "platform/emulated/case_fold.h"
#include "platform/emulated/registry_node.h"

namespace kestrel {
namespace {

// Records start on 4-byte boundaries so a name's units are read from aligned
// memory.
constexpr std::size_t kRecordAlignment = 4;

std::size_t AlignUp(std::size_t size) { return (size + kRecordAlignment - 1) & ~(kRecordAlignment - 1); }

std::uint32_t ShortHash(std::u16string_view name) { return static_cast<std::uint32_t>(FoldedNameHash(name)); }

}  // namespace

ValueBlock::Header ValueBlock::HeaderAt(std::size_t offset) const {
  Header header;
  std::memcpy(&header, bytes_.get() + offset, sizeof header);
  return header;
}

std::size_t ValueBlock::RecordSize(const Header& header) const {
  return AlignUp(sizeof(Header) + header.nameBytes + header.dataBytes);
}

ValueBlock::Value ValueBlock::ValueAt(std::size_t offset) const {
  Header header = HeaderAt(offset);
  const std::byte* name = bytes_.get() + offset + sizeof(Header);
  const std::byte* data = name + header.nameBytes;
  return Value{{reinterpret_cast<const char16_t*>(name), header.nameBytes / sizeof(char16_t)},
               header.type,
               {reinterpret_cast<const std::uint8_t*>(data), header.dataBytes}};
}

std::size_t ValueBlock::Locate(std::u16string_view name) const {
  std::uint32_t hash = ShortHash(name);
  for (std::size_t offset = 0; offset < size_;) {
    Header header = HeaderAt(offset);
    if (header.nameHash == hash && EqualsFolded(ValueAt(offset).name, name)) return offset;
    offset += RecordSize(header);
  }
  return kNotFound;
}

std::optional<ValueBlock::Value> ValueBlock::Find(std::u16string_view name) const {
  std::size_t offset = Locate(name);
  if (offset == kNotFound) return std::nullopt;
  return ValueAt(offset);
}

std::optional<ValueBlock::Value> ValueBlock::At(std::size_t index) const {
  if (index >= count_) return std::nullopt;
  std::size_t offset = 0;
  for (; index > 0; --index) offset += RecordSize(HeaderAt(offset));
  return ValueAt(offset);
}

void ValueBlock::WriteRecord(std::byte* at, std::u16string_view name, RegType type,
                             std::span<const std::uint8_t> data) const {
  Header header{ShortHash(name), type, static_cast<std::uint32_t>(name.size() * sizeof(char16_t)),
                static_cast<std::uint32_t>(data.size())};
  std::memcpy(at, &header, sizeof header);
  if (!name.empty()) std::memcpy(at + sizeof header, name.data(), header.nameBytes);
  if (!data.empty()) std::memcpy(at + sizeof header + header.nameBytes, data.data(), data.size());
}

std::byte* ValueBlock::Splice(std::size_t offset, std::size_t removed, std::size_t size) {
  std::size_t newSize = size_ - removed + size;
  auto block = newSize == 0 ? nullptr : std::make_unique<std::byte[]>(newSize);
  if (offset != 0) std::memcpy(block.get(), bytes_.get(), offset);
  std::size_t tail = size_ - offset - removed;
  if (tail != 0) std::memcpy(block.get() + offset + size, bytes_.get() + offset + removed, tail);
  bytes_ = std::move(block);
  size_ = static_cast<std::uint32_t>(newSize);
  return bytes_.get() + offset;
}

void ValueBlock::Set(std::u16string_view name, RegType type, std::span<const std::uint8_t> data) {
  Header header{0, type, static_cast<std::uint32_t>(name.size() * sizeof(char16_t)),
                static_cast<std::uint32_t>(data.size())};
  std::size_t size = RecordSize(header);
  std::size_t offset = Locate(name);
  if (offset == kNotFound) {
    WriteRecord(Splice(size_, 0, size), name, type, data);
    ++count_;
    return;
  }
  // A rewrite keeps the stored name's case and the value's place. The name is
  // copied out first: the old block goes when the new one is made.
  std::u16string kept(ValueAt(offset).name);
  WriteRecord(Splice(offset, RecordSize(HeaderAt(offset)), size), kept, type, data);
}

bool ValueBlock::Erase(std::u16string_view name) {
  std::size_t offset = Locate(name);
  if (offset == kNotFound) return false;
  Splice(offset, RecordSize(HeaderAt(offset)), 0);
  --count_;
  return true;
}

}  // namespace kestrel
