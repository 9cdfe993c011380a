// The ".sle" writer and reader over the shared brace-block scanner.
#include "linsys/sle_file.h"

#include <algorithm>

#include "app/calculator_file.h"
#include "app/memo_text.h"
#include "evaluator/text_utils.h"

namespace linsys {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool HasBrace(std::string_view text) {
  return text.find_first_of("{}") != std::string_view::npos;
}

}  // namespace

std::string WriteSleText(const std::string& variables, const std::string& equations) {
  const std::string variablesLine = app::MemoAsOneLine(variables);
  std::string text;
  for (const std::string_view line :
       {kVariablesTitle, std::string_view("{"), std::string_view(variablesLine),
        std::string_view("}"), std::string_view(), kEquationsTitle, std::string_view("{")}) {
    text += line;
    text += kLineEnd;
  }
  text += app::WithCrLf(equations);
  text += kLineEnd;
  text += "}";
  text += kLineEnd;
  return text;
}

std::optional<std::string_view> SleBlockWithBrace(const std::string& variables,
                                                  const std::string& equations) {
  if (HasBrace(variables)) return kVariablesTitle;
  if (HasBrace(equations)) return kEquationsTitle;
  return std::nullopt;
}

std::optional<TSleTexts> ReadSleText(std::string_view bytes) {
  app::TSectionScanner scanner(2);
  if (!scanner.ScanLines(bytes, [](std::size_t block) { return block == 2; })) return std::nullopt;
  std::optional<std::vector<std::string>> blocks = scanner.Result();
  if (!blocks) return std::nullopt;

  TSleTexts texts;
  for (const char c : app::MemoAsOneLine((*blocks)[0])) {
    if (c != ' ') texts.variables += c;
  }
  // Every line of the block came with CR LF; the last one ends the text, and a file written
  // from these texts again is the same file byte for byte. A lone CR inside a line breaks it
  // too, as the writer writes it, and the blank pieces it leaves are dropped like blank lines,
  // so that what was read is what a save writes back.
  std::string_view equations = (*blocks)[1];
  texts.equations.reserve(equations.size());
  while (!equations.empty()) {
    const std::size_t end = std::min(equations.find_first_of("\r\n"), equations.size());
    const std::string_view line = equations.substr(0, end);
    equations.remove_prefix(end);
    while (!equations.empty() && (equations.front() == '\r' || equations.front() == '\n'))
      equations.remove_prefix(1);
    if (evaluator::TrimBlanks(line).empty()) continue;
    if (!texts.equations.empty()) texts.equations += '\n';
    texts.equations += line;
  }
  return texts;
}

}  // namespace linsys
