// Takes typed pieces off the front of a fuzzer's input, so that one input
// drives several arguments. An exhausted input gives zeros and empty pieces.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return used_ >= size_; }

  std::uint8_t Byte() { return empty() ? 0 : data_[used_++]; }

  std::uint32_t Dword() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
    return value;
  }

  // Up to `count` bytes (fewer when the input runs out).
  std::vector<std::uint8_t> Bytes(std::size_t count) {
    count = std::min(count, size_ - std::min(used_, size_));
    std::vector<std::uint8_t> bytes(data_ + used_, data_ + used_ + count);
    used_ += count;
    return bytes;
  }

  // A length byte, then that many bytes.
  std::vector<std::uint8_t> SizedBytes() { return Bytes(Byte()); }

  // A length byte, then that many UTF-16 units, little-endian.
  std::u16string Text() {
    std::size_t units = Byte();
    std::u16string text;
    for (std::size_t i = 0; i < units && !empty(); ++i) {
      std::uint8_t low = Byte();
      text.push_back(static_cast<char16_t>(low | (Byte() << 8)));
    }
    return text;
  }

  std::vector<std::uint8_t> Rest() { return Bytes(size_); }

  // Whatever is left as UTF-16 units (an odd last byte is dropped).
  std::u16string RestAsText() {
    std::vector<std::uint8_t> bytes = Rest();
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

}  // namespace kestrel::fuzz
