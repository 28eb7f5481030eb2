#include "ui/dialogs/display_settings.h"

#include <memory>

#include "platform/win32/wide_text.h"
#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/panel_ids.h"

namespace kestrel {
namespace {

constexpr int kGapAbovePanel = 20;
// The dialog's topic in the help file.
constexpr DWORD kDisplaySettingsHelp = 10502;

struct DialogState {
  HWND panel = nullptr;
  PanelController* controller = nullptr;
  std::unique_ptr<DisplaySettingsSession> session;
};

int RadioOf(PanelLayout layout) {
  switch (layout) {
    case PanelLayout::Analog:
      return IDC_PANEL_ANALOG;
    case PanelLayout::Compact:
      return IDC_PANEL_COMPACT;
    default:
      return IDC_PANEL_AQUA;
  }
}

PanelLayout CheckedLayout(HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_PANEL_ANALOG) == BST_CHECKED) return PanelLayout::Analog;
  if (IsDlgButtonChecked(dialog, IDC_PANEL_COMPACT) == BST_CHECKED) return PanelLayout::Compact;
  return PanelLayout::Aqua;
}

void ShowScheme(HWND dialog, std::uint32_t scheme) {
  CheckRadioButton(dialog, IDC_COLOR_FIRST, IDC_COLOR_LAST, IDC_COLOR_FIRST + static_cast<int>(scheme));
}

void ShowChoice(HWND dialog, const DisplayChoice& choice) {
  CheckRadioButton(dialog, IDC_PANEL_AQUA, IDC_PANEL_COMPACT, RadioOf(choice.layout));
  ShowScheme(dialog, choice.colorScheme);
  CheckDlgButton(dialog, IDC_STAY_ON_TOP, choice.stayOnTop ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_TRANSPARENT, choice.transparent ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_NO_TASKBAR_BUTTON, choice.noTaskbarButton ? BST_CHECKED : BST_UNCHECKED);
}

DisplayChoice ReadChoice(HWND dialog) {
  DisplayChoice choice;
  choice.layout = CheckedLayout(dialog);
  // The user's colour stays whatever happens: without a checked button the
  // scheme is the record's own.
  choice.colorScheme = kColorSchemeCount;
  for (int id = IDC_COLOR_FIRST; id <= IDC_COLOR_LAST; ++id) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) choice.colorScheme = static_cast<std::uint32_t>(id - IDC_COLOR_FIRST);
  }
  choice.stayOnTop = IsDlgButtonChecked(dialog, IDC_STAY_ON_TOP) == BST_CHECKED;
  choice.transparent = IsDlgButtonChecked(dialog, IDC_TRANSPARENT) == BST_CHECKED;
  choice.noTaskbarButton = IsDlgButtonChecked(dialog, IDC_NO_TASKBAR_BUTTON) == BST_CHECKED;
  return choice;
}

// 20 pixels above the panel, keeping the dialog's left; below the panel when
// there is no room above and it fits the screen; otherwise left where it is.
void PlaceAtPanel(HWND dialog, HWND panel) {
  RECT own;
  RECT at;
  if (!GetWindowRect(dialog, &own) || !GetWindowRect(panel, &at)) return;
  int height = own.bottom - own.top;
  int top = at.top - kGapAbovePanel - height;
  if (top < 0) {
    if (at.bottom + height > GetSystemMetrics(SM_CYSCREEN)) return;
    top = at.bottom;
  }
  SetWindowPos(dialog, nullptr, own.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
      PlaceAtPanel(dialog, state->panel);
      PanelController& panel = *state->controller;
      panel.StoreOrigin();
      state->session = std::make_unique<DisplaySettingsSession>(panel.displayState(), panel, [&panel] { panel.SaveDisplay(); });
      ShowChoice(dialog, state->session->initial());
      return TRUE;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CONTEXTHELP || state == nullptr) return FALSE;
      ShowHelpContext(ToWide(state->controller->helpFile()), kDisplaySettingsHelp);
      return TRUE;
    case WM_COMMAND:
      if (state == nullptr) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_PANEL_AQUA:
        case IDC_PANEL_ANALOG:
        case IDC_PANEL_COMPACT: {
          // Each layout family shows the colour it had last.
          DisplayState current = state->controller->displayState();
          ShowScheme(dialog, ColorSchemeForLayout(CheckedLayout(dialog), current.record, current.saveColor));
          return TRUE;
        }
        case IDC_PREVIEW:
          state->session->Preview(ReadChoice(dialog));
          PlaceAtPanel(dialog, state->panel);
          return TRUE;
        case IDOK:
          state->session->Ok(ReadChoice(dialog));
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          state->session->Cancel();
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

bool RunDisplaySettingsDialog(HINSTANCE instance, HWND panel, PanelController& controller) {
  DialogState state;
  state.panel = panel;
  state.controller = &controller;
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DISPLAY_SETTINGS), panel, Procedure,
                                   reinterpret_cast<LPARAM>(&state));
  return result == 1;
}

}  // namespace kestrel
