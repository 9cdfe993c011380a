// TForm12.
#include "constants/constant_delete_window.h"

#include "constants/constant_list.h"

namespace constants {

TForm12::TForm12(app::TUserPrompt& prompt, TConstantList& list, std::function<void()> deleted,
                 QWidget* parent)
    : TBlockDialog(prompt, tr("Delete constants"), 5, 1, parent),
      list_(list),
      deleted_(std::move(deleted)) {}

bool TForm12::Delete(int from, int count) {
  if (!list_.DeleteConsts(from, count)) return false;
  if (deleted_) deleted_();
  return true;
}

}  // namespace constants
