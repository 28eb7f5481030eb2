// The file, sync and messaging adapters against Wine.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_messaging.h"
#include "platform/win32/win32_sync.h"
#include "platform/win32/windows_api.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kLogPath = u"adapter-test.log";

TEST(FileSystemAdapter, ExclusiveHiddenLogAppendsAndRefusesASecondOpener) {
  Win32FileSystem files;
  files.Delete(kLogPath);
  FileHandle first = 0;
  ASSERT_EQ(files.OpenExclusive(kLogPath, true, first), kSuccess);
  FileHandle second = 0;
  EXPECT_EQ(files.OpenExclusive(kLogPath, true, second), kErrorSharingViolation);
  ASSERT_EQ(files.AppendToEnd(first, {'a', 'b'}), kSuccess);
  ASSERT_EQ(files.Close(first), kSuccess);

  EXPECT_NE(GetFileAttributesW(L"adapter-test.log") & FILE_ATTRIBUTE_HIDDEN, 0u);
  ASSERT_EQ(files.OpenExclusive(kLogPath, true, first), kSuccess);
  ASSERT_EQ(files.AppendToEnd(first, {'c'}), kSuccess);
  ASSERT_EQ(files.Close(first), kSuccess);

  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(files.ReadAll(kLogPath, bytes), kSuccess);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'a', 'b', 'c'}));
  EXPECT_EQ(files.Exists(kLogPath), kSuccess);
  EXPECT_EQ(files.Delete(kLogPath), kSuccess);
  EXPECT_EQ(files.Exists(kLogPath), kErrorFileNotFound);
  EXPECT_EQ(files.ReadAll(kLogPath, bytes), kErrorFileNotFound);
}

TEST(SyncAdapter, NamedMutexesEventsAndThreads) {
  Win32Sync sync;
  SyncHandle missing = 0;
  EXPECT_EQ(sync.OpenMutex(u"KestrelAdapterTestMutex", missing), kErrorFileNotFound);
  SyncHandle first = 0, second = 0, opened = 0;
  bool existed = true;
  ASSERT_EQ(sync.CreateMutex(u"KestrelAdapterTestMutex", first, existed), kSuccess);
  EXPECT_FALSE(existed);
  ASSERT_EQ(sync.CreateMutex(u"KestrelAdapterTestMutex", second, existed), kSuccess);
  EXPECT_TRUE(existed);
  EXPECT_EQ(sync.OpenMutex(u"KestrelAdapterTestMutex", opened), kSuccess);
  EXPECT_EQ(sync.Wait(first, 0), WaitResult::Signaled);
  EXPECT_EQ(sync.ReleaseMutex(first), kSuccess);
  for (SyncHandle handle : {first, second, opened}) EXPECT_EQ(sync.Close(handle), kSuccess);

  SyncHandle event = 0;
  ASSERT_EQ(sync.CreateEvent(true, false, event), kSuccess);
  EXPECT_EQ(sync.Wait(event, 0), WaitResult::Timeout);
  std::atomic<bool> ran = false;
  SyncHandle thread = 0;
  ASSERT_EQ(sync.StartThread(
                [&] {
                  ran = true;
                  sync.SetEvent(event);
                },
                thread),
            kSuccess);
  EXPECT_EQ(sync.Wait(thread, 10000), WaitResult::Signaled);
  EXPECT_TRUE(ran);
  EXPECT_EQ(sync.Wait(event, 0), WaitResult::Signaled);
  EXPECT_EQ(sync.ResetEvent(event), kSuccess);
  EXPECT_EQ(sync.Wait(event, 0), WaitResult::Timeout);
  sync.Close(thread);
  sync.Close(event);
}

TEST(MessagingAdapter, FindsAWindowByClassAndPostsToIt) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KestrelAdapterTestWindow";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND window = CreateWindowExW(0, L"KestrelAdapterTestWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  Win32Messaging messaging;
  EXPECT_EQ(messaging.FindWindowByClass(u"KestrelAdapterTestWindow"), reinterpret_cast<WindowHandle>(window));
  EXPECT_EQ(messaging.FindWindowByClass(u"KestrelNoSuchWindowClass"), 0u);
  std::uint32_t registered = messaging.RegisterMessage(u"KestrelAdapterTestMessage");
  EXPECT_GE(registered, 0xC000u);
  EXPECT_EQ(messaging.RegisterMessage(u"KestrelAdapterTestMessage"), registered);

  ASSERT_EQ(messaging.Post(reinterpret_cast<WindowHandle>(window), 1340, 7, -3), kSuccess);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, window, 1340, 1340, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_EQ(message.lParam, -3);
  LParam answer = 1;
  EXPECT_EQ(messaging.SendWithTimeout(reinterpret_cast<WindowHandle>(window), WM_NULL, 0, 0, 1000, answer), kSuccess);
  EXPECT_EQ(answer, 0);
  DestroyWindow(window);
}

}  // namespace
}  // namespace kestrel
