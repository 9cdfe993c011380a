// TForm24.
#include "constants/const_delete_dialog.h"

namespace constants {

TForm24::TForm24(app::TUserPrompt& prompt, std::function<bool(int, int)> remove, QWidget* parent)
    : TBlockDialog(prompt, tr("Delete definition"), 1, 1, parent), remove_(std::move(remove)) {}

}  // namespace constants
