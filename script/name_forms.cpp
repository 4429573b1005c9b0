#include "script/name_forms.h"

#include <array>
#include <utility>

#include "script/class_name.h"
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
  // Written as an attribute is written, so that what a page reads alike
  // (bytes that are not UTF-8 among them) compares alike.
  NameForm asClass{"an HTML class attribute", {}};
  appendEscaped(htmlClassName(name), Escape::Xml, &asClass.text);
  forms.push_back(std::move(asClass));
  return forms;
}

}  // namespace oz
