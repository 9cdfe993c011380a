// The conversion table in use: its check (duplicates, expressions, stored paths), the locked
// state that every change of the table enters, conversion along the stored paths, and the
// application function "Conv".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_functions.h"
#include "app/user_prompt.h"
#include "conversion/conversion_table.h"
#include "evaluator/complex_eval.h"

namespace conversion {

inline constexpr const char* kNoConversion = "No unit converion definition";
inline constexpr const char* kCheckConversions = "Please check conversions";

class TUnitConversion {
 public:
  // Messages of the check and of conversions go to `prompt`, which must outlive this object.
  explicit TUnitConversion(app::TUserPrompt& prompt);
  ~TUnitConversion();
  TUnitConversion(const TUnitConversion&) = delete;
  TUnitConversion& operator=(const TUnitConversion&) = delete;

  const TCategoryList& Table() const { return table_; }
  // The table to change; taking it locks, so conversions wait for the next check.
  TCategoryList& EditTable() {
    Lock();
    return table_;
  }

  // Moves unit `unit` of category `category` (0-based) in the graph picture, so that the next
  // save writes the new place. Positions take no part in conversions, so this does not lock;
  // indexes out of range change nothing.
  void SetUnitPosition(std::int32_t category, std::int32_t unit, std::int32_t x, std::int32_t y);

  // ---- The ".cnv" file; messages go to the prompt ------------------------------------------
  // Reads `convFilePath`, or the default file when that name is empty or names no file; when the
  // default file is missing too, empties `convFilePath` and loads nothing. A file that cannot be
  // read keeps the table in memory as it was. True when a table was loaded.
  bool ReadFromConvFile(std::string& convFilePath, const std::string& defaultPath);
  // Writes the table to `convFilePath` with a safe save; false (message shown) on failure. A
  // written table counts as loaded from that file.
  bool WriteToConvFile(const std::string& convFilePath);
  // Writes the default file and makes `convFilePath` name it; false (message shown) on failure.
  bool WriteToDefConvFile(std::string& convFilePath, const std::string& defaultPath);
  // At start-up: reads the file, and when none can be found writes the default file and reads
  // that.
  void ReadAtStartUp(std::string& convFilePath, const std::string& defaultPath);
  // Whether the table in memory came from a file (or the defaults) and was not discarded since.
  bool Loaded() const { return loaded_; }
  // Discards the table (every category, definition, unit and evaluator).
  void FreeStringList();
  // The shipped table, in memory only.
  void LoadDefaults();

  // Locked ("&Check Conv" enabled): the table changed or was never checked; nothing converts.
  bool Locked() const { return locked_; }
  void Lock();
  // Called at every Lock, so that the windows can follow (the conversion window disables its
  // boxes, the graph window redraws).
  std::function<void()> OnLock;

  // IsDuplicate, ParseDefinitions and ConvPaths, stopping at the first that sets ErrorFlag.
  // Unlocks and returns true when none did.
  bool Check();
  // The three passes; each shows its messages and sets ErrorFlag on a fault that fails the
  // check.
  void IsDuplicate();
  void ParseDefinitions();
  void ConvPaths();
  bool ErrorFlag = false;
  // Whether the last check failed in ConvPaths, after the definitions had passed.
  bool PathsFailed = false;

  // The text put before every message of a definition's evaluator; set before each use.
  std::string MessagePrefix;

  // The stored path between two units of a category (0-based indexes), as arc numbers.
  std::vector<std::int32_t> StoredPath(std::int32_t category, std::int32_t from,
                                       std::int32_t to) const;

  // The conversion window's way: converts `value` along the stored path from unit `from` to
  // unit `to` of `category` (0-based indexes), showing "No unit converion definition" or a
  // failed step's message (behind the step's prefix) and giving nothing on failure. While
  // locked it shows "Please check conversions" instead.
  std::optional<evaluator::TEvalValue> Convert(std::int32_t category, std::int32_t from,
                                               std::int32_t to, const evaluator::TEvalValue& value);
  // The way of "Conv": the same conversion, failing by throwing EEvalError with its message
  // and showing nothing. Refuses while locked.
  evaluator::TEvalValue ConvertOrThrow(std::int32_t category, std::int32_t from, std::int32_t to,
                                       const evaluator::TEvalValue& value);

  // "Conv"(category, from unit, to unit, value), with 1-based numbers as the boxes list them.
  void Conv(const evaluator::TEvalValue* const* arguments, std::int32_t count,
            evaluator::TEvalValue& result);
  // Makes "Conv" of every evaluator built with `functions` convert through this object. Either
  // may be destroyed first: once this object is gone, "Conv" reports that conversion is not
  // available.
  void Bind(app::TAppFunctions& functions);

  // Categories with more units than this keep no stored paths (their square would be too big
  // to hold); their paths are found when a conversion asks for one.
  static constexpr std::int32_t kMaxStoredUnits = 4096;

 private:
  // The evaluator that runs arc `arc` of a category's graph, and the units it converts
  // between (0-based).
  static evaluator::TTalvekComplexEval& StepEvaluator(const TRecList& list, std::int32_t arc,
                                                      std::int32_t& fromUnit, std::int32_t& toUnit);
  // The path to convert along, or nothing when the indexes are out of range.
  std::vector<std::int32_t> PathFor(std::int32_t category, std::int32_t from,
                                    std::int32_t to) const;
  void ShowParseError(evaluator::TTalvekComplexEval& sender);
  void ShowExecuteError(evaluator::TTalvekComplexEval& sender);
  // Compiles one direction of a definition: 0 compiled, 1 a parse error (shown), 2 compiled
  // with a warning (shown when `showWarnings`).
  int ParseOne(evaluator::TTalvekComplexEval& eval, const std::string& text, bool showWarnings);

  app::TUserPrompt& prompt_;
  TCategoryList table_;
  bool locked_ = true;
  bool loaded_ = false;
  // Shared with the bound "Conv" entries, which find this object through it; emptied when this
  // object is destroyed.
  std::shared_ptr<TUnitConversion*> self_;
};

}  // namespace conversion
