#include "app/command_line.h"

namespace kestrel {

StartRequest ParseCommandLine(std::u16string_view commandLine) {
  if (commandLine.find(u"/PowerScheme") != std::u16string_view::npos) return StartRequest::PlanSettings;
  if (commandLine.find(u"/EcoMode") != std::u16string_view::npos) return StartRequest::EcoSettings;
  return StartRequest::None;
}

std::uint32_t MessageOf(StartRequest request) {
  switch (request) {
    case StartRequest::EcoSettings:
      return kMsgOpenEcoSettings;
    case StartRequest::PlanSettings:
      return kMsgOpenPlanSettings;
    case StartRequest::None:
      break;
  }
  return 0;
}

}  // namespace kestrel
