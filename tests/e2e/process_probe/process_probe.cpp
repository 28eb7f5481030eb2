// ProcessProbe.exe: what Windows reports of another process's resources, for
// the idle-cost measurement and the burst tests.
//   ProcessProbe.exe <pid | image name>
// prints one line:
//   pid=<n> private=<bytes> pagefile=<bytes> working=<bytes> handles=<n> gdi=<n> user=<n> threads=<n>
// (Wine 8 reports PrivateUsage as 0 and PagefileUsage as the resident
// anonymous memory; Windows reports both.)
// Exit codes: 0 printed, 2 no such process, 1 bad usage or a query failed.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct ProcessEntry {
  DWORD pid = 0;
  DWORD threads = 0;
};

// Finds the process by id or by image name (the first match, case-insensitive).
bool FindProcess(const std::wstring& wanted, ProcessEntry& found) {
  wchar_t* end = nullptr;
  const unsigned long asNumber = std::wcstoul(wanted.c_str(), &end, 10);
  const bool byId = end != wanted.c_str() && *end == L'\0';
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool match = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !match; more = Process32NextW(snapshot, &entry)) {
    match = byId ? entry.th32ProcessID == asNumber : lstrcmpiW(entry.szExeFile, wanted.c_str()) == 0;
    if (match) found = {entry.th32ProcessID, entry.cntThreads};
  }
  CloseHandle(snapshot);
  return match;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: ProcessProbe.exe <pid | image name>\n", stderr);
    return 1;
  }
  ProcessEntry process;
  if (!FindProcess(argv[1], process)) {
    std::fputs("no such process\n", stderr);
    return 2;
  }
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process.pid);
  if (!handle) {
    std::fprintf(stderr, "OpenProcess failed: %lu\n", GetLastError());
    return 1;
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  DWORD handles = 0;
  const bool ok = GetProcessMemoryInfo(handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory) &&
                  GetProcessHandleCount(handle, &handles);
  const DWORD gdi = GetGuiResources(handle, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(handle, GR_USEROBJECTS);
  CloseHandle(handle);
  if (!ok) {
    std::fprintf(stderr, "query failed: %lu\n", GetLastError());
    return 1;
  }
  std::printf("pid=%lu private=%llu pagefile=%llu working=%llu handles=%lu gdi=%lu user=%lu threads=%lu\n", process.pid,
              static_cast<unsigned long long>(memory.PrivateUsage),
              static_cast<unsigned long long>(memory.PagefileUsage),
              static_cast<unsigned long long>(memory.WorkingSetSize), handles, gdi, user, process.threads);
  return 0;
}
