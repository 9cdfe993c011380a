// Options --eval, --stdin, --derive, --equivalent, --help and --version.
#include "app/command_line.h"

#include <iostream>
#include <map>
#include <optional>

#include "app/calculator_core.h"
#include "app/derivative_tool.h"
#include "app/equivalence.h"

#ifndef CALC_VERSION
#define CALC_VERSION "0.0"
#endif

namespace app {

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  calculator                                        start the window\n"
    "  calculator --eval TEXT [--defs TEXT] [--currency]  print the results of TEXT\n"
    "  calculator --stdin [--defs TEXT] [--currency]      one expressions text per input line;\n"
    "                                                    prints ok<TAB>results... or "
    "error<TAB>message\n"
    "  calculator --derive TEXT --var NAME [--mathematica]\n"
    "                                                    print the derivative of TEXT\n"
    "  calculator --equivalent TEXT1 TEXT2               print Yes, No or Indeterminate\n"
    "  calculator --help | --version\n";

// Message boxes go to a stream, one line each; questions are answered No and no file is ever
// chosen, so nothing is read or written.
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
  std::string last;

 private:
  std::ostream& stream_;
};

struct TOptions {
  std::string mode;
  std::map<std::string, std::string> values;  // option -> its text
  std::vector<std::string> texts;             // texts of --equivalent
  bool currency = false;
  bool mathematica = false;
};

std::optional<TOptions> ReadOptions(const std::vector<std::string>& arguments) {
  TOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto takeValue = [&](const std::string& key) {
      if (i + 1 >= arguments.size() || options.values.count(key) != 0) return false;
      options.values[key] = arguments[++i];
      return true;
    };
    auto setMode = [&](const std::string& mode) {
      if (!options.mode.empty()) return false;
      options.mode = mode;
      return true;
    };
    bool ok = true;
    if (a == "--eval" || a == "--derive") {
      ok = setMode(a) && takeValue(a);
    } else if (a == "--stdin" || a == "--help" || a == "--version") {
      ok = setMode(a);
    } else if (a == "--equivalent") {
      ok = setMode(a) && i + 2 < arguments.size();
      if (ok) {
        options.texts = {arguments[i + 1], arguments[i + 2]};
        i += 2;
      }
    } else if (a == "--defs" || a == "--var") {
      ok = takeValue(a);
    } else if (a == "--currency") {
      options.currency = true;
    } else if (a == "--mathematica") {
      options.mathematica = true;
    } else {
      ok = false;
    }
    if (!ok) return std::nullopt;
  }
  const bool evaluates = options.mode == "--eval" || options.mode == "--stdin";
  const bool derives = options.mode == "--derive";
  if (options.mode.empty() || (options.values.count("--defs") != 0 && !evaluates) ||
      (options.currency && !evaluates) || (options.values.count("--var") != 0) != derives ||
      (options.mathematica && !derives)) {
    return std::nullopt;
  }
  return options;
}

// The results pane's text, one line per result, or the message a failure left there.
std::vector<std::string> Shown(const TCalculatorCore& core, const TStreamPrompt& prompt) {
  if (!core.Results().empty()) return core.Results();
  return {prompt.last};
}

int Evaluate(const TOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  TStreamPrompt prompt(err);
  TCalculatorCore core(prompt);
  core.CurrencyFormat = options.currency;
  const auto defs = options.values.find("--defs");
  const std::string definitions = defs == options.values.end() ? std::string() : defs->second;
  if (!core.DefinitionsPass(definitions)) {
    for (const std::string& line : Shown(core, prompt))
      out << line << '\n';
    return 1;
  }
  if (options.mode == "--eval") {
    const bool ok = core.ExpressionsPass(options.values.at("--eval"), definitions);
    for (const std::string& line : Shown(core, prompt))
      out << line << '\n';
    return ok ? 0 : 1;
  }
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    prompt.last.clear();
    const bool ok = core.ExpressionsPass(line, definitions);
    const std::vector<std::string> shown = Shown(core, prompt);
    out << (ok ? "ok" : "error");
    for (const std::string& value : shown)
      out << '\t' << value;
    out << std::endl;
  }
  return 0;
}

int Equivalent(const TOptions& options, std::ostream& out, std::ostream& err) {
  TStreamPrompt prompt(err);
  TEquivalenceTest test(prompt);
  out << test.Verdict(options.texts[0], options.texts[1]) << '\n';
  return 0;
}

// What the derivative window's "&Differentiate" shows: the derivative, or the message.
int Derive(const TOptions& options, std::ostream& out) {
  TDerivativeTool tool;
  bool produced = false;
  out << tool.Differentiate(options.values.at("--derive"), options.values.at("--var"),
                            options.mathematica, produced)
      << '\n';
  return produced ? 0 : 1;
}

}  // namespace

bool IsCommandLine(const std::vector<std::string>& arguments) {
  return !arguments.empty() && arguments[0].rfind("--", 0) == 0;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  const std::optional<TOptions> options = ReadOptions(arguments);
  if (!options) {
    err << kUsage;
    return 2;
  }
  if (options->mode == "--help") {
    out << kUsage;
    return 0;
  }
  if (options->mode == "--version") {
    out << "calculator " << CALC_VERSION << '\n';
    return 0;
  }
  if (options->mode == "--equivalent") return Equivalent(*options, out, err);
  if (options->mode == "--derive") return Derive(*options, out);
  return Evaluate(*options, in, out, err);
}

}  // namespace app
