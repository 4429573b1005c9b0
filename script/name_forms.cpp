#include "script/name_forms.h"

#include <array>
#include <utility>

#include "script/escape.h"

namespace oz {

std::vector<NameForm> scriptNameForms(std::string_view name) {
  constexpr std::array<std::pair<std::string_view, Escape>, 3> kForms = {
      {{"JSON", Escape::Json}, {"XML", Escape::Xml}, {"CSS", Escape::Css}}};
  std::vector<NameForm> forms;
  for (const auto& [form, escape] : kForms) {
    NameForm written{form, {}};
    appendEscaped(name, escape, &written.text);
    forms.push_back(std::move(written));
  }
  return forms;
}

}  // namespace oz
