#include "script/class_name.h"

namespace oz {

std::string htmlClassName(std::string_view base) {
  std::string name(base);
  for (char& c : name) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r') c = '-';
  }
  return name;
}

}  // namespace oz
