// The registry adapter's key security: a key's DACL converted to and from
// AccessEntry lists, trustees as SID strings.
#include "platform/win32/windows_api.h"
// after windows.h
#include <sddl.h>

#include <memory>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
using LocalSid = std::unique_ptr<void, LocalFreeDeleter>;

Status ReadSecurityDescriptor(HKEY key, std::vector<std::uint8_t>& descriptor) {
  DWORD size = 0;
  LSTATUS status = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
  if (status != ERROR_INSUFFICIENT_BUFFER && status != ERROR_SUCCESS) return static_cast<Status>(status);
  descriptor.assign(size, 0);
  return static_cast<Status>(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size));
}

Status SidToText(PSID sid, std::string& text) {
  wchar_t* wide = nullptr;
  if (!ConvertSidToStringSidW(sid, &wide)) return LastError();
  std::wstring_view view(wide);
  text.assign(view.begin(), view.end());  // SID strings are ASCII
  LocalFree(wide);
  return kSuccess;
}

Status EntryFromAce(const void* ace, AccessEntry& entry) {
  const auto* header = static_cast<const ACE_HEADER*>(ace);
  if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE) {
    return kErrorNotSupported;
  }
  // Allowed and denied entries share one layout: header, mask, SID.
  const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
  entry.kind = header->AceType == ACCESS_ALLOWED_ACE_TYPE ? AccessEntry::Kind::Allow : AccessEntry::Kind::Deny;
  entry.inheritFlags = header->AceFlags;
  entry.mask = allowed->Mask;
  return SidToText(const_cast<DWORD*>(&allowed->SidStart), entry.trustee);
}

Status TextToSid(const std::string& text, LocalSid& sid) {
  std::wstring wide(text.begin(), text.end());
  PSID raw = nullptr;
  if (!ConvertStringSidToSidW(wide.c_str(), &raw)) return LastError();
  sid.reset(raw);
  return kSuccess;
}

Status BuildAcl(const std::vector<AccessEntry>& entries, std::vector<std::uint8_t>& acl) {
  std::vector<LocalSid> sids(entries.size());
  DWORD size = sizeof(ACL);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (Status status = TextToSid(entries[i].trustee, sids[i]); status != kSuccess) return status;
    size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sids[i].get());
  }
  acl.assign(size, 0);
  auto* list = reinterpret_cast<ACL*>(acl.data());
  if (!InitializeAcl(list, size, ACL_REVISION)) return LastError();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const AccessEntry& entry = entries[i];
    BOOL added = entry.kind == AccessEntry::Kind::Allow
                     ? AddAccessAllowedAceEx(list, ACL_REVISION, entry.inheritFlags, entry.mask, sids[i].get())
                     : AddAccessDeniedAceEx(list, ACL_REVISION, entry.inheritFlags, entry.mask, sids[i].get());
    if (!added) return LastError();
  }
  return kSuccess;
}

// The inheritance bits of the DACL that a whole replacement keeps.
SECURITY_DESCRIPTOR_CONTROL CurrentDaclControl(HKEY key) {
  std::vector<std::uint8_t> descriptor;
  if (ReadSecurityDescriptor(key, descriptor) != kSuccess) return 0;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!GetSecurityDescriptorControl(descriptor.data(), &control, &revision)) return 0;
  return control & (SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED);
}

}  // namespace

Status Win32Registry::GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) {
  std::vector<std::uint8_t> descriptor;
  if (Status status = ReadSecurityDescriptor(ToHkey(key), descriptor); status != kSuccess) return status;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  ACL* acl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted)) {
    return LastError();
  }
  if (!present || acl == nullptr) return kErrorNotSupported;  // no DACL: everyone has full access
  std::vector<AccessEntry> read;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace)) return LastError();
    AccessEntry entry;
    if (Status status = EntryFromAce(ace, entry); status != kSuccess) return status;
    read.push_back(std::move(entry));
  }
  entries = std::move(read);
  return kSuccess;
}

Status Win32Registry::SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) {
  std::vector<std::uint8_t> acl;
  if (Status status = BuildAcl(entries, acl); status != kSuccess) return status;
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<ACL*>(acl.data()), FALSE)) {
    return LastError();
  }
  SECURITY_DESCRIPTOR_CONTROL keep = CurrentDaclControl(ToHkey(key));
  if (keep != 0) SetSecurityDescriptorControl(&descriptor, SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED, keep);
  return static_cast<Status>(RegSetKeySecurity(ToHkey(key), DACL_SECURITY_INFORMATION, &descriptor));
}

}  // namespace kestrel
