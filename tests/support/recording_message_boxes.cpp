#include "support/recording_message_boxes.h"

namespace kestrel {

int RecordingMessageBoxes::Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                                std::uint32_t style) {
  shown_.push_back(ShownMessageBox{owner, std::u16string(text), std::u16string(caption), style});
  if (answers_.empty()) return defaultAnswer_;
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace kestrel
