// The one place failures are reported: a time-stamped line appended to
// ".\error.log" (UTF-16LE, no byte-order mark, CR LF) and/or a message box,
// each text coming from the string table by its number.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/guid.h"
#include "platform/machine.h"

namespace kestrel {

// Flags of a report.
inline constexpr std::uint32_t kReportLog = 1;
inline constexpr std::uint32_t kReportBox = 2;

inline constexpr std::u16string_view kErrorLogPath = u".\\error.log";

class ErrorReporter {
 public:
  explicit ErrorReporter(Machine& machine) : machine_(machine) {}

  // Caption of the message boxes (the program's title text).
  void SetCaption(std::u16string caption);

  void ReportCode(std::uint32_t messageId, std::int64_t code, std::uint32_t flags = kReportLog);
  void ReportPlan(std::uint32_t messageId, const Guid& plan, std::uint32_t flags = kReportLog);

  // The log line for a text and its parenthesised detail, as written to the file.
  static std::u16string FormatLogLine(const LocalTime& time, std::u16string_view text, std::u16string_view detail);
  static std::u16string CodeDetail(std::int64_t code);

 private:
  void Report(std::uint32_t messageId, std::u16string_view detail, std::uint32_t flags);
  void AppendLine(const std::u16string& line);

  Machine& machine_;
  std::mutex logMutex_;
  std::u16string caption_;
};

}  // namespace kestrel
