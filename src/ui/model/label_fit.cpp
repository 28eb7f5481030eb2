#include "ui/model/label_fit.h"

namespace kestrel {

FittedLabel FitLabel(std::u16string_view text, int width, const std::function<int(std::u16string_view)>& measure) {
  if (measure(text) <= width) return {std::u16string(text), false};
  std::u16string candidate;
  for (std::size_t length = text.size(); length > 0; --length) {
    candidate.assign(text.substr(0, length));
    candidate += u"...";
    if (measure(candidate) <= width) return {candidate, true};
  }
  return {u"...", true};
}

}  // namespace kestrel
