#include "ui/dialogs/help_loader.h"


namespace kestrel {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// HTML Help commands.
constexpr UINT kHhHelpContext = 0x000F;
constexpr UINT kHhInitialize = 0x001C;
constexpr UINT kHhUninitialize = 0x001D;

// The class id of the HTML Help control, whose in-process server is the library.
constexpr wchar_t kHelpServerKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

struct HelpLibrary {
  HMODULE module = nullptr;
  HtmlHelpFunction call = nullptr;
  DWORD_PTR cookie = 0;
  bool tried = false;
};

HelpLibrary g_help;

std::wstring RegisteredServer() {
  wchar_t path[MAX_PATH] = {};
  DWORD bytes = sizeof path;
  if (RegGetValueW(HKEY_CLASSES_ROOT, kHelpServerKey, nullptr, RRF_RT_REG_SZ, nullptr, path, &bytes) != ERROR_SUCCESS) {
    return {};
  }
  return path;
}

HelpLibrary& Loaded() {
  if (g_help.tried) return g_help;
  g_help.tried = true;
  std::wstring server = RegisteredServer();
  if (!server.empty()) g_help.module = LoadLibraryW(server.c_str());
  if (g_help.module == nullptr) g_help.module = LoadLibraryW(L"hhctrl.ocx");
  if (g_help.module == nullptr) return g_help;
  g_help.call = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(g_help.module, "HtmlHelpW")));
  if (g_help.call != nullptr) g_help.call(nullptr, nullptr, kHhInitialize, reinterpret_cast<DWORD_PTR>(&g_help.cookie));
  return g_help;
}

}  // namespace

void ShowHelpContext(const std::wstring& helpFile, DWORD context) {
  if (helpFile.empty()) return;
  HelpLibrary& help = Loaded();
  if (help.call == nullptr) return;
  help.call(GetDesktopWindow(), helpFile.c_str(), kHhHelpContext, context);
}

void ReleaseHelp() {
  if (g_help.call != nullptr) g_help.call(nullptr, nullptr, kHhUninitialize, g_help.cookie);
  if (g_help.module != nullptr) FreeLibrary(g_help.module);
  g_help = HelpLibrary{};
}

}  // namespace kestrel
