// TCalculatorSession.
#include "app/calculator_session.h"

#include <array>
#include <cmath>
#include <ctime>
#include <limits>

#include "app/safe_save.h"
#include "app/text_file.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

constexpr const char* kBadFileFormat = "Bad file format";
constexpr const char* kMissingEquals = "Bad constants section : missing '=' : ";
constexpr const char* kMissingSemicolon = "Bad constants section : missing ';' : ";
constexpr const char* kDuplicateName = "Doublecating variable name : ";
constexpr std::array<const char*, 5> kInternalNames = {"FROM", "TO", "STEP", "COLWIDTH",
                                                       "DETTOLERANCE"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (evaluator::AsciiLower(a[i]) != evaluator::AsciiLower(b[i])) return false;
  }
  return true;
}

std::string WithoutCharacter(std::string_view text, char dropped) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != dropped) out += c;
  }
  return out;
}

}  // namespace

TCalculatorSession::TCalculatorSession(TCalculatorCore& core, TConstantTable& constants,
                                       TCalculatorPanes& panes, TUserPrompt& prompt,
                                       std::string logPath)
    : core_(core),
      constants_(constants),
      panes_(panes),
      prompt_(prompt),
      logPath_(std::move(logPath)) {}

std::vector<TConstantEntry> TCalculatorSession::ConstantEntries() const {
  std::vector<TConstantEntry> entries;
  for (std::int32_t row = 1; row <= constants_.Count(); ++row)
    entries.push_back(constants_.Entry(row));
  return entries;
}

std::string TCalculatorSession::ScrieString() const {
  return WriteCalculatorText(ConstantEntries(), core_.FunctionVariable, panes_.DefinitionsText(),
                             panes_.ExpressionsText());
}

bool TCalculatorSession::ScrieFisier() {
  if (!HasCalcFile) return false;
  const std::vector<TConstantEntry> entries = ConstantEntries();
  if (const auto unreadable = UnreadableText(entries, core_.FunctionVariable,
                                             panes_.DefinitionsText(), panes_.ExpressionsText())) {
    // The reader would split the text elsewhere and refuse or change what it reads back.
    prompt_.Message("Cannot save " + CalcFileName + ": the \"" + std::string(unreadable->section) +
                    "\" section holds " + unreadable->what +
                    ", which a calculator file cannot keep");
    return false;
  }
  const std::string text = WriteCalculatorText(entries, core_.FunctionVariable,
                                               panes_.DefinitionsText(), panes_.ExpressionsText());
  if (const auto failure = SafeSave(CalcFileName, text)) {
    HasCalcFile = false;
    prompt_.Message(*failure);
    return false;
  }
  AddHistory();
  return true;
}

bool TCalculatorSession::CitesteFisier() {
  if (!HasCalcFile) return false;
  std::string bytes;
  if (const auto failure = ReadFileBytes(CalcFileName, bytes, kMaxCalculatorFileBytes)) {
    HasCalcFile = false;
    prompt_.Message(*failure);
    return false;
  }
  const std::optional<TCalculatorSections> sections =
      ReadCalculatorFileText(SingleByteText(std::move(bytes)));
  if (!sections) {
    HasCalcFile = false;
    prompt_.Message(kBadFileFormat);
    return false;
  }
  ReadDatas(sections->constants, sections->functionVariable, sections->expressions,
            sections->definitions);
  AddHistory();
  return true;
}

bool TCalculatorSession::CitesteString(const std::string& text) {
  const std::optional<TCalculatorSections> sections = ReadCalculatorText(text);
  if (!sections) {
    prompt_.Message(kBadFileFormat);
    return false;
  }
  ReadDatas(sections->constants, sections->functionVariable, sections->expressions,
            sections->definitions);
  return true;
}

void TCalculatorSession::ReadDatas(const std::string& constantsText,
                                   const std::string& functionVariable,
                                   const std::string& expressionsText,
                                   const std::string& definitionsText) {
  constants_.Reset();
  std::array<bool, kInternalNames.size()> given{};

  std::string text = evaluator::TrimBlanks(constantsText);
  text = evaluator::TrimBlanks(WithoutCharacter(text, '\r'));
  text = evaluator::TrimBlanks(WithoutCharacter(text, '\n'));
  std::string_view rest = text;
  for (std::size_t semicolon = rest.find(';'); semicolon != std::string_view::npos;
       semicolon = rest.find(';')) {
    const std::string_view item = rest.substr(0, semicolon);
    rest.remove_prefix(semicolon + 1);
    const std::size_t equals = item.find('=');
    if (equals == std::string_view::npos) {
      prompt_.Message(kMissingEquals + std::string(item));
      continue;
    }
    TConstantEntry entry;
    entry.name = evaluator::TrimBlanks(item.substr(0, equals));
    const std::string_view value = item.substr(equals + 1);
    const std::size_t comment = value.find("//");
    if (comment == std::string_view::npos) {
      entry.expression = std::string(value);
    } else if (value.find('=') != std::string_view::npos) {
      // A comment ran into the next definition: its ";" is missing.
      prompt_.Message(kMissingSemicolon + std::string(value));
      continue;
    } else {
      entry.expression = evaluator::TrimBlanks(value.substr(0, comment));
      entry.comment = std::string(value.substr(comment + 2));
    }
    std::int32_t row = constants_.Count() + 1;
    for (std::size_t k = 0; k < kInternalNames.size(); ++k) {
      if (!EqualsIgnoringCase(entry.name, kInternalNames[k])) continue;
      row = static_cast<std::int32_t>(k + 1);
      if (given[k]) row = 0;
      given[k] = true;
      break;
    }
    if (row == 0) {
      prompt_.Message(kDuplicateName + entry.name);
      continue;
    }
    constants_.Store(row, entry);
  }
  if (!rest.empty()) prompt_.Message(kMissingSemicolon + std::string(rest));

  constants_.Refresh();
  evaluator::TTalvekComplexEval& eval = *core_.ConstantsEval;
  for (std::int32_t n = 1; n <= std::min<std::int32_t>(eval.VariableCount, 5); ++n) {
    const evaluator::TEvalValue* value = eval.VarVect[static_cast<std::size_t>(n - 1)].value;
    const bool real = value != nullptr && value->IsRealOrCurrency();
    core_.SetSetting(n, real ? value->AsDouble() : std::numeric_limits<double>::quiet_NaN());
  }

  core_.SetFunctionVariable(functionVariable);
  const bool defined = panes_.ShowDefinitions(definitionsText);
  panes_.ShowExpressions(expressionsText, defined);
}

bool TCalculatorSession::AddHistory() {
  const std::string state = ScrieString();
  if (!history_.Add(state)) return false;
  if (!logPath_.empty()) {
    if (const auto failure = AppendToLog(logPath_, LogRecord(state, std::time(nullptr)))) {
      prompt_.Message(*failure);
    }
  }
  return true;
}

bool TCalculatorSession::Undo() {
  const std::optional<std::string> entry = history_.Undo();
  return entry && CitesteString(*entry);
}

bool TCalculatorSession::Redo() {
  const std::optional<std::string> entry = history_.Redo();
  return entry && CitesteString(*entry);
}

}  // namespace app
