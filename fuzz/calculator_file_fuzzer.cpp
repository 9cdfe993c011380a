// libFuzzer target: bytes read as a calculator file (CitesteFisier) or as a history entry
// (CitesteString). A refused text leaves the whole state as it was and says "Bad file format";
// an accepted one, written back, reads again to the same state through both readers.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/calculator_core.h"
#include "app/calculator_file.h"
#include "app/calculator_session.h"
#include "constants/constant_list.h"
#include "file_fuzz_support.h"

namespace fuzzing {
namespace {

// The panes keep their texts and run no pass: what the passes do with the texts is the
// evaluator targets' concern, and arbitrary definitions may ask for any amount of work.
class TPlainPanes : public app::TCalculatorPanes {
 public:
  std::string DefinitionsText() const override { return definitions; }
  std::string ExpressionsText() const override { return expressions; }
  bool ShowDefinitions(const std::string& text) override {
    definitions = text;
    return true;
  }
  void ShowExpressions(const std::string& text, bool /*run*/) override { expressions = text; }

  std::string definitions;
  std::string expressions;
};

struct TState {
  TQuietPrompt prompt;
  app::TCalculatorCore core{prompt};
  constants::TConstantList constants{core, prompt};
  TPlainPanes panes;
  app::TCalculatorSession session{core, constants, panes, prompt};
};

// A pane's text as the passes read it: its lines joined without separators.
std::string Joined(const std::string& text) {
  std::string joined;
  for (const char c : text) {
    if (c != '\r' && c != '\n') joined += c;
  }
  return joined;
}

// Everything a read may change: the written state, the function variable and the settings
// (compared bit for bit, since a missing setting is NaN). `joined` takes the panes as the passes
// read them: the file reader keeps no blank line of a pane, and a line of blanks joins the next.
std::string Snapshot(TState& state, bool joined = false) {
  std::string snapshot;
  if (joined) {
    std::vector<app::TConstantEntry> entries;
    for (std::int32_t row = 1; row <= state.constants.Count(); ++row)
      entries.push_back(state.constants.Entry(row));
    snapshot =
        app::WriteCalculatorText(entries, state.core.FunctionVariable,
                                 Joined(state.panes.definitions), Joined(state.panes.expressions));
  } else {
    snapshot = state.session.ScrieString();
  }
  snapshot += '\0' + state.core.FunctionVariable + '\0';
  for (int index = app::stFrom; index <= app::stDetTolerance; ++index) {
    const double value = state.core.GetSetting(index);
    char bits[sizeof value];
    std::memcpy(bits, &value, sizeof value);
    snapshot.append(bits, sizeof bits);
  }
  return snapshot;
}

bool ReadFile(TState& state, std::string_view bytes) {
  state.session.CalcFileName = InputFile(bytes, "calculator");
  state.session.HasCalcFile = true;
  return state.session.CitesteFisier();
}

void CheckRefusal(TState& state, const std::string& before, bool fromFile) {
  if (Snapshot(state) != before) FileViolation("a refused text changed the state");
  if (state.prompt.Last() != "Bad file format") FileViolation("refusal without its message");
  if (fromFile && state.session.HasCalcFile) FileViolation("a refused file is kept as current");
}

// The state written as the history writes it reads back the same; written as the save writes
// it, the same up to the panes' line breaks, and from then on the same.
void CheckRoundTrip(TState& state) {
  const std::string accepted = Snapshot(state);
  const std::string acceptedJoined = Snapshot(state, true);
  std::vector<app::TConstantEntry> entries;
  for (std::int32_t row = 1; row <= state.constants.Count(); ++row)
    entries.push_back(state.constants.Entry(row));
  // A state the save refuses need not read back.
  if (app::UnreadableText(entries, state.core.FunctionVariable, state.panes.definitions,
                          state.panes.expressions)) {
    return;
  }
  const std::string text = state.session.ScrieString();
  if (!state.session.CitesteString(text)) FileViolation("a written history entry was refused");
  if (Snapshot(state) != accepted) FileViolation("a history entry read back differently", text);
  if (!ReadsBackAsWritten(text)) return;
  if (!ReadFile(state, text)) FileViolation("a written calculator file was refused", text);
  if (Snapshot(state, true) != acceptedJoined) {
    FileViolation("a calculator file read back differently",
                  text + "-- read back as --\n" + state.session.ScrieString());
  }
  const std::string once = Snapshot(state);
  const std::string again = state.session.ScrieString();
  // Joined lines may have brought together the bytes of a UTF-8 character.
  if (!ReadsBackAsWritten(again)) return;
  if (!ReadFile(state, again) || Snapshot(state) != once) {
    FileViolation("a calculator file saved twice read back differently", again);
  }
}

}  // namespace
}  // namespace fuzzing

// The first byte chooses the reader: even for the file, odd for the history entry.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  if (size == 0) return 0;
  const bool fromFile = (data[0] & 1) == 0;
  const std::string text(AsText(data + 1, size - 1));
  TState state;
  const std::string before = Snapshot(state);
  const bool accepted = fromFile ? ReadFile(state, text) : state.session.CitesteString(text);
  if (accepted) {
    CheckRoundTrip(state);
  } else {
    CheckRefusal(state, before, fromFile);
  }
  return 0;
}
