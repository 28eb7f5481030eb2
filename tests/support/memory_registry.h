// An in-memory registry with the platform's semantics: case-insensitive key and
// value names that keep their case, exact-size values, the platform's error
// codes, non-recursive key deletion, per-key access lists. A test double: native
// tests and benchmarks run the emulated machine over it; the programs under Wine
// use Wine's registry.
//
// Handles carry the access they were opened with, as on the platform: a value
// write through a key opened for reading is refused with kErrorAccessDenied.
// Access lists are inherited by new keys and, once a caller identity is set
// (SetCallerSids), also checked when a key is opened, created or deleted; with
// no identity the caller is the machine's administrator and every key opens.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace kestrel {

// Well-known trustees used by the default access lists.
inline constexpr std::string_view kAdministratorsSid = "S-1-5-32-544";
inline constexpr std::string_view kLocalSystemSid = "S-1-5-18";
inline constexpr std::string_view kRestrictedSid = "S-1-5-12";
inline constexpr std::string_view kEveryoneSid = "S-1-1-0";
inline constexpr std::string_view kEmulatedUserSid = "S-1-5-21-1004336348-1177238915-682003330-1001";

// ACE flags and the rights that only access lists use.
inline constexpr std::uint8_t kObjectInheritAce = 0x01;
inline constexpr std::uint8_t kContainerInheritAce = 0x02;
inline constexpr std::uint8_t kNoPropagateInheritAce = 0x04;
inline constexpr std::uint8_t kInheritOnlyAce = 0x08;
inline constexpr std::uint8_t kInheritedAce = 0x10;
inline constexpr std::uint32_t kDeleteAccess = 0x00010000;
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;

inline constexpr Status kErrorBadPathname = 161;

class InMemoryRegistry : public Registry {
 public:
  InMemoryRegistry();
  ~InMemoryRegistry() override;

  Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) override;
  Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                   bool* created = nullptr) override;
  Status CloseKey(KeyHandle key) override;
  Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                    std::uint32_t& size) override;
  Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                  std::uint32_t size) override;
  Status DeleteValue(KeyHandle key, std::u16string_view name) override;
  // Nothing to write out; checks the handle and counts the call.
  Status Flush(KeyHandle key) override;
  Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status DeleteKey(KeyHandle parent, std::u16string_view subKey) override;
  Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) override;
  Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) override;

  // Number of handles currently open (tests check that code closes its keys).
  std::size_t OpenHandleCount() const;
  // Number of successful flushes.
  std::size_t FlushCount() const { return flushes_; }

  // Runs every later open, create and delete as a caller holding these SIDs
  // (for example a standard user: the user, Users, Everyone). Empty: no checks.
  void SetCallerSids(std::vector<std::string> sids);

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::atomic<std::size_t> flushes_ = 0;
};

}  // namespace kestrel
