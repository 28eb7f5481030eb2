// Win32 message boxes and string table.
#include "platform/win32/win32_user_interface.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"

namespace kestrel {

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 1041
constexpr std::uint32_t kStringsPerBlock = 16;

}  // namespace

int Win32MessageBoxes::Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                            std::uint32_t style) {
  return MessageBoxW(ToHwnd(owner), ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

// LoadStringW would pick the table of the thread's UI language; the program's
// texts are the Japanese table whatever the system language, so the block is
// looked up with that language explicitly. A string block holds 16 counted
// (not terminated) strings; string `id` is entry id % 16 of block id / 16 + 1.
std::u16string Win32StringTable::Load(std::uint32_t id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), kJapanese);
  if (block == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, block);
  const auto* cursor = static_cast<const WORD*>(LockResource(loaded));
  if (cursor == nullptr) return {};
  const WORD* end = cursor + SizeofResource(module, block) / sizeof(WORD);
  for (std::uint32_t entry = 0; cursor < end; ++entry) {
    WORD units = *cursor++;
    if (units > end - cursor) return {};
    if (entry == id % kStringsPerBlock) return FromWide(reinterpret_cast<const wchar_t*>(cursor), units);
    cursor += units;
  }
  return {};
}

}  // namespace kestrel
