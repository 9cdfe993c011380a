// Runs the command line as the program would, with standard input, output and error as texts.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/command_line/command_line.h"

namespace app {

struct TRun {
  int code;
  std::string out;
  std::string err;
};

inline TRun RunCalculator(const std::vector<std::string>& arguments,
                          const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCommandLine(arguments, in, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace app
