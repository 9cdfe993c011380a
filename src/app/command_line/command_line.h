// The calculator's command-line mode: the same core as the window, driven by options, with
// results on standard output. Options are parsed in command_options.cpp, and each verb sits in
// its own file (see verb.h).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace app {

// What the window takes from its arguments.
struct TWindowOptions {
  std::string dataFolder;        // --data-dir DIR, or empty
  std::string screenshotFolder;  // --screenshots DIR, or empty
};

// The window's options, when the arguments (without the program name) start the window: no
// arguments, arguments that are not options (ignored), or only --data-dir DIR and
// --screenshots DIR, each at most once. Nothing when they ask for the command-line mode.
std::optional<TWindowOptions> ReadWindowOptions(const std::vector<std::string>& arguments);

// Whether the arguments ask for the command-line mode.
bool IsCommandLine(const std::vector<std::string>& arguments);

// Runs the mode; returns the process exit code.
int RunCommandLine(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err);

// The usage text, built from the verb table.
std::string UsageText();

}  // namespace app
