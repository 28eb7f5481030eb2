// Message boxes and the program's string table.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace kestrel {

// MessageBoxW styles and results used by the program (the platform's values).
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbOkCancel = 0x1;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbIconHand = 0x10;
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual int Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                   std::uint32_t style) = 0;
};

class StringTable {
 public:
  virtual ~StringTable() = default;
  // LoadStringW: the text of `id`, empty when there is none.
  virtual std::u16string Load(std::uint32_t id) = 0;
};

}  // namespace kestrel
