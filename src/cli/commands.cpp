// What every command shares: its one-line errors.
#include <iostream>
#include <string>

#include "cli/commands.h"

namespace mirado::cli {

int fail(const std::string& command, const std::string& message, int status, std::ostream& err) {
  // The game's messages break lines for a box; the command line gives one line.
  std::string line = message;
  for (char& c : line)
    if (c == '\n') c = ' ';
  err << "mirado-cli" << (command.empty() ? "" : " ") << command << ": " << line << "\n";
  return status;
}

}  // namespace mirado::cli
