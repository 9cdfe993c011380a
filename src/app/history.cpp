// THistory and the log file.
#include "app/history.h"

#include <algorithm>
#include <ctime>

#include "app/safe_save.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return evaluator::AsciiLower(x) == evaluator::AsciiLower(y);
         });
}

}  // namespace

bool THistory::Add(const std::string& state) {
  const bool known = std::any_of(entries_.begin(), entries_.end(), [&](const std::string& entry) {
    return EqualIgnoringCase(entry, state);
  });
  if (known) return false;
  entries_.push_back(state);
  index_ = LastPosition();
  if (index_ > 0) undoEnabled_ = true;
  redoEnabled_ = false;
  return true;
}

std::optional<std::string> THistory::Undo() {
  if (index_ > 0) {
    --index_;
    redoEnabled_ = true;
    if (index_ == 0) undoEnabled_ = false;
    return entries_[static_cast<std::size_t>(index_)];
  }
  undoEnabled_ = false;
  redoEnabled_ = !entries_.empty();
  index_ = 0;
  return std::nullopt;
}

std::optional<std::string> THistory::Redo() {
  if (index_ < LastPosition()) {
    ++index_;
    undoEnabled_ = true;
    if (index_ == LastPosition()) redoEnabled_ = false;
    return entries_[static_cast<std::size_t>(index_)];
  }
  redoEnabled_ = false;
  // With nothing recorded there is nothing to step back to either.
  undoEnabled_ = !entries_.empty();
  index_ = std::max(LastPosition(), 0);
  return std::nullopt;
}

void THistory::Clear() {
  entries_.clear();
  index_ = 0;
  undoEnabled_ = false;
  redoEnabled_ = false;
}

std::string THistory::IndexText() const {
  return "History Index: " + std::to_string(index_);
}

std::string LogRecord(const std::string& state, std::time_t when) {
  char stamp[32] = {};
  std::tm local{};
  localtime_r(&when, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(65, '=') + "\r\n" + stamp + "\r\n\r\n" + state;
}

std::optional<std::string> AppendToLog(const std::string& path, const std::string& record) {
  return SafeAppend(path, record);
}

}  // namespace app
