// The one way the application asks the user something: message boxes, Yes/No confirmations and
// file dialogs. Windows use the Qt implementation; tests and the command line use their own.
#pragma once

#include <optional>
#include <string>

namespace app {

class TUserPrompt {
 public:
  virtual ~TUserPrompt() = default;
  // A modal message box with an OK button.
  virtual void Message(const std::string& text) = 0;
  // "ARE YOU SURE ?"-style question; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // A file chosen to open or to save under, or nothing when the user cancels. `filter` uses
  // the "Description (*.ext)|*.ext" form.
  virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
  virtual std::optional<std::string> SaveFile(const std::string& filter) = 0;
  // The folder the next file dialog starts in (a file's path stands for its folder).
  virtual void SetInitialFolder(const std::string& /*folder*/) {}
};

}  // namespace app
