// DialogProbe.exe: drives and reads another program's dialog the way a user
// would, for the settings dialogs' Wine tests. The dialog is the visible
// top-level window with the given title.
//   rect <title>                   "<left> <top> <right> <bottom>" of the window
//   controls <title>               one line per child: "<id> <class> <visible 0|1> <enabled 0|1> <text>"
//   items <title> <id>             the texts of a combo box, one per line, the selected one marked "*"
//   select <title> <id> <text>     selects the combo box item and tells the dialog (CBN_SELCHANGE)
//   click <title> <id>             posts the button's click (BN_CLICKED) to the dialog
//   check <title> <id> <0|1>       sets a check box and tells the dialog
//   page <title> <index>           shows a page of a property sheet
//   text <title> <id>              the control's text
// Exit codes: 0 done, 2 no such window or control, 1 bad usage. Output is UTF-8.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../probe_support/dialog_windows.h"

namespace {

using probe::FindDialog;
using probe::Print;
using probe::TextOf;

// A control of the dialog or of one of its child dialogs (property sheet pages).
HWND Control(HWND dialog, int id) {
  if (HWND direct = GetDlgItem(dialog, id)) return direct;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND nested = GetDlgItem(child, id); nested != nullptr && IsWindowVisible(child)) return nested;
  }
  return nullptr;
}

void ListControls(HWND parent, int depth) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    Print(std::to_wstring(GetDlgCtrlID(child)) + L" " + className + L" " +
          (IsWindowVisible(child) ? L"1" : L"0") + L" " + (IsWindowEnabled(child) ? L"1" : L"0") + L" " +
          TextOf(child));
    if (depth == 0 && lstrcmpW(className, L"#32770") == 0) ListControls(child, 1);
  }
}

int Run(int argc, wchar_t** argv) {
  if (argc < 3) return 1;
  std::wstring command = argv[1];
  HWND dialog = FindDialog(argv[2]);
  if (dialog == nullptr) return 2;
  if (command == L"rect") {
    RECT rect{};
    GetWindowRect(dialog, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  if (command == L"controls") {
    ListControls(dialog, 0);
    return 0;
  }
  if (argc < 4) return 1;
  int id = _wtoi(argv[3]);
  if (command == L"page") {
    SendMessageW(dialog, PSM_SETCURSEL, static_cast<WPARAM>(id), 0);
    return 0;
  }
  HWND control = Control(dialog, id);
  if (control == nullptr) return 2;
  HWND owner = GetParent(control);
  if (command == L"text") {
    Print(TextOf(control));
    return 0;
  }
  if (command == L"items") {
    LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    LRESULT selected = SendMessageW(control, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[512] = {};
      SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      Print(std::wstring(i == selected ? L"* " : L"  ") + text);
    }
    return 0;
  }
  if (command == L"click") {
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (argc < 5) return 1;
  if (command == L"check") {
    SendMessageW(control, BM_SETCHECK, _wtoi(argv[4]) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == L"select") {
    LRESULT index = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(argv[4]));
    if (index == CB_ERR) return 2;
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
