// TgrfForm4.
#include "conversion/vertex_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>

#include "app/user_prompt.h"
#include "constants/dialog_layout.h"

namespace conversion {

TgrfForm4::TgrfForm4(app::TUserPrompt& prompt,
                     std::function<void(std::int32_t, std::int32_t)> chosen, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      chosen_(std::move(chosen)),
      beginBox_(new QComboBox(this)),
      endBox_(new QComboBox(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  resize(320, 110);
  beginBox_->setObjectName("ComboBox1");
  endBox_->setObjectName("ComboBox2");
  beginBox_->setAccessibleName(tr("Begin vertex"));
  endBox_->setAccessibleName(tr("End vertex"));
  auto* fields = new QFormLayout;
  fields->addRow(tr("&Begin vertex"), beginBox_);
  fields->addRow(tr("&End vertex"), endBox_);
  cancelButton_ = constants::LayOutOkCancel(this, fields, okButton_);
  okButton_->setAccessibleName(tr("Ok"));
  cancelButton_->setAccessibleName(tr("Cancel"));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &TgrfForm4::OkClick);
}

void TgrfForm4::Open(const QString& caption, const QStringList& units) {
  setWindowTitle(caption);
  for (QComboBox* box : {beginBox_, endBox_}) {
    box->clear();
    box->addItems(units);
    box->setCurrentIndex(-1);
  }
  show();
  raise();
  activateWindow();
  beginBox_->setFocus();
}

void TgrfForm4::OkClick() {
  const int begin = beginBox_->currentIndex();
  const int end = endBox_->currentIndex();
  if (begin < 0 || end < 0) {
    prompt_.Message(kEnterUnits);
    return;
  }
  accept();
  if (chosen_) chosen_(begin + 1, end + 1);
}

}  // namespace conversion
