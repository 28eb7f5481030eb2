// Fitting a value label into its static: the text unchanged when it fits,
// else the longest prefix that fits together with "..." followed by "...".
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace kestrel {

struct FittedLabel {
  std::u16string text;
  bool cut = false;  // the full text goes to the tooltip
};

// `measure` gives a text's width in the label's font.
FittedLabel FitLabel(std::u16string_view text, int width, const std::function<int(std::u16string_view)>& measure);

}  // namespace kestrel
