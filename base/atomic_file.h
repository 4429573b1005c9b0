// Whole-file replacement through a temporary file in the same directory and a
// rename, so a failed or interrupted write never destroys the old content and
// never leaves a partial file behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace oz {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Discards the temporary file unless commit() succeeded.
  ~AtomicFile();

  // Creates the temporary file beside `path`. False when that is impossible
  // (missing folder, no permission, empty path).
  bool open(const std::string& path);
  // The temporary file, open for binary writing; valid between open() and commit().
  FILE* stream() const { return stream_; }
  // Flushes, closes and renames the temporary file over `path`. The new file
  // keeps the permissions of the file it replaces (or the usual 0666 less the
  // umask for a new file). False on any failure, and then `path` is untouched.
  bool commit();
  // Closes and removes the temporary file; `path` is untouched.
  void discard();

 private:
  std::string path_;      // the file to replace
  std::string tempPath_;  // the temporary file beside it
  FILE* stream_ = nullptr;
};

// Replaces the file at `path` with `bytes`. False on failure, `path` untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace oz
