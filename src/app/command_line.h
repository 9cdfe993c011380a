// The calculator's command-line mode: the same core as the window, driven by options, with
// results on standard output.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace app {

// Whether the arguments (without the program name) ask for the command-line mode.
bool IsCommandLine(const std::vector<std::string>& arguments);

// Runs the mode; returns the process exit code.
int RunCommandLine(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace app
