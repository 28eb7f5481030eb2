#include "base/error_reporter.h"

#include <algorithm>

#include "platform/format.h"
#include "platform/owned_handle.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The line is rendered into a 300-character buffer; with its terminator that
// leaves 299 characters, and the line must keep its CR LF.
constexpr std::size_t kMaxLineUnits = 299;

}  // namespace

void ErrorReporter::SetCaption(std::u16string caption) { caption_ = std::move(caption); }

std::u16string ErrorReporter::CodeDetail(std::int64_t code) { return FormatText(u"0x%I64x", {code}); }

std::u16string ErrorReporter::FormatLogLine(const LocalTime& time, std::u16string_view text,
                                            std::u16string_view detail) {
  std::u16string stamp = FormatText(u"[%d/%02d/%02d %02d:%02d:%02d] ",
                                    {time.year, time.month, time.day, time.hour, time.minute, time.second});
  std::u16string tail = FormatText(u"(%s)\r\n", {detail});
  // An over-long text is cut so that the stamp, the detail and the line end survive.
  std::size_t room = kMaxLineUnits - std::min(kMaxLineUnits, stamp.size() + tail.size());
  return stamp + std::u16string(text.substr(0, room)) + tail;
}

void ErrorReporter::ReportCode(std::uint32_t messageId, std::int64_t code, std::uint32_t flags) {
  Report(messageId, CodeDetail(code), flags);
}

void ErrorReporter::ReportPlan(std::uint32_t messageId, const Guid& plan, std::uint32_t flags) {
  Report(messageId, ToString(plan), flags);
}

void ErrorReporter::Report(std::uint32_t messageId, std::u16string_view detail, std::uint32_t flags) {
  std::u16string text = Truncate(machine_.strings.Load(messageId), 260);
  if (flags & kReportLog) AppendLine(FormatLogLine(machine_.clock.Local(), text, detail));
  if (flags & kReportBox) {
    machine_.boxes.Show(0, FormatText(u"%s(%s)", {text, detail}), caption_, kMbOk | kMbIconHand);
  }
}

void ErrorReporter::AppendLine(const std::u16string& line) {
  // Writers inside the process take turns; another process holding the file
  // makes the open fail, and that entry is dropped silently.
  std::lock_guard<std::mutex> guard(logMutex_);
  FileHandle handle = 0;
  if (machine_.files.OpenExclusive(kErrorLogPath, true, handle) != kSuccess) return;
  OwnedFile file(machine_.files, handle);
  machine_.files.AppendToEnd(file.get(), Utf16ToBytes(line, false));
}

}  // namespace kestrel
