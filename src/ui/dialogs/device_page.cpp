#include "ui/dialogs/device_page.h"

#include <algorithm>

#include "base/settings_record.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/eco_settings_common.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/model/device_script.h"

namespace kestrel {

using namespace eco_ids;

namespace {

constexpr DWORD kIdleWaitMs = 1000;
constexpr DWORD kMessageDialogWaitMs = 2500;
// wParam of 1029 to the panel: drop behind the other windows, come back.
constexpr WPARAM kPanelBehind = static_cast<WPARAM>(-2);
constexpr WPARAM kPanelTopmost = static_cast<WPARAM>(-1);

HWND FindByClassAndTitle(const std::u16string& className, const std::u16string& title) {
  if (className.empty() || title.empty()) return nullptr;
  return FindWindowW(ToWide(className).c_str(), ToWide(title).c_str());
}

// Moves `window` to the sheet's top-left corner, kept inside the work area.
void MoveBesideSheet(HWND window, HWND sheet) {
  RECT sheetRect{}, rect{}, area{};
  GetWindowRect(sheet, &sheetRect);
  GetWindowRect(window, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int x = std::clamp<int>(sheetRect.left, area.left, std::max<int>(area.left, area.right - width));
  int y = std::clamp<int>(sheetRect.top, area.top, std::max<int>(area.top, area.bottom - height));
  SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(window);
}

}  // namespace

class DevicePage {
 public:
  DevicePage(SettingsDialogHost& host, DeviceInstances& devices) : host_(host), devices_(devices) {}
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void RestorePanel();

 private:
  void Init();
  void OpenSelected();
  void RunItem(const DeviceItem& item);
  void PlayKeys(const DeviceItem& item);

  SettingsDialogHost& host_;
  DeviceInstances& devices_;
  HWND dialog_ = nullptr;
  bool panelSentBehind_ = false;
};

void DevicePageDeleter::operator()(DevicePage* page) const { delete page; }

void RestorePanelAfterDevicePage(DevicePage* page) {
  if (page != nullptr) page->RestorePanel();
}

void DevicePage::Init() {
  HWND list = GetDlgItem(dialog_, kDeviceList);
  const std::vector<DeviceItem>& items = host_.deviceItems();
  for (const DeviceItem& item : items) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item.name).c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EnableControl(dialog_, kDeviceButton, !items.empty());
}

void DevicePage::RestorePanel() {
  if (!panelSentBehind_) return;
  panelSentBehind_ = false;
  if (WindowHandle panel = host_.panelWindow()) {
    SendMessageW(reinterpret_cast<HWND>(panel), kMsgPanelOrder, kPanelTopmost, 0);
  }
}

void DevicePage::OpenSelected() {
  WindowHandle panel = host_.panelWindow();
  if (panel != 0 && host_.Has(SettingsFlag::StayOnTop) && !panelSentBehind_) {
    SendMessageW(reinterpret_cast<HWND>(panel), kMsgPanelOrder, kPanelBehind, 0);
    InvalidateRect(reinterpret_cast<HWND>(panel), nullptr, TRUE);
    panelSentBehind_ = true;
  }
  LRESULT selected = SendDlgItemMessageW(dialog_, kDeviceList, LB_GETCURSEL, 0, 0);
  const std::vector<DeviceItem>& items = host_.deviceItems();
  if (selected == LB_ERR || static_cast<std::size_t>(selected) >= items.size()) return;
  RunItem(items[static_cast<std::size_t>(selected)]);
}

void DevicePage::RunItem(const DeviceItem& item) {
  HWND sheet = GetParent(dialog_);
  if (HWND open = FindByClassAndTitle(item.addWinClassCheck, item.addWinTitleCheck)) {
    MoveBesideSheet(open, sheet);
    return;
  }
  std::optional<std::u16string> deviceId;
  if (item.setupClass) {
    std::vector<std::u16string> ids;
    if (devices_.ListInstanceIds(*item.setupClass, ids) == kSuccess) deviceId = FindDeviceInstance(ids, item.searchId);
  }
  std::optional<std::u16string> command = ExpandDeviceScript(item.data, deviceId);
  if (!command || command->empty()) return;  // a script that cannot be expanded is not run
  std::wstring commandLine = ToWide(*command);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return;
  }
  WaitForInputIdle(process.hProcess, kIdleWaitMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  HWND opened = FindByClassAndTitle(item.addWinClass, item.addWinTitle);
  if (opened == nullptr) return;
  MoveBesideSheet(opened, sheet);
  PlayKeys(item);
}

void DevicePage::PlayKeys(const DeviceItem& item) {
  std::vector<KeyEvent> events = ParseKeyEvents(item.addWinAdata);
  for (std::size_t index = 0; index < events.size(); ++index) {
    if (item.addMsgPos >= 0 && static_cast<std::size_t>(item.addMsgPos) == index && !item.addMsgTitle.empty()) {
      Sleep(kMessageDialogWaitMs);
      if (FindWindowW(L"#32770", ToWide(item.addMsgTitle).c_str()) != nullptr) {
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
      }
    }
    keybd_event(events[index].key, 0, events[index].down ? 0 : KEYEVENTF_KEYUP, 0);
  }
}

INT_PTR DevicePage::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      dialog_ = dialog;
      Init();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDeviceButton) OpenSelected();
      if (LOWORD(wParam) == kDeviceList && HIWORD(wParam) == LBN_DBLCLK) OpenSelected();
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == PSN_APPLY || header->code == PSN_QUERYCANCEL) {
        RestorePanel();
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, header->code == PSN_APPLY ? PSNRET_NOERROR : FALSE);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

HPROPSHEETPAGE CreateDeviceSheetPage(HINSTANCE instance, SettingsDialogHost& host, DeviceInstances& devices,
                                     std::unique_ptr<DevicePage, DevicePageDeleter>& state) {
  state.reset(new DevicePage(host, devices));
  return CreateSheetPage(instance, kDevicePageTemplate, state.get());
}

}  // namespace kestrel
