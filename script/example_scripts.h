// The five example templates the support directory is seeded with on a first
// run, and their installation.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace oz {

struct ExampleScript {
  std::string_view fileName;  // e.g. "plist.txt"
  std::string_view text;      // the file's bytes: UTF-8, every line ended by LF
};

// The five examples in installation order: "plist.txt", "Pure Data.txt",
// "Multi Loops.txt", "Clipboard.txt", "HTML5.txt".
std::span<const ExampleScript> exampleScripts();

// Writes the five examples into `dir` (which ends in "/"), in the order above,
// each replacing a file of the same name; other files are left alone. A file
// that cannot be written is skipped and the rest are still written. True when
// all five were written.
bool installExampleScripts(const std::string& dir);

}  // namespace oz
