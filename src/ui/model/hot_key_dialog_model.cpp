#include "ui/model/hot_key_dialog_model.h"

namespace kestrel {

void HotKeyDialogModel::Open(const std::optional<HotKeyCombination>& stored) {
  if (!stored) {
    selected_ = 0;
    return;
  }
  Remember(RowOfCombination(*stored).value_or(0));
}

}  // namespace kestrel
