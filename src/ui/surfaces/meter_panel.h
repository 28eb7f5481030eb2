// The meter panel's window: a layered modeless dialog (resource 535) whose
// procedure hands every message to PanelController and paints its view with
// GDI+ into an off-screen canvas; four tooltip tools (plan name, boost,
// minimise, battery).
#pragma once
#include <windows.h>

#include "app/panel_controller.h"
#include "app/panel_host.h"
#include "platform/user_interface.h"

namespace kestrel {

class Win32PanelHost : public PanelHost {
 public:
  Win32PanelHost(HINSTANCE instance, StringTable& strings) : instance_(instance), strings_(strings) {}
  ~Win32PanelHost() override;
  Win32PanelHost(const Win32PanelHost&) = delete;
  Win32PanelHost& operator=(const Win32PanelHost&) = delete;

  Status Create(PanelController& controller, const PanelWindowSetup& setup, WindowHandle& window) override;
  void Destroy() override;
  void Show() override;
  void Hide() override;
  void Invalidate(const Rect& area) override;
  void InvalidateAll() override;
  bool Origin(Point& origin) override;
  void Place(Point origin, PanelSize size) override;
  Status SetTopmost(bool topmost) override;
  Status SetAlpha(std::uint8_t alpha) override;
  void CaptureMouse(bool capture) override;
  Point CursorPosition() override;
  void SetExtendedStyle(bool topmost) override;
  void ShowContextHelp(std::uint32_t helpId) override;
  void ShowHelp(std::uint32_t context) override;
  bool OpenDisplaySettings() override;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void CreateTooltips();
  void PlaceTooltips();
  bool TooltipText(LPARAM lParam);
  void TrackLeave();

  HINSTANCE instance_;
  StringTable& strings_;
  PanelController* controller_ = nullptr;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  std::wstring title_;
  std::wstring boostTip_;
  std::wstring minimizeTip_;
  std::wstring dynamicTip_;
  bool trackingLeave_ = false;
  int regionWidth_ = 0;
  int regionHeight_ = 0;
};

}  // namespace kestrel
