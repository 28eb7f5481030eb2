#include "ui/dialogs/save_as_dialog.h"

#include <array>
#include <vector>

#include "base/string_ids.h"
#include "platform/format.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/editor_ids.h"
#include "ui/dialogs/help_loader.h"
#include "ui/model/plan_icons.h"
#include "ui/model/save_as_model.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

namespace ids = editor_ids;

constexpr DWORD kHelpNewPlan = 10504;
constexpr DWORD kHelpRename = 10115;
// Codes of the PlanLock time-outs: the duplicate check, the copy of the texts.
constexpr std::int64_t kLockCodeDuplicateCheck = 2;
constexpr std::int64_t kLockCodeCopyNames = 14;
constexpr int kIconPixels = 32;

class SaveAsDialog {
 public:
  explicit SaveAsDialog(SaveAsRequest& request) : request_(request) {}

  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SaveAsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<SaveAsDialog*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->dialog_ = dialog;
      return self->OnInit();
    }
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
  }

 private:
  const DialogServices& services() const { return request_.services; }
  bool ecoMode() const { return services().settings.Has(SettingsFlag::EcoMode); }

  std::u16string Load(std::uint32_t id) const { return services().machine.strings.Load(id); }

  HICON LoadPlanIcon(std::uint32_t iconNo) const {
    IconSet set = ecoMode() ? IconSet::Eco : IconSet::Standard;
    std::uint32_t resource = PlanLargeIcon(iconNo, request_.editedMode, set);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                         iconPixels_, iconPixels_, 0));
  }

  void ShowPreview() {
    preview_.reset(LoadPlanIcon(iconNo_));
    SendDlgItemMessageW(dialog_, ids::kIconPreview, STM_SETICON, reinterpret_cast<WPARAM>(preview_.get()), 0);
  }

  std::u16string Text(int id, std::size_t units) const {
    std::vector<wchar_t> buffer(units + 1);
    int length = GetDlgItemTextW(dialog_, id, buffer.data(), static_cast<int>(buffer.size()));
    return FromWide(buffer.data(), static_cast<std::size_t>(length));
  }

  BOOL OnInit() {
    // The icons grow with the screen's DPI like the dialog around them.
    ScopedWindowDc screen;
    iconPixels_ = MulDiv(kIconPixels, GetDeviceCaps(screen.get(), LOGPIXELSY), 96);
    newPlan_ = request_.record.guid.IsNull();
    if (newPlan_) request_.record.iconNo = kNewPlanIconNo;
    iconNo_ = request_.record.iconNo;
    SetWindowTextW(dialog_, ToWide(Load(newPlan_ ? kStringSaveAsCaption : kStringRenameCaption)).c_str());
    SendDlgItemMessageW(dialog_, ids::kNameEdit, EM_LIMITTEXT, kSaveAsNameLimit, 0);
    SendDlgItemMessageW(dialog_, ids::kDescriptionEdit, EM_LIMITTEXT, kSaveAsDescriptionLimit, 0);
    FillPicker();
    ShowPreview();
    std::u16string name = request_.record.name;
    std::u16string description = request_.record.description;
    if (newPlan_ && (GetKeyState(VK_SHIFT) & 0x8000) == 0) {
      name = ProposeNewPlanName(Load(kStringNewPlanName), ListedNames());
      description.clear();
    }
    SetDlgItemTextW(dialog_, ids::kNameEdit, ToWide(name).c_str());
    SetDlgItemTextW(dialog_, ids::kDescriptionEdit, ToWide(description).c_str());
    FocusName();
    UpdateOk();
    return FALSE;  // the focus is set
  }

  void FillPicker() {
    for (std::size_t row = 0; row < kPlanIconTable.size(); ++row) {
      const PlanIconRow& entry = kPlanIconTable[row];
      HWND control = GetDlgItem(dialog_, static_cast<int>(entry.pickerControl));
      if (control == nullptr) continue;
      if (entry.iconNo < 0) {
        ShowWindow(control, SW_HIDE);
        continue;
      }
      pickerIcons_[row].reset(LoadPlanIcon(static_cast<std::uint32_t>(entry.iconNo)));
      SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(pickerIcons_[row].get()), 0);
    }
  }

  std::vector<std::u16string> ListedNames() const {
    std::vector<std::u16string> names;
    std::shared_ptr<const PlanList> list = services().plans.planList();
    for (std::size_t index : list->listed()) names.push_back(list->plans()[index].name);
    return names;
  }

  void FocusName() {
    HWND name = GetDlgItem(dialog_, ids::kNameEdit);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
  }

  void UpdateOk() { EnableWindow(GetDlgItem(dialog_, IDOK), GetWindowTextLengthW(GetDlgItem(dialog_, ids::kNameEdit)) > 0); }

  bool IsDuplicate(const std::u16string& name) {
    PlanLock::Hold hold = services().plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) {
      services().reporter.ReportCode(kStringPlanLockTimeout, kLockCodeDuplicateCheck);
      return false;
    }
    std::shared_ptr<const PlanList> list = services().plans.planList();
    return IsDuplicatePlanName(name, list->plans(), newPlan_ ? Guid{} : request_.record.guid);
  }

  void OnOk() {
    std::u16string name = Text(ids::kNameEdit, kSaveAsNameReadUnits);
    std::u16string description = Text(ids::kDescriptionEdit, kSaveAsDescriptionReadUnits);
    if (IsDuplicate(name)) {
      std::u16string text = FormatText(Load(kStringDuplicatePlanName), {static_cast<int>(kSaveAsNameLimit)});
      services().machine.boxes.Show(reinterpret_cast<WindowHandle>(dialog_), text, services().titleText(),
                                    kMbOk | kMbIconExclamation);
      FocusName();
      return;
    }
    // The record is this dialog's caller's own copy: what the user typed is
    // always kept, also when the plan lock is not to be had.
    PlanLock::Hold hold = services().plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) services().reporter.ReportCode(kStringPlanLockTimeout, kLockCodeCopyNames);
    request_.record.name = std::move(name);
    request_.record.description = std::move(description);
    request_.record.iconNo = iconNo_;
    EndDialog(dialog_, 1);
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == ids::kNameEdit && code == EN_CHANGE) {
          UpdateOk();
          return TRUE;
        }
        if (id >= ids::kFirstPicker && id <= ids::kLastPicker && code == STN_CLICKED) {
          for (const PlanIconRow& entry : kPlanIconTable) {
            if (static_cast<int>(entry.pickerControl) == id && entry.iconNo >= 0) {
              iconNo_ = static_cast<std::uint32_t>(entry.iconNo);
            }
          }
          ShowPreview();
          return TRUE;
        }
        if (id == IDOK) {
          OnOk();
          return TRUE;
        }
        if (id == IDCANCEL) {
          EndDialog(dialog_, 0);
          return TRUE;
        }
        return FALSE;
      }
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
          ShowHelpContext(ToWide(services().helpFile()), newPlan_ ? kHelpNewPlan : kHelpRename);
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

  SaveAsRequest& request_;
  HWND dialog_ = nullptr;
  bool newPlan_ = false;
  std::uint32_t iconNo_ = 0;
  int iconPixels_ = kIconPixels;
  ScopedIcon preview_;
  std::array<ScopedIcon, kPlanIconTable.size()> pickerIcons_;
};

}  // namespace

INT_PTR RunSaveAsDialog(HWND owner, SaveAsRequest& request) {
  SaveAsDialog dialog(request);
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(editor_ids::kSaveAsTemplate), owner,
                         SaveAsDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace kestrel
