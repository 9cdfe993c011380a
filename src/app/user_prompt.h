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

// Texts that the tables' delete dialogs share.
inline constexpr const char* kAreYouSure = "ARE YOU SURE ?";
inline constexpr const char* kInvalidNumber = "Invalid #";
inline constexpr const char* kInvalidCount = "Invalid count";

// The checks of a delete dialog of a table of `size` rows before rows `from` (1-based) on are
// deleted, at most `count` of them: a start within the table, a positive count, then the
// user's Yes. Shows the refusal's message; true when the rows may go.
inline bool ConfirmBlockDelete(TUserPrompt& prompt, int from, int count, int size) {
  if (from < 1 || from > size) {
    prompt.Message(kInvalidNumber);
    return false;
  }
  if (count <= 0) {
    prompt.Message(kInvalidCount);
    return false;
  }
  return prompt.Confirm(kAreYouSure);
}

}  // namespace app
