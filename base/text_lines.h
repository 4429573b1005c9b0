// Reading whole files and cutting text into lines, as scripts and templates
// are read: a line ends at LF, at CR, or at CR LF (one ending); an ending after
// the last line is optional; an empty text is one empty line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace oz {

std::vector<std::string> splitLines(std::string_view text);

// Templates, scripts and the settings file are a few kilobytes; a file larger
// than this is someone else's and is not read.
inline constexpr size_t kMaxReadBytes = size_t{64} * 1024 * 1024;

enum class ReadResult {
  Read,
  Missing,       // nothing at the path, or a folder on the way is missing
  NotPlainFile,  // a folder, a FIFO, a device
  TooLarge,      // more than kMaxReadBytes
  NoPermission,
  Failed,  // any other error
};

// Reads the whole file at `path` into `out`, or says why it cannot: a FIFO, a
// device or a directory is never read, so a read never blocks and never runs
// without end.
ReadResult readFile(const std::string& path, std::string* out);

// readFile, when only whether it worked matters.
bool readWholeFile(const std::string& path, std::string* out);

}  // namespace oz
