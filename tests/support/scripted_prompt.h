// The test double of the user prompt: it records what the code under test shows and asks, and
// answers questions and file dialogs as the test scripts them.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/user_prompt.h"

namespace app {

class TScriptedPrompt : public TUserPrompt {
 public:
  void Message(const std::string& text) override {
    messages.push_back(text);
    if (onMessage) onMessage();
  }
  bool Confirm(const std::string& text) override {
    questions.push_back(text);
    return Next(answers, answer);
  }
  std::optional<std::string> OpenFile(const std::string& filter) override {
    filters.push_back(filter);
    return Next(files, file);
  }
  std::optional<std::string> SaveFile(const std::string& filter) override {
    filters.push_back(filter);
    return Next(files, file);
  }
  void SetInitialFolder(const std::string& folder) override { initialFolder = folder; }

  std::vector<std::string> messages;
  // Runs after a message is recorded: what a modal box does to the window while it is open.
  std::function<void()> onMessage;

  std::vector<std::string> questions;
  std::deque<bool> answers;  // the next answers to Confirm, used up in order
  bool answer = false;       // the answer once `answers` is used up

  std::vector<std::string> filters;              // of every open and save dialog, in order
  std::deque<std::optional<std::string>> files;  // the next files chosen, used up in order
  std::optional<std::string> file;  // the choice once `files` is used up; nothing cancels

  std::string initialFolder;

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, const T& fallback) {
    if (queue.empty()) return fallback;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
  }
};

}  // namespace app
