// Message boxes that show nothing: each box is recorded and answered from a
// script of results (then the default answer, kIdOk unless changed).
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace kestrel {

struct ShownMessageBox {
  WindowHandle owner = 0;
  std::u16string text;
  std::u16string caption;
  std::uint32_t style = 0;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  int Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t style) override;

  // The next boxes answer these results, in order.
  void ScriptAnswers(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  void SetDefaultAnswer(int answer) { defaultAnswer_ = answer; }

  const std::vector<ShownMessageBox>& shown() const { return shown_; }
  void Clear() { shown_.clear(); }

 private:
  std::vector<ShownMessageBox> shown_;
  std::deque<int> answers_;
  int defaultAnswer_ = kIdOk;
};

}  // namespace kestrel
