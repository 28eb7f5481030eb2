// The UI's resource owners and the adapters' LastError against Wine.
#include <gtest/gtest.h>

#include "platform/win32/win32_status.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {
namespace {

TEST(ScopedWin, OwnersReleaseWhatTheyHoldAndSelectionsAreUndone) {
  HMENU kept = nullptr;
  {
    ScopedMenu menu(CreatePopupMenu());
    ASSERT_TRUE(menu);
    ScopedMenu moved(std::move(menu));
    EXPECT_FALSE(menu);
    kept = moved.get();
    EXPECT_TRUE(IsMenu(kept));
  }
  EXPECT_FALSE(IsMenu(kept));

  HFONT font = nullptr;
  {
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    ScopedFont owned(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    ASSERT_TRUE(owned);
    font = owned.get();
    HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    {
      ScopedSelectObject selected(dc.get(), font);
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_EQ(GetObjectType(font), 0u);

  ScopedBrush released(CreateSolidBrush(RGB(1, 2, 3)));
  HBRUSH brush = released.release();
  EXPECT_FALSE(released);
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(brush);
}

TEST(ScopedWin, LastErrorNeverReportsAFailureAsSuccess) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LastError(), kErrorCallNotImplemented);
}

}  // namespace
}  // namespace kestrel
