// A prompt that records the message boxes and cancels every file dialog.
#pragma once

#include <string>
#include <vector>

#include "app/user_prompt.h"

namespace linsys {

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

}  // namespace linsys
