// A key's values in creation order, packed into one block: for each value a
// header (hash of the folded name, type, sizes), then the name's units, then
// the data. A key has a handful of values, so finding one walks the block in
// address order, and reading a plan's settings touches one allocation per key
// instead of one per value.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace kestrel {

class ValueBlock {
 public:
  struct Value {
    std::u16string_view name;
    RegType type;
    std::span<const std::uint8_t> data;
  };

  ValueBlock() = default;
  ValueBlock(const ValueBlock&) = delete;
  ValueBlock& operator=(const ValueBlock&) = delete;

  std::optional<Value> Find(std::u16string_view name) const;
  std::optional<Value> At(std::size_t index) const;  // by creation order

  // A new value goes last; a rewritten one keeps its place.
  void Set(std::u16string_view name, RegType type, std::span<const std::uint8_t> data);
  bool Erase(std::u16string_view name);

 private:
  struct Header {
    std::uint32_t nameHash;  // the low half of the folded name's hash
    RegType type;
    std::uint32_t nameBytes;
    std::uint32_t dataBytes;
  };
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  Header HeaderAt(std::size_t offset) const;
  std::size_t RecordSize(const Header& header) const;
  Value ValueAt(std::size_t offset) const;
  std::size_t Locate(std::u16string_view name) const;
  void WriteRecord(std::byte* at, std::u16string_view name, RegType type, std::span<const std::uint8_t> data) const;
  // Puts a record of `size` bytes where the `removed` bytes at `offset` were.
  std::byte* Splice(std::size_t offset, std::size_t removed, std::size_t size);

  // Exactly as large as its records: a key's values change rarely and are
  // read often, so a change reallocates rather than keeping spare room.
  std::unique_ptr<std::byte[]> bytes_;
  std::uint32_t size_ = 0;
  std::uint32_t count_ = 0;
};

}  // namespace kestrel
