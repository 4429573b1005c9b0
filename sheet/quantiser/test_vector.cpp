#include "sheet/quantiser/test_vector.h"

#include <cctype>
#include <map>
#include <memory>
#include <variant>

namespace oz::testing {
namespace {

// Just enough JSON for the case files: objects, arrays, strings without
// escapes, integers and booleans.
struct Json;
using JsonArray = std::vector<Json>;
using JsonObject = std::map<std::string, Json, std::less<>>;
struct Json {
  std::variant<std::monostate, bool, int64_t, std::string, std::shared_ptr<JsonArray>,
               std::shared_ptr<JsonObject>>
      value;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  bool parseDocument(Json* out) {
    if (!parseValue(out)) return false;
    skipSpace();
    return pos_ == text_.size() || fail("text after the document");
  }
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& what) {
    error_ = what + " at offset " + std::to_string(pos_);
    return false;
  }
  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool eat(char c) {
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool eatWord(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool parseValue(Json* out) {
    skipSpace();
    if (pos_ >= text_.size()) return fail("unexpected end");
    const char c = text_[pos_];
    if (c == '{') return parseObject(out);
    if (c == '[') return parseArray(out);
    if (c == '"') {
      std::string s;
      if (!parseString(&s)) return false;
      out->value = std::move(s);
      return true;
    }
    if (eatWord("true")) return out->value = true, true;
    if (eatWord("false")) return out->value = false, true;
    return parseInteger(out);
  }

  bool parseString(std::string* out) {
    ++pos_;  // the opening quote
    const size_t end = text_.find('"', pos_);
    if (end == std::string_view::npos) return fail("unterminated string");
    *out = std::string(text_.substr(pos_, end - pos_));
    if (out->find('\\') != std::string::npos) return fail("escapes are not supported");
    pos_ = end + 1;
    return true;
  }

  bool parseInteger(Json* out) {
    const size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    int64_t v = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      v = v * 10 + (text_[pos_++] - '0');
    }
    if (pos_ == start || (pos_ == start + 1 && text_[start] == '-')) return fail("bad value");
    out->value = text_[start] == '-' ? -v : v;
    return true;
  }

  bool parseArray(Json* out) {
    ++pos_;
    auto array = std::make_shared<JsonArray>();
    if (!eat(']')) {
      do {
        array->emplace_back();
        if (!parseValue(&array->back())) return false;
      } while (eat(','));
      if (!eat(']')) return fail("expected ]");
    }
    out->value = std::move(array);
    return true;
  }

  bool parseObject(Json* out) {
    ++pos_;
    auto object = std::make_shared<JsonObject>();
    if (!eat('}')) {
      do {
        skipSpace();
        std::string key;
        if (pos_ >= text_.size() || text_[pos_] != '"' || !parseString(&key)) {
          return fail("expected a key");
        }
        if (!eat(':')) return fail("expected :");
        if (!parseValue(&(*object)[key])) return false;
      } while (eat(','));
      if (!eat('}')) return fail("expected }");
    }
    out->value = std::move(object);
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string error_;
};

const Json* member(const Json& object, std::string_view key) {
  const auto* o = std::get_if<std::shared_ptr<JsonObject>>(&object.value);
  if (o == nullptr) return nullptr;
  const auto it = (*o)->find(key);
  return it == (*o)->end() ? nullptr : &it->second;
}
const JsonArray* asArray(const Json* v) {
  const auto* a = v ? std::get_if<std::shared_ptr<JsonArray>>(&v->value) : nullptr;
  return a ? a->get() : nullptr;
}
const int64_t* asInteger(const Json* v) { return v ? std::get_if<int64_t>(&v->value) : nullptr; }

bool hexBytes(const Json* v, std::vector<uint8_t>* out) {
  const auto* s = v ? std::get_if<std::string>(&v->value) : nullptr;
  if (s == nullptr || s->size() % 2 != 0) return false;
  out->clear();
  for (size_t i = 0; i < s->size(); i += 2) {
    const std::string digits = s->substr(i, 2);
    if (!std::isxdigit(static_cast<unsigned char>(digits[0])) ||
        !std::isxdigit(static_cast<unsigned char>(digits[1]))) {
      return false;
    }
    out->push_back(static_cast<uint8_t>(std::stoi(digits, nullptr, 16)));
  }
  return true;
}

}  // namespace

std::optional<ReductionCase> parseReductionCase(std::string_view json, std::string* error) {
  Json doc;
  Parser parser(json);
  if (!parser.parseDocument(&doc)) {
    *error = parser.error();
    return std::nullopt;
  }
  ReductionCase c;
  const int64_t* width = asInteger(member(doc, "width"));
  const int64_t* height = asInteger(member(doc, "height"));
  const int64_t* bits = asInteger(member(doc, "bits"));
  const Json* dither = member(doc, "dither");
  const JsonArray* colours = asArray(member(doc, "palette_rgb"));
  const JsonArray* alphas = asArray(member(doc, "palette_alpha"));
  const JsonArray* rows = asArray(member(doc, "packed_rows_hex"));
  if (!width || !height || !bits || !dither || !std::holds_alternative<bool>(dither->value) ||
      !colours || !alphas || !rows || colours->size() != alphas->size()) {
    *error = "a member is missing or has the wrong type";
    return std::nullopt;
  }
  c.width = static_cast<int32_t>(*width);
  c.height = static_cast<int32_t>(*height);
  c.bits = static_cast<int32_t>(*bits);
  c.dither = std::get<bool>(dither->value);
  if (!hexBytes(member(doc, "input_rgb_hex"), &c.rgb)) {
    *error = "input_rgb_hex is not hex";
    return std::nullopt;
  }
  for (size_t i = 0; i < colours->size(); ++i) {
    const JsonArray* rgb = asArray(&(*colours)[i]);
    const int64_t* a = asInteger(&(*alphas)[i]);
    if (!rgb || rgb->size() != 3 || !a) {
      *error = "palette entry " + std::to_string(i) + " is malformed";
      return std::nullopt;
    }
    int64_t v[3];
    for (int k = 0; k < 3; ++k) {
      const int64_t* component = asInteger(&(*rgb)[k]);
      if (!component) {
        *error = "palette entry " + std::to_string(i) + " is malformed";
        return std::nullopt;
      }
      v[k] = *component;
    }
    c.palette.push_back(PaletteColour{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]),
                                      static_cast<uint8_t>(v[2]), static_cast<uint8_t>(*a)});
  }
  for (const Json& row : *rows) {
    c.rows.emplace_back();
    if (!hexBytes(&row, &c.rows.back())) {
      *error = "a packed row is not hex";
      return std::nullopt;
    }
  }
  return c;
}

}  // namespace oz::testing
