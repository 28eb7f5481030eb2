// The adapter list, the readable-file check and the thread priority against Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_network_adapters.h"
#include "platform/win32/win32_sync.h"
#include "platform/win32/windows_api.h"

namespace kestrel {
namespace {

TEST(NetworkAdaptersAdapter, ListsEveryAdaptersInterfaceType) {
  Win32NetworkAdapters adapters;
  std::vector<std::uint32_t> types{12345};
  ASSERT_EQ(adapters.InterfaceTypes(types), kSuccess);
  // Wine lists at least its loopback adapter; the list is read afresh.
  EXPECT_FALSE(types.empty());
  EXPECT_EQ(std::count(types.begin(), types.end(), 12345u), 0);
  EXPECT_EQ(HasWirelessAdapter(adapters), std::count(types.begin(), types.end(), kIfTypeIeee80211) != 0);
}

TEST(FileSystemAdapter, SizeOfReadableOpensWithoutReading) {
  Win32FileSystem files;
  constexpr std::u16string_view kPath = u"readable-size-test.bin";
  files.Delete(kPath);
  std::uint64_t size = 99;
  EXPECT_EQ(files.SizeOfReadable(kPath, size), kErrorFileNotFound);
  FileHandle file = 0;
  ASSERT_EQ(files.OpenExclusive(kPath, false, file), kSuccess);
  ASSERT_EQ(files.AppendToEnd(file, std::vector<std::uint8_t>(1000, 7)), kSuccess);
  // Held open without sharing: it does not open for reading.
  EXPECT_EQ(files.SizeOfReadable(kPath, size), kErrorSharingViolation);
  ASSERT_EQ(files.Close(file), kSuccess);
  ASSERT_EQ(files.SizeOfReadable(kPath, size), kSuccess);
  EXPECT_EQ(size, 1000u);
  files.Delete(kPath);
}

TEST(SyncAdapter, RaisesAThreadAboveNormal) {
  Win32Sync sync;
  SyncHandle started = 0;
  ASSERT_EQ(sync.CreateEvent(true, false, started), kSuccess);
  SyncHandle thread = 0;
  ASSERT_EQ(sync.StartThread([&] { sync.Wait(started, 5000); }, thread), kSuccess);
  ASSERT_EQ(sync.RaiseThreadPriority(thread), kSuccess);
  EXPECT_EQ(GetThreadPriority(ToHandle(thread)), THREAD_PRIORITY_ABOVE_NORMAL);
  sync.SetEvent(started);
  EXPECT_EQ(sync.Wait(thread, 5000), WaitResult::Signaled);
  sync.Close(thread);
  sync.Close(started);
}

}  // namespace
}  // namespace kestrel
