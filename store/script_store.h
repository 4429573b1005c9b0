// The template scripts: one file per script in the support directory, named
// after the script with ".txt" appended. The set of scripts is whatever the
// directory holds when it is listed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/support_dir.h"

namespace oz {

// The Script Editor's groups in the settings file: script name → editor id,
// and the name of the tab selected last.
inline constexpr std::string_view kTabIdsGroup = "Tab ID's";
inline constexpr std::string_view kTabSelectionGroup = "Tab Selection";
inline constexpr std::string_view kSavedTabKey = "SavedTab";

enum class ScriptResult {
  Ok,
  BadName,  // the name is empty, "." or "..", or holds "/" or a NUL character
  Failed,   // the file system refused (the file is missing, unreadable, unwritable…)
};

// A name the store accepts: non-empty, not "." or "..", without "/" or NUL.
// Anything else is kept verbatim, blanks included.
bool isValidScriptName(std::string_view name);

// The script's file: the support directory + name + ".txt". nullopt for a
// name the store refuses, so no path outside the directory is ever formed.
std::optional<std::string> scriptPath(const SupportDir& dir, std::string_view name);

// Names of the "*.txt" entries of the directory (case-sensitive, a leading
// period matches) less the final ".txt", in the directory listing's order.
// Entries whose name the store would refuse are left out. Empty when the
// directory cannot be read.
std::vector<std::string> listScripts(const SupportDir& dir);

// True when anything exists at the script's path, an empty file included.
bool scriptExists(const SupportDir& dir, std::string_view name);

// The file's lines: a line ends at LF, CR or CR LF, a final ending adds no
// line, an empty file is one empty line. Bytes are kept as they are (a
// byte-order mark stays U+FEFF at the start of the first line).
ScriptResult readScriptLines(const SupportDir& dir, std::string_view name,
                             std::vector<std::string>* lines);

// Replaces the file by `lines`, each followed by LF (zero lines: an empty
// file). The new file is written beside the old one and renamed over it, so
// a failed write keeps the old content.
ScriptResult writeScriptLines(const SupportDir& dir, std::string_view name,
                              const std::vector<std::string>& lines);

// An empty script file; an existing one is cut to zero bytes.
ScriptResult createEmptyScript(const SupportDir& dir, std::string_view name);

ScriptResult deleteScriptFile(const SupportDir& dir, std::string_view name);

}  // namespace oz
