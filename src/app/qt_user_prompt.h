// The Qt form of the user prompt: modal message boxes, Yes/No questions and file dialogs.
#pragma once

#include <string>

#include "app/user_prompt.h"

class QWidget;

namespace app {

class TQtUserPrompt : public TUserPrompt {
 public:
  // Dialogs are centred on `parent` (which may be null).
  explicit TQtUserPrompt(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Message(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  std::optional<std::string> OpenFile(const std::string& filter) override;
  std::optional<std::string> SaveFile(const std::string& filter) override;
  void SetInitialFolder(const std::string& folder) override { folder_ = folder; }

 private:
  QWidget* parent_;
  std::string folder_;
};

}  // namespace app
