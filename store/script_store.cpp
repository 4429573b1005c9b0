#include "store/script_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "base/dir_listing.h"
#include "base/text_lines.h"
#include "store/empty_file.h"

namespace oz {
namespace {

constexpr std::string_view kScriptSuffix = ".txt";

}  // namespace

bool isValidScriptName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::optional<std::string> scriptPath(const SupportDir& dir, std::string_view name) {
  if (!isValidScriptName(name)) return std::nullopt;
  return dir.file(std::string(name) + std::string(kScriptSuffix));
}

std::vector<std::string> listScripts(const SupportDir& dir) {
  std::vector<std::string> names;
  for (std::string& entry : listMatching(dir.path, "*.txt")) {
    entry.resize(entry.size() - kScriptSuffix.size());
    // "..txt" would be the script ".", which no operation accepts.
    if (isValidScriptName(entry)) names.push_back(std::move(entry));
  }
  return names;
}

bool scriptExists(const SupportDir& dir, std::string_view name) {
  const auto path = scriptPath(dir, name);
  struct stat info {};
  return path && stat(path->c_str(), &info) == 0;
}

ScriptResult readScriptLines(const SupportDir& dir, std::string_view name,
                             std::vector<std::string>* lines) {
  const auto path = scriptPath(dir, name);
  if (!path) return ScriptResult::BadName;
  std::string bytes;
  if (!readWholeFile(*path, &bytes)) return ScriptResult::Failed;
  *lines = splitLines(bytes);
  return ScriptResult::Ok;
}

ScriptResult writeScriptLines(const SupportDir& dir, std::string_view name,
                              const std::vector<std::string>& lines) {
  const auto path = scriptPath(dir, name);
  if (!path) return ScriptResult::BadName;
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += '\n';
  }
  return writeFileAtomically(*path, bytes) ? ScriptResult::Ok : ScriptResult::Failed;
}

ScriptResult createEmptyScript(const SupportDir& dir, std::string_view name) {
  const auto path = scriptPath(dir, name);
  if (!path) return ScriptResult::BadName;
  return truncateOrCreate(*path) ? ScriptResult::Ok : ScriptResult::Failed;
}

ScriptResult deleteScriptFile(const SupportDir& dir, std::string_view name) {
  const auto path = scriptPath(dir, name);
  if (!path) return ScriptResult::BadName;
  return unlink(path->c_str()) == 0 ? ScriptResult::Ok : ScriptResult::Failed;
}

}  // namespace oz
