// TForm24, "Delete definition": deletes a block of constants from the selected category of the
// definition table.
#pragma once

#include <functional>

#include "constants/block_dialog.h"

namespace constants {

class TForm24 : public TBlockDialog {
  Q_OBJECT

 public:
  // `remove` performs the deletion of (from, count) and says whether the dialog is done.
  TForm24(app::TUserPrompt& prompt, std::function<bool(int, int)> remove,
          QWidget* parent = nullptr);

 protected:
  bool Delete(int from, int count) override { return remove_ && remove_(from, count); }

 private:
  std::function<bool(int, int)> remove_;
};

}  // namespace constants
