// EditorProbe.exe: moves and reads the controls of Kestrel's plan editor and
// its small dialogs from outside, as a user's mouse and keyboard would, for
// the editor's Wine test. The dialog is the visible top-level window with the
// given title.
//   wait <title> <seconds>          waits until the window is there
//   onscreen <title>                0 when the window lies wholly on the screen
//   slider <title> <id> <position>  moves a trackbar and tells the dialog (WM_HSCROLL)
//   position <title> <id>           a trackbar's position
//   range <title> <id>              a trackbar's "<min> <max>"
//   settext <title> <id> <text>     replaces an edit control's text (EN_CHANGE follows)
//   click <title> <id>              posts a button's click (BN_CLICKED) to the dialog
//   press <title> <id>              clicks a radio button or check box as the mouse does (BM_CLICK)
//   thumbs <title> <id> <lo> <hi>   sets a range slider's thumbs and tells the dialog (WM_HSCROLL)
//   select-other <title> <id>       selects another item of a combo box and tells the dialog (CBN_SELCHANGE)
//   text <title> <id>               a control's text
//   enabled <title> <id>            1 when the control is enabled, else 0
// Exit codes: 0 done, 2 no such window or control, 1 bad usage. Output is UTF-8.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "../probe_support/dialog_windows.h"

namespace {

using probe::FindDialog;
using probe::Print;
using probe::TextOf;

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

int Run(int argc, wchar_t** argv) {
  if (argc < 3) return 1;
  const std::wstring command = argv[1];
  if (command == L"wait") {
    // Looks at least once; 0 seconds asks whether the window is there now.
    int tries = (argc > 3 ? _wtoi(argv[3]) : 20) * 10;
    for (int i = 0;; ++i) {
      if (FindDialog(argv[2]) != nullptr) return 0;
      if (i >= tries) return 2;
      Sleep(100);
    }
  }
  HWND dialog = FindDialog(argv[2]);
  if (dialog != nullptr && command == L"onscreen") {
    RECT box{};
    GetWindowRect(dialog, &box);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    std::printf("%ld %ld %ld %ld of %d x %d\n", box.left, box.top, box.right, box.bottom, width, height);
    return box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height ? 0 : 3;
  }
  if (dialog == nullptr || argc < 4) return dialog == nullptr ? 2 : 1;
  const int id = _wtoi(argv[3]);
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return 2;
  if (command == L"slider" && argc > 4) {
    int position = _wtoi(argv[4]);
    Ask(control, TBM_SETPOS, TRUE, position);
    position = static_cast<int>(Ask(control, TBM_GETPOS, 0, 0));
    Ask(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(control));
    Ask(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == L"position") {
    std::printf("%d\n", static_cast<int>(Ask(control, TBM_GETPOS, 0, 0)));
    return 0;
  }
  if (command == L"range") {
    std::printf("%d %d\n", static_cast<int>(Ask(control, TBM_GETRANGEMIN, 0, 0)),
                static_cast<int>(Ask(control, TBM_GETRANGEMAX, 0, 0)));
    return 0;
  }
  if (command == L"settext" && argc > 4) {
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]), SMTO_ABORTIFHUNG, 5000, nullptr);
    return 0;
  }
  if (command == L"click") {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == L"press") {
    PostMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == L"thumbs" && argc > 5) {
    // The range slider's own messages: WM_APP+1 with 1 (lower) or 2 (upper).
    Ask(control, WM_APP + 1, 2, _wtoi(argv[5]));
    Ask(control, WM_APP + 1, 1, _wtoi(argv[4]));
    Ask(control, WM_APP + 1, 2, _wtoi(argv[5]));
    Ask(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, _wtoi(argv[4])), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == L"select-other") {
    LRESULT current = Ask(control, CB_GETCURSEL, 0, 0);
    LRESULT count = Ask(control, CB_GETCOUNT, 0, 0);
    if (count < 2) return 2;
    Ask(control, CB_SETCURSEL, current == 0 ? 1 : 0, 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == L"text") {
    Print(TextOf(control));
    return 0;
  }
  if (command == L"enabled") {
    std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
    return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
