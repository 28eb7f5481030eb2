// Greenmark.dll of the emulated machine: the maker's eco-level library as
// Kestrel uses it, with its three exports. It rates a plan from the query
// record Kestrel hands it (performance in the high byte, energy saving in the
// low byte, 0-5 each) and keeps a log of its calls in the registry where the
// emulated devices keep theirs, so tests can read what Kestrel asked.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

constexpr wchar_t kLogKey[] = L"Software\\KestrelEmulator\\Devices\\Greenmark";
constexpr std::uint32_t kNoRating = 0xF002;
constexpr std::uint32_t kKindPanel = 1;

bool g_initialized = false;

// Appends a line to the REG_MULTI_SZ value "Log".
void Log(const wchar_t* line) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLogKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = 0;
  std::vector<wchar_t> text;
  if (RegQueryValueExW(key, L"Log", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size >= sizeof(wchar_t)) {
    text.resize(size / sizeof(wchar_t));
    if (RegQueryValueExW(key, L"Log", nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
      text.clear();
    }
  }
  // Drop the list's closing terminator, keep each line's own.
  while (!text.empty() && text.back() == L'\0' && (text.size() < 2 || text[text.size() - 2] == L'\0')) text.pop_back();
  text.insert(text.end(), line, line + std::wcslen(line) + 1);
  text.push_back(L'\0');
  RegSetValueExW(key, L"Log", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(text.data()),
                 static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::uint32_t At(const std::uint8_t* record, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, record + offset, sizeof(value));
  return value;
}

std::uint32_t Clamp(int rating) { return rating < 0 ? 0 : rating > 5 ? 5 : static_cast<std::uint32_t>(rating); }

bool Within(std::uint32_t seconds, std::uint32_t limit) { return seconds != 0 && seconds <= limit; }

}  // namespace

extern "C" {

__declspec(dllexport) void EcoApiInitializeApp() {
  g_initialized = true;
  Log(L"initialize");
}

__declspec(dllexport) std::uint32_t EcoApiGetGreenmark(void* query) {
  if (!g_initialized || query == nullptr) return kNoRating;
  const auto* record = static_cast<const std::uint8_t*>(query);
  std::uint32_t kind = At(record, 0);
  // A machine with a battery is rated on battery, the others on mains.
  bool battery = kind == kKindPanel;
  std::uint32_t monitor = At(record, battery ? 8 : 4);
  std::uint32_t standby = At(record, battery ? 24 : 20);
  std::uint32_t maxProcessor = At(record, battery ? 44 : 36);
  std::uint32_t minProcessor = At(record, battery ? 48 : 40);

  int saving = 1 + Within(monitor, 300) + Within(standby, 1800) + (maxProcessor <= 80) + (minProcessor <= 10);
  int performance = 1 + (maxProcessor >= 100) + (maxProcessor >= 80) + (minProcessor >= 50) + (standby == 0);
  std::uint32_t level = Clamp(performance) << 8 | Clamp(saving);

  wchar_t line[64];
  swprintf(line, 64, L"query kind=%u level=0x%04x", kind, level);
  Log(line);
  return level;
}

__declspec(dllexport) void EcoApiFinalizeApp() {
  g_initialized = false;
  Log(L"finalize");
}

}  // extern "C"
