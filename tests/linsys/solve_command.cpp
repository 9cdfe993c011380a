// The calculator's command line without its window, for scripts that check it against other
// programs.
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line/command_line.h"

int main(int argc, char* argv[]) {
  return app::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                             std::cerr);
}
