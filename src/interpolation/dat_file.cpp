// Writing and reading ".dat" files.
#include "interpolation/dat_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/safe_save.h"
#include "app/text_file.h"
#include "evaluator/eval_errors.h"
#include "evaluator/text_utils.h"

namespace interpolation {

namespace {

using evaluator::EEvalError;
using evaluator::TrimBlanks;

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// The first position in `text` where `stop` holds outside parentheses, or npos. A comma or a
// blank inside a call's brackets, as in max(1,2), belongs to the cell. Only brackets that pair
// up count: a "(" that is never closed, as in a cell "(8", would otherwise take the rest of the
// line into its field, and the fields after it would be lost.
template <typename Stop>
std::size_t FirstOutsideBrackets(std::string_view text, Stop stop) {
  // Most cells hold no bracket: a plain search then does, without the pairing's bookkeeping,
  // which a file of a million lines would otherwise pay for on every field.
  if (text.find_first_of("()") == std::string_view::npos) {
    const auto found = std::find_if(text.begin(), text.end(), stop);
    return found == text.end() ? std::string_view::npos
                               : static_cast<std::size_t>(found - text.begin());
  }
  std::vector<bool> paired(text.size(), false);
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') {
      open.push_back(i);
    } else if (text[i] == ')' && !open.empty()) {
      paired[open.back()] = paired[i] = true;
      open.pop_back();
    }
  }
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (paired[i]) {
      depth += text[i] == '(' ? 1 : -1;
    } else if (depth == 0 && stop(text[i])) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::size_t FieldEnd(std::string_view rest) {
  const std::size_t comma = FirstOutsideBrackets(rest, [](char c) { return c == ','; });
  return comma != std::string_view::npos ? comma : FirstOutsideBrackets(rest, IsBlank);
}

// A cell as written so that it reads back as the same field: an empty cell, or a text that
// would split where it is read, goes in parentheses, which leave its value as it is. A text
// whose brackets do not pair up gets as many more as make every bracket of it pair, since the
// outer ones would otherwise pair with its own and leave a part of it outside.
std::string WrittenCell(const std::string& text, bool lastField) {
  if (text.empty()) return "()";
  const std::size_t split =
      lastField ? FirstOutsideBrackets(text, [](char c) { return c == ','; }) : FieldEnd(text);
  if (split == std::string::npos) return text;
  std::size_t unclosed = 0;
  std::size_t unopened = 0;
  for (const char c : text) {
    if (c == '(') {
      ++unclosed;
    } else if (c == ')') {
      if (unclosed > 0) {
        --unclosed;
      } else {
        ++unopened;
      }
    }
  }
  return std::string(unopened + 1, '(') + text + std::string(unclosed + 1, ')');
}

}  // namespace

std::string DatFileText(const TInterpolationSheet& sheet) {
  std::string text;
  for (std::size_t r = 0; r < sheet.RowCount(); ++r) {
    text += sheet.CellText(r, scNumber);
    text += "  ";
    text += WrittenCell(sheet.Row(r).x, false);
    text += "  ";
    text += WrittenCell(sheet.Row(r).fx, true);
    text += "\r\n";
  }
  return text;
}

TSheetRow DatLineRow(std::string_view line) {
  std::vector<std::string> fields;
  std::string rest = TrimBlanks(line);
  while (!rest.empty() && fields.size() < 3) {
    const std::size_t end = fields.size() == 2 ? std::string::npos : FieldEnd(rest);
    if (end == std::string::npos) {
      fields.push_back(rest);
      break;
    }
    fields.push_back(TrimBlanks(std::string_view(rest).substr(0, end)));
    rest = TrimBlanks(std::string_view(rest).substr(end + 1));
  }
  switch (fields.size()) {
    case 3:
      return {fields[1], fields[2]};
    case 2:
      return {fields[0], fields[1]};
    case 1:
      return {fields[0], ""};
    default:
      return {};
  }
}

std::vector<TSheetRow> DatFileRows(std::string_view text) {
  std::vector<TSheetRow> rows;
  std::size_t begin = 0;
  // A file of CR line ends would otherwise be one line whose CRs split the fields as blanks.
  const char lineBreak = app::LineBreakOf(text);
  while (begin < text.size()) {
    std::size_t end = text.find(lineBreak, begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (rows.size() == static_cast<std::size_t>(kMaxSheetRows)) {
      throw EEvalError("Too many lines: a sheet holds at most " + std::to_string(kMaxSheetRows) +
                       " rows");
    }
    rows.push_back(DatLineRow(line));
    begin = end + 1;
  }
  return rows;
}

std::vector<TSheetRow> ReadDatFile(const std::string& path) {
  std::string bytes;
  if (const std::optional<std::string> failure = app::ReadTextFile(path, bytes, kMaxDatBytes)) {
    throw EEvalError(*failure);
  }
  return DatFileRows(bytes);
}

void WriteDatFile(const std::string& path, const TInterpolationSheet& sheet) {
  if (const std::optional<std::string> failure = app::SafeSave(path, DatFileText(sheet))) {
    throw EEvalError(*failure);
  }
}

void LoadSheetFile(TInterpolationSheet& sheet, const std::string& path) {
  sheet.SetRows(ReadDatFile(path));
  sheet.FileName = path;
  sheet.HasFile = true;
}

void SaveSheetFile(TInterpolationSheet& sheet, const std::string& path) {
  WriteDatFile(path, sheet);
  sheet.FileName = path;
  sheet.HasFile = true;
}

}  // namespace interpolation
