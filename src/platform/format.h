// The program's own printf-style formatter for UTF-16 texts. It understands the
// conversions the program's strings use: %s (UTF-16 text), %d %u %x %X with an
// optional 0-padded width, %I64x / %I64d / %I64u, %c and %%. A missing argument
// or one of the wrong kind renders as nothing rather than reading garbage.
#pragma once
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrel {

class FormatArg {
 public:
  enum class Kind { Signed, Unsigned, Text };

  template <std::signed_integral T>
  FormatArg(T value) : kind_(Kind::Signed), signed_(value) {}
  template <std::unsigned_integral T>
  FormatArg(T value) : kind_(Kind::Unsigned), unsigned_(value) {}
  FormatArg(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
  FormatArg(const char16_t* text) : kind_(Kind::Text), text_(text) {}
  FormatArg(const std::u16string& text) : kind_(Kind::Text), text_(text) {}

  Kind kind() const { return kind_; }
  std::int64_t AsSigned() const { return kind_ == Kind::Signed ? signed_ : static_cast<std::int64_t>(unsigned_); }
  std::uint64_t AsUnsigned() const { return kind_ == Kind::Unsigned ? unsigned_ : static_cast<std::uint64_t>(signed_); }
  std::u16string_view text() const { return text_; }

 private:
  Kind kind_;
  std::int64_t signed_ = 0;
  std::uint64_t unsigned_ = 0;
  std::u16string_view text_;
};

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args);

}  // namespace kestrel
