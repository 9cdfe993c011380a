// How tool windows read a memo: one expression that may span lines.
#pragma once

#include <string>

#include "evaluator/text_utils.h"

namespace app {

// The text trimmed, with carriage returns and line feeds removed, trimmed again.
inline std::string MemoAsOneLine(const std::string& text) {
  std::string joined;
  joined.reserve(text.size());
  for (char c : evaluator::TrimBlanks(text)) {
    if (c != '\r' && c != '\n') joined += c;
  }
  return evaluator::TrimBlanks(joined);
}

}  // namespace app
