#include "ui/dialogs/hot_key_dialog.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/editor_ids.h"
#include "ui/dialogs/help_loader.h"
#include "ui/model/hot_key_dialog_model.h"

namespace kestrel {
namespace {

namespace ids = editor_ids;

constexpr DWORD kHelpHotKey = 10506;
constexpr std::uint32_t kResetButtonThreeModes = 248;
constexpr std::uint32_t kDiscardChanges = 535;

// The row in effect, kept for the life of the process.
std::size_t g_rememberedRow = 0;

class HotKeyDialog {
 public:
  explicit HotKeyDialog(const DialogServices& services) : services_(services), model_(g_rememberedRow) {}
  ~HotKeyDialog() { g_rememberedRow = model_.remembered(); }

  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HotKeyDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<HotKeyDialog*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->dialog_ = dialog;
      self->OnInit();
      return TRUE;
    }
    return self != nullptr ? self->Handle(message, wParam) : FALSE;
  }

 private:
  Registry& registry() const { return services_.machine.registry; }
  HWND combo() const { return GetDlgItem(dialog_, ids::kHotKeyCombo); }
  WindowHandle handle() const { return reinterpret_cast<WindowHandle>(dialog_); }

  int Ask(std::uint32_t id) {
    return services_.machine.boxes.Show(handle(), services_.machine.strings.Load(id), services_.titleText(),
                                        kMbOkCancel | kMbIconQuestion);
  }

  void Select(std::size_t row) { SendMessageW(combo(), CB_SETCURSEL, row, 0); }

  std::size_t Selected() const {
    LRESULT row = SendMessageW(combo(), CB_GETCURSEL, 0, 0);
    return row < 0 ? 0 : static_cast<std::size_t>(row);
  }

  void OnInit() {
    for (std::size_t row = 0; row < kHotKeyRowCount; ++row) {
      std::wstring name = ToWide(services_.machine.strings.Load(HotKeyRowNameString(row)));
      SendMessageW(combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    std::optional<HotKeyCombination> stored = ReadHotKeyChoice(registry(), kHkeyCurrentUser);
    if (!stored) stored = ReadHotKeyChoice(registry(), kHkeyLocalMachine);
    model_.Open(stored);
    Select(model_.selected());
    if (services_.config.ecoModel() == EcoModel::ThreeModes) {
      SetDlgItemTextW(dialog_, ids::kHotKeyReset, ToWide(services_.machine.strings.Load(kResetButtonThreeModes)).c_str());
    }
  }

  void OnOk() {
    model_.Select(Selected());
    // ApplyRow unregisters, registers the row and stores it; a refused
    // combination is explained and the previous one registered again.
    if (!services_.hotKey.ApplyRow(handle(), model_.selected(), model_.remembered())) return;
    model_.Remember(model_.selected());
    EndDialog(dialog_, 0);
  }

  void OnCancel() {
    model_.Select(Selected());
    if (model_.closingAsks() && Ask(kDiscardChanges) != kIdOk) return;
    EndDialog(dialog_, 0);
  }

  void OnReset() {
    if (Ask(kStringHotKeyResetQuestion) != kIdOk) return;
    std::optional<std::size_t> row = services_.hotKey.ResetToInitial();
    if (!row) return;
    model_.Remember(*row);
    Select(*row);
  }

  INT_PTR Handle(UINT message, WPARAM wParam) {
    switch (message) {
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            OnOk();
            return TRUE;
          case IDCANCEL:
            OnCancel();
            return TRUE;
          case ids::kHotKeyReset:
            OnReset();
            return TRUE;
          default:
            return FALSE;
        }
      case WM_CLOSE:
        OnCancel();
        return TRUE;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
          ShowHelpContext(ToWide(services_.helpFile()), kHelpHotKey);
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

  const DialogServices& services_;
  HotKeyDialogModel model_;
  HWND dialog_ = nullptr;
};

}  // namespace

INT_PTR RunHotKeyDialog(HWND owner, const DialogServices& services) {
  HotKeyDialog dialog(services);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(editor_ids::kHotKeyTemplate), owner, HotKeyDialog::Proc,
                  reinterpret_cast<LPARAM>(&dialog));
  return 0;
}

}  // namespace kestrel
