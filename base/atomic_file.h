// Whole-file replacement through a temporary file in the same directory and a
// rename, so a failed or interrupted write never destroys the old content and
// never leaves a partial file behind.
//
// Only plain files are replaced. A symbolic link is followed to the file it
// finally names, which is replaced in its own directory, so the link stays. A
// FIFO, a device or a socket is written straight through (opened, written,
// closed), since renaming a file over it would destroy something that is not
// ours. A directory is never written.
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

  // Opens the way to `path`: a temporary file beside the file it names, or
  // `path` itself when that is a FIFO, a device or a socket. False when that
  // is impossible (missing folder, no permission, empty path, a directory, a
  // loop of links). The temporary file is removed if the process is ended by
  // a signal given to removeTempFilesOnSignals.
  bool open(const std::string& path);
  // The file being written, open for binary writing; valid between open() and commit().
  FILE* stream() const { return stream_; }
  // Flushes, closes and renames the temporary file over the file `path` names.
  // The new file keeps the permissions of the file it replaces (or the usual
  // 0666 less the umask for a new file). False on any failure, and then that
  // file is untouched. Written straight through, the file is only closed.
  bool commit();
  // Closes and removes the temporary file; the file `path` names is untouched.
  void discard();

 private:
  std::string target_;    // the plain file to replace; empty when written straight through
  std::string tempPath_;  // the temporary file beside it
  FILE* stream_ = nullptr;
};

// Replaces the file at `path` with `bytes`. False on failure, `path` untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace oz
