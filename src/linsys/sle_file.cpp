// The ".sle" writer and reader over the shared brace-block scanner.
#include "linsys/sle_file.h"

#include "app/calculator_file.h"
#include "app/memo_text.h"

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
  // from these texts again is the same file byte for byte.
  std::string_view equations = (*blocks)[1];
  if (equations.ends_with(kLineEnd)) equations.remove_suffix(kLineEnd.size());
  texts.equations.reserve(equations.size());
  for (std::size_t i = 0; i < equations.size(); ++i) {
    if (equations[i] == '\r' && i + 1 < equations.size() && equations[i + 1] == '\n') continue;
    texts.equations += equations[i];
  }
  return texts;
}

}  // namespace linsys
