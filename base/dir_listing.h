// Directory enumeration shared by the frame scan and the script store.
//
// The platform's own order (hash order on common file systems) would shuffle an
// animation's frames from one machine to the next, so every listing here is
// sorted with glibc's versionsort: walk2.png comes before walk10.png, and every
// machine lists a folder the same way.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace oz {

// Names of the entries of `dir` (without "." and ".."), in versionsort order.
// nullopt when the directory cannot be opened.
std::optional<std::vector<std::string>> listDirectory(const std::string& dir);

// The entries whose names match the shell `pattern` under fnmatch with
// FNM_PATHNAME only: case-sensitive, and "*" also matches a leading period.
// An unreadable directory gives an empty list.
std::vector<std::string> listMatching(const std::string& dir, const char* pattern);

}  // namespace oz
