// Bytes kept inside their owner when they fit in `Inline`, on the heap
// otherwise. The in-memory registry keeps names and short values this way so
// that reading one touches the record it already holds, not a second block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

namespace kestrel {

template <std::size_t Inline>
class SmallBuffer {
 public:
  SmallBuffer() = default;
  explicit SmallBuffer(std::span<const std::byte> bytes) { Assign(bytes, {}); }
  SmallBuffer(const SmallBuffer&) = delete;
  SmallBuffer& operator=(const SmallBuffer&) = delete;
  SmallBuffer(SmallBuffer&& other) noexcept { Take(other); }
  SmallBuffer& operator=(SmallBuffer&& other) noexcept {
    if (this != &other) {
      Release();
      Take(other);
    }
    return *this;
  }
  ~SmallBuffer() { Release(); }

  // The two spans one after the other. Either may point into this buffer:
  // both are copied before the old bytes are released.
  void Assign(std::span<const std::byte> first, std::span<const std::byte> second) {
    std::size_t size = first.size() + second.size();
    if (size > Inline) {
      auto* block = new std::byte[size];
      Concatenate(block, first, second);
      Release();
      heap_ = block;
    } else {
      std::byte staged[Inline];
      Concatenate(staged, first, second);
      Release();
      std::memcpy(inline_, staged, size);
    }
    size_ = static_cast<std::uint32_t>(size);
  }

  const std::byte* data() const { return OnHeap() ? heap_ : inline_; }
  std::size_t size() const { return size_; }

 private:
  static void Concatenate(std::byte* target, std::span<const std::byte> first, std::span<const std::byte> second) {
    if (!first.empty()) std::memcpy(target, first.data(), first.size());
    if (!second.empty()) std::memcpy(target + first.size(), second.data(), second.size());
  }
  bool OnHeap() const { return size_ > Inline; }
  void Release() {
    if (OnHeap()) delete[] heap_;
    size_ = 0;
  }
  void Take(SmallBuffer& other) {
    size_ = other.size_;
    if (other.OnHeap()) {
      heap_ = other.heap_;
    } else {
      std::memcpy(inline_, other.inline_, size_);
    }
    other.size_ = 0;
  }

  std::uint32_t size_ = 0;
  union {
    alignas(8) std::byte inline_[Inline];
    std::byte* heap_;
  };
};

}  // namespace kestrel
