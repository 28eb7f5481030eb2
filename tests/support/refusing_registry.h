// A registry that passes everything on to another, except that writing the
// value of one name is refused with access denied: a failed write part-way
// through a longer one.
#pragma once
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kestrel {

class RefusingRegistry : public Registry {
 public:
  RefusingRegistry(Registry& inner, std::u16string refusedValue)
      : inner_(inner), refused_(std::move(refusedValue)) {}
  Status OpenKey(KeyHandle p, std::u16string_view s, std::uint32_t a, KeyHandle& o) override {
    return inner_.OpenKey(p, s, a, o);
  }
  Status CreateKey(KeyHandle p, std::u16string_view s, std::uint32_t a, KeyHandle& o, bool* c) override {
    return inner_.CreateKey(p, s, a, o, c);
  }
  Status CloseKey(KeyHandle k) override { return inner_.CloseKey(k); }
  Status QueryValue(KeyHandle k, std::u16string_view n, RegType* t, std::uint8_t* d, std::uint32_t& s) override {
    return inner_.QueryValue(k, n, t, d, s);
  }
  Status SetValue(KeyHandle k, std::u16string_view n, RegType t, const std::uint8_t* d, std::uint32_t s) override {
    return n == refused_ ? kErrorAccessDenied : inner_.SetValue(k, n, t, d, s);
  }
  Status DeleteValue(KeyHandle k, std::u16string_view n) override { return inner_.DeleteValue(k, n); }
  Status Flush(KeyHandle k) override { return inner_.Flush(k); }
  Status EnumKey(KeyHandle k, std::uint32_t i, std::u16string& n) override { return inner_.EnumKey(k, i, n); }
  Status EnumValue(KeyHandle k, std::uint32_t i, std::u16string& n) override { return inner_.EnumValue(k, i, n); }
  Status DeleteKey(KeyHandle p, std::u16string_view s) override { return inner_.DeleteKey(p, s); }
  Status GetKeyAccess(KeyHandle k, std::vector<AccessEntry>& e) override { return inner_.GetKeyAccess(k, e); }
  Status SetKeyAccess(KeyHandle k, const std::vector<AccessEntry>& e) override { return inner_.SetKeyAccess(k, e); }

 private:
  Registry& inner_;
  std::u16string refused_;
};

}  // namespace kestrel
