#include "toolkit/arguments.h"

namespace oz {

std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;  // distinguishes "" (an empty argument) from nothing
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

}  // namespace oz
