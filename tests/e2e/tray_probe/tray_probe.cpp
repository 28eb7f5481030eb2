// TrayProbe.exe: reads what the notification area and an open pop-up menu
// show a user, for the tray's Wine tests.
//   tooltip   the text of every visible tooltip window, one per line
//   menu      the screen rectangle of the open pop-up menu: "<left> <top> <right> <bottom>"
//             (a menu's items belong to the process that made it, so they are
//             read from that program's menu trace instead)
// Exit codes: 0 found, 2 nothing shown, 1 bad usage. Output is UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<HWND> VisibleWindowsOfClass(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (IsWindowVisible(window) && lstrcmpiW(name, search->className) == 0) search->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PrintUtf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
}

int Tooltips() {
  int shown = 0;
  for (HWND tip : VisibleWindowsOfClass(L"tooltips_class32")) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    // The text a tooltip control shows is its answer to WM_GETTEXT.
    SendMessageTimeoutW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    if (text[0] == L'\0') continue;
    PrintUtf8(text);
    ++shown;
  }
  return shown > 0 ? 0 : 2;
}

int Menu() {
  std::vector<HWND> menus = VisibleWindowsOfClass(L"#32768");
  if (menus.empty()) return 2;
  RECT rect{};
  GetWindowRect(menus.front(), &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"tooltip") return Tooltips();
  if (argc == 2 && std::wstring(argv[1]) == L"menu") return Menu();
  std::fputs("usage: TrayProbe tooltip|menu\n", stderr);
  return 1;
}
