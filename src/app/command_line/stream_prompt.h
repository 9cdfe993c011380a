// TStreamPrompt: the command line's TUserPrompt. Message boxes become lines on a stream;
// questions are answered No and no file is ever chosen, so nothing is read or written through it.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/user_prompt.h"

namespace app {

class TStreamPrompt : public TUserPrompt {
 public:
  explicit TStreamPrompt(std::ostream& stream) : stream_(stream) {}
  void Message(const std::string& text) override {
    stream_ << text << '\n';
    last = text;
  }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }

  // The latest message, which a verb may print as its answer.
  std::string last;

 private:
  std::ostream& stream_;
};

}  // namespace app
