// THistory, the list of whole calculator states the user steps through with "&Undo" and
// "&Redo", and the log file that keeps a copy of every state recorded.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace app {

class THistory {
 public:
  // Appends `state` unless an entry equal to it, ignoring letter case, exists; true when it
  // was appended (the caller then writes the log record).
  bool Add(const std::string& state);
  // The entry to apply, or nothing when there is no earlier (later) one; the index and the
  // items' states move as the menu items do.
  std::optional<std::string> Undo();
  std::optional<std::string> Redo();
  void Clear();

  // The entry last recorded or restored, counted from 0; 0 when the list is empty.
  int Index() const { return index_; }
  const std::vector<std::string>& Entries() const { return entries_; }
  bool UndoEnabled() const { return undoEnabled_; }
  bool RedoEnabled() const { return redoEnabled_; }
  // "History Index: " + the index, as status panel 1 shows it.
  std::string IndexText() const;

 private:
  int LastPosition() const { return static_cast<int>(entries_.size()) - 1; }

  std::vector<std::string> entries_;
  int index_ = 0;
  bool undoEnabled_ = false;
  bool redoEnabled_ = false;
};

// The log record of `state` at `when`: a line of 65 "=", the local date and time, an empty line
// and the state (which ends with its own line break).
std::string LogRecord(const std::string& state, std::time_t when);

// Appends `record` to the log at `path`, creating the file when it is missing. Appending never
// rewrites what the log holds, and an append that fails part-way leaves it as it was. Nothing on
// success, else "Cannot write " + path + ": " + reason.
std::optional<std::string> AppendToLog(const std::string& path, const std::string& record);

}  // namespace app
