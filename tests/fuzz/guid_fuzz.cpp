// Fuzz target: GUID texts in every form the programs read: the 36-character
// form as UTF-16 and as UTF-8 (registry key names, SchemeList, command
// arguments, plan-definition fields), a plan-definition field that names an
// "@alias", and the 16-byte binary form. Both text forms agree, only
// 36-character texts parse, and a parsed GUID prints back as its text in lower
// case.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "installer/plan_file_fields.h"
#include "platform/emulated/ini_profile.h"
#include "platform/guid.h"
#include "support/memory_file_system.h"

using namespace kestrel;

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

void CheckParsed(const std::optional<Guid>& guid, std::u16string_view text) {
  if (!guid) return;
  if (text.size() != 36) std::abort();
  std::u16string printed = ToString(*guid);
  for (std::size_t i = 0; i < 36; ++i) {
    if (printed[i] != Lower(text[i])) std::abort();
  }
  if (GuidFromBytes(ToBytes(*guid).data()) != *guid) std::abort();
}

void CheckTexts(const std::vector<std::uint8_t>& bytes) {
  std::string_view narrow(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::u16string widened(bytes.begin(), bytes.end());
  std::optional<Guid> fromNarrow = ParseGuid(narrow);
  std::optional<Guid> fromWide = ParseGuid(widened);
  if (fromNarrow != fromWide) std::abort();
  CheckParsed(fromWide, widened);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) wide.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  CheckParsed(ParseGuid(wide), wide);
}

// The field and the alias section as lines of a UTF-8 plan-definition file.
void CheckField(const std::vector<std::uint8_t>& field, const std::vector<std::uint8_t>& alias) {
  constexpr std::u16string_view kFile = u"C:\\plans.ini";
  std::string text = "[PLAN_0]\nGUID=" + std::string(field.begin(), field.end()) + "\n[ALIASES]\n" +
                     std::string(alias.begin(), alias.end()) + "\n";
  InMemoryFileSystem files;
  files.PutFile(kFile, std::string_view(text));
  IniProfile profile(files);
  PlanFileReader reader(profile, kFile);
  std::optional<Guid> guid = reader.GuidField(u"PLAN_0", u"GUID");
  if (!guid) return;
  // Whatever route it took, the GUID came from a 36-character text.
  std::u16string value = reader.Text(u"PLAN_0", u"GUID", kGuidFieldUnits);
  if (!value.empty() && value.front() == u'@') value = reader.Text(kAliasesSection, value.substr(1), kGuidFieldUnits);
  CheckParsed(guid, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::vector<std::uint8_t> field = input.SizedBytes();
  std::vector<std::uint8_t> rest = input.Rest();
  CheckTexts(std::vector<std::uint8_t>(data, data + size));
  CheckField(field, rest);
  return 0;
}
