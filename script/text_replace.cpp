#include "script/text_replace.h"

namespace oz {

void appendReplacingAll(std::string_view text, std::string_view what, std::string_view with,
                        std::string* out) {
  size_t from = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    out->append(text.substr(from, at - from));
    out->append(with);
    from = at + what.size();
  }
  out->append(text.substr(from));
}

std::string removeAll(std::string_view text, std::string_view what) {
  std::string out;
  out.reserve(text.size());
  appendReplacingAll(text, what, {}, &out);
  return out;
}

}  // namespace oz
