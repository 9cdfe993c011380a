// TForm12, "Delete constants": deletes a block of user constants from the constant list.
#pragma once

#include <functional>

#include "constants/block_dialog.h"

namespace constants {

class TConstantList;

class TForm12 : public TBlockDialog {
  Q_OBJECT

 public:
  // `deleted` runs after a deletion, before the dialog closes.
  TForm12(app::TUserPrompt& prompt, TConstantList& list, std::function<void()> deleted,
          QWidget* parent = nullptr);

 protected:
  bool Delete(int from, int count) override;

 private:
  TConstantList& list_;
  std::function<void()> deleted_;
};

}  // namespace constants
