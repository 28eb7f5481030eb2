// Reads the error log the way a person would: UTF-16LE lines.
#pragma once
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "platform/text.h"
#include "support/memory_file_system.h"

namespace kestrel::testing {

inline std::u16string ReadLog(InMemoryFileSystem& files) {
  auto bytes = files.Contents(kErrorLogPath);
  if (!bytes) return {};
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) text.push_back(static_cast<char16_t>((*bytes)[i] | ((*bytes)[i + 1] << 8)));
  return text;
}

inline std::vector<std::u16string> LogLines(InMemoryFileSystem& files) {
  std::u16string text = ReadLog(files);
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The part of a line after its time stamp: "text(detail)".
inline std::u16string WithoutStamp(const std::u16string& line) {
  std::size_t close = line.find(u"] ");
  return close == std::u16string::npos ? line : line.substr(close + 2);
}

// The log's lines without their time stamps, oldest first.
inline std::vector<std::u16string> LoggedTexts(InMemoryFileSystem& files) {
  std::vector<std::u16string> texts;
  for (const std::u16string& line : LogLines(files)) texts.push_back(WithoutStamp(line));
  return texts;
}

}  // namespace kestrel::testing
