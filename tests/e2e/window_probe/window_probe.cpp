// WindowProbe.exe: drives and reads a running program through its main window,
// for the burst and fault tests.
//   windows <class>           the number of windows (top-level and child) of the
//                             process that owns the top-level window of <class>
//   handles <class>           the number of kernel handles that process holds, from
//                             the system's handle table (Wine answers
//                             GetProcessHandleCount of another process with 0)
//   answer <class>            sends WM_NULL with a 1 s time-out; prints the
//                             milliseconds the window took to answer
//   post <class> <message> <count> <wParam> <lParam> [<wParam> <lParam>...]
//                             posts the message <count> times with each pair of
//                             parameters in turn, as fast as the queue takes
//                             them; <message> is a number or the name of a
//                             registered message
// Numbers are decimal or 0x-hexadecimal. Exit codes: 0 done, 2 no such window
// or it did not answer in time, 1 bad usage or a post failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

bool ParseNumber(const wchar_t* text, unsigned long long& value) {
  wchar_t* end = nullptr;
  value = std::wcstoull(text, &end, 0);
  return end != text && *end == L'\0';
}

struct Count {
  DWORD pid;
  int windows;
};

BOOL CALLBACK CountChild(HWND window, LPARAM data) {
  auto* count = reinterpret_cast<Count*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == count->pid) ++count->windows;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
  CountChild(window, data);
  EnumChildWindows(window, CountChild, data);
  return TRUE;
}

int CountWindows(HWND main) {
  Count count{0, 0};
  GetWindowThreadProcessId(main, &count.pid);
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
  std::printf("%d\n", count.windows);
  return 0;
}

// SYSTEM_HANDLE_INFORMATION (information class 16) as ntdll fills it.
struct HandleEntry {
  ULONG processId;
  UCHAR objectType;
  UCHAR flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};
struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

int CountHandles(HWND main) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 1;
  std::vector<unsigned char> buffer(1 << 16);
  LONG status = 0;
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status != kInfoLengthMismatch) break;
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
  }
  if (status != 0) {
    std::fprintf(stderr, "NtQuerySystemInformation failed: 0x%08lx\n", static_cast<unsigned long>(status));
    return 1;
  }
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  unsigned count = 0;
  for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].processId == pid ? 1 : 0;
  std::printf("%u\n", count);
  return 0;
}

int Answer(HWND main) {
  DWORD_PTR result = 0;
  ULONGLONG started = GetTickCount64();
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)) {
    std::fprintf(stderr, "no answer within 1000 ms (error %lu)\n", GetLastError());
    return 2;
  }
  std::printf("%llu\n", GetTickCount64() - started);
  return 0;
}

int Post(HWND main, int argc, wchar_t** argv) {
  unsigned long long message = 0, count = 0;
  if (!ParseNumber(argv[3], message)) message = RegisterWindowMessageW(argv[3]);
  if (message == 0 || !ParseNumber(argv[4], count) || argc < 7 || (argc - 5) % 2 != 0) return 1;
  std::vector<std::pair<WPARAM, LPARAM>> parameters;
  for (int i = 5; i + 1 < argc; i += 2) {
    unsigned long long w = 0, l = 0;
    if (!ParseNumber(argv[i], w) || !ParseNumber(argv[i + 1], l)) return 1;
    parameters.emplace_back(static_cast<WPARAM>(w), static_cast<LPARAM>(l));
  }
  for (unsigned long long n = 0; n < count; ++n) {
    for (const auto& [w, l] : parameters) {
      // A full queue refuses the post: wait for it to drain a little and retry.
      int tries = 0;
      while (!PostMessageW(main, static_cast<UINT>(message), w, l)) {
        if (++tries > 1000) {
          std::fprintf(stderr, "PostMessageW failed: %lu\n", GetLastError());
          return 1;
        }
        Sleep(1);
      }
    }
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: WindowProbe.exe windows|handles|answer|post <class> ...\n", stderr);
    return 1;
  }
  HWND main = FindWindowW(argv[2], nullptr);
  if (!main) {
    std::fputs("no such window\n", stderr);
    return 2;
  }
  std::wstring command = argv[1];
  if (command == L"windows") return CountWindows(main);
  if (command == L"answer") return Answer(main);
  if (command == L"handles") return CountHandles(main);
  if (command == L"post" && argc >= 7) return Post(main, argc, argv);
  std::fputs("usage: WindowProbe.exe windows|handles|answer|post <class> ...\n", stderr);
  return 1;
}
