// The calculator file's writer and its brace-block reader.
#include "app/calculator_file.h"

#include "app/text_file.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool HasBrace(std::string_view text) {
  return text.find_first_of("{}") != std::string_view::npos;
}

}  // namespace

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += kLineEnd;
    } else if (c == '\n') {
      out += kLineEnd;
    } else {
      out += c;
    }
  }
  return out;
}

std::string WriteCalculatorText(const std::vector<TConstantEntry>& constants,
                                const std::string& functionVariable, const std::string& definitions,
                                const std::string& expressions) {
  std::string text;
  const auto line = [&text](std::string_view content) {
    text += content;
    text += kLineEnd;
  };
  const auto block = [&](std::string_view title, const std::string& content) {
    line("");
    line(title);
    line("{");
    line(WithCrLf(evaluator::TrimBlanks(content)));
    line("}");
  };
  line(kSectionTitles[0]);
  line("{");
  for (const TConstantEntry& row : constants) {
    if (evaluator::TrimBlanks(row.comment).empty()) {
      line(row.name + " = " + row.expression + ";");
    } else {
      line(row.name + " = " + row.expression + " //" + row.comment + ";");
    }
  }
  line("}");
  block(kSectionTitles[1], functionVariable);
  block(kSectionTitles[2], definitions);
  block(kSectionTitles[3], expressions);
  return text;
}

std::optional<TUnreadableText> UnreadableText(const std::vector<TConstantEntry>& constants,
                                              const std::string& functionVariable,
                                              const std::string& definitions,
                                              const std::string& expressions) {
  const std::string brace = "\"{\" or \"}\"";
  const auto holds = [](std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
  };
  for (const TConstantEntry& row : constants) {
    const auto in = [&row](std::string_view what) {
      return TUnreadableText{kSectionTitles[0], std::string(what) + " in the constant " + row.name};
    };
    if (HasBrace(row.name) || HasBrace(row.expression) || HasBrace(row.comment)) return in(brace);
    if (holds(row.name, ";") || holds(row.expression, ";") || holds(row.comment, ";")) {
      return in("\";\"");
    }
    if (holds(row.name, "=") || holds(row.comment, "=")) return in("\"=\"");
    if (holds(row.expression, "//")) return in("\"//\"");
  }
  if (HasBrace(functionVariable)) return TUnreadableText{kSectionTitles[1], brace};
  if (HasBrace(definitions)) return TUnreadableText{kSectionTitles[2], brace};
  if (HasBrace(expressions)) return TUnreadableText{kSectionTitles[3], brace};
  return std::nullopt;
}

bool TSectionScanner::Scan(std::string_view characters) {
  if (stopped_) return false;
  for (const char c : characters) {
    if (c == '}') {
      ++closed_;
      inside_ = false;
    } else if (c == '{') {
      inside_ = true;
      ++opened_;
    } else if (inside_ && opened_ >= 1 && opened_ <= sections_.size()) {
      sections_[opened_ - 1] += c;
    }
    if (opened_ < closed_) {
      stopped_ = true;
      return false;
    }
  }
  return true;
}

bool TSectionScanner::ScanLine(std::string_view line, bool keepBreak) {
  const bool appended = keepBreak && !evaluator::TrimBlanks(line).empty();
  return Scan(line) && (!appended || Scan(kLineEnd));
}

std::optional<std::vector<std::string>> TSectionScanner::Result() const {
  if (stopped_ || opened_ != closed_ || opened_ != sections_.size()) return std::nullopt;
  return sections_;
}

namespace {

std::optional<TCalculatorSections> CalculatorSections(const TSectionScanner& scanner) {
  std::optional<std::vector<std::string>> blocks = scanner.Result();
  if (!blocks) return std::nullopt;
  return TCalculatorSections{std::move((*blocks)[0]), std::move((*blocks)[1]),
                             std::move((*blocks)[2]), std::move((*blocks)[3])};
}

}  // namespace

std::optional<TCalculatorSections> ReadCalculatorFileText(std::string_view bytes) {
  if (!IsText(bytes)) return std::nullopt;
  TSectionScanner scanner(4);
  if (!scanner.ScanLines(bytes, [](std::size_t) { return true; })) return std::nullopt;
  return CalculatorSections(scanner);
}

std::optional<TCalculatorSections> ReadCalculatorText(std::string_view text) {
  if (!IsText(text)) return std::nullopt;
  TSectionScanner scanner(4);
  scanner.Scan(text);
  std::optional<TCalculatorSections> sections = CalculatorSections(scanner);
  if (!sections) return std::nullopt;
  for (std::string* section : {&sections->constants, &sections->functionVariable,
                               &sections->definitions, &sections->expressions}) {
    *section = evaluator::TrimBlanks(*section);
  }
  return sections;
}

}  // namespace app
