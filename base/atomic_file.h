// Whole-file replacement: the new content is written to a temporary file in
// the same directory, synced, and only then given the file's name, so a
// failed or interrupted write never destroys the old content and never leaves
// a partial file behind, and a power loss leaves the old file or the new one,
// never an empty one.
//
// The temporary file has no name while it is written (Linux's O_TMPFILE), so
// even a kill -9 leaves nothing beside the file. Where the file system refuses
// that, it is a named file beside the target ("NAME.tmp.XXXXXX", the name cut
// short where the whole would be too long for the folder), created only when
// the first bytes reach it.
//
// A file that already holds exactly the new bytes is not replaced at all: it
// keeps its inode and its times, so that build tools watching it do not redo
// what follows from it.
//
// Only plain files are replaced. A symbolic link is followed to the file it
// finally names, which is replaced in its own directory, so the link stays. A
// FIFO, a device or a socket is written straight through (opened, written,
// closed), since renaming a file over it would destroy something that is not
// ours. A directory is never written.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace oz {

// How a commit ended.
enum class CommitResult {
  Failed,     // the file at the path is untouched
  Written,    // the new bytes have the file's name
  Unchanged,  // the file already held exactly these bytes and was left as it was
};

class AtomicFile {
 public:
  // How the temporary file is made: without a name where the file system
  // allows, else named; Named always takes the second way (its tests use it).
  enum class Temp { UnnamedWherePossible, Named };

  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Discards the temporary file unless commit() succeeded.
  ~AtomicFile();

  // Opens the way to `path`: a temporary file beside the file it names, or
  // `path` itself when that is a FIFO, a device or a socket. False when that
  // is impossible (missing folder, no permission, empty path, a directory, a
  // loop of links). A named temporary file is removed if the process is ended
  // by a signal given to removeTempFilesOnSignals.
  bool open(const std::string& path, Temp temp = Temp::UnnamedWherePossible);
  // The file being written, open for binary writing and not seekable; valid
  // between open() and commit().
  FILE* stream() const { return stream_; }
  // Flushes and syncs the temporary file, gives it the name of the file `path`
  // names (replacing that file in one step), then syncs the folder. The new
  // file keeps the permissions of the file it replaces (or the usual 0666
  // less the umask for a new file). A plain file that already holds the same
  // bytes is left untouched, modification time included, and the temporary
  // file discarded (Unchanged). Failed on any failure, and then that file is
  // untouched. Written straight through, the file is only closed (Written).
  CommitResult commit();
  // Closes and removes the temporary file; the file `path` names is untouched.
  void discard();

 private:
  static ssize_t writeCookie(void* file, const char* bytes, size_t size);

  // Creates the named temporary file, when it does not exist yet.
  bool createNamed();
  // Gives the unnamed temporary file the target's name.
  bool linkUnnamed();
  void close();

  std::string target_;    // the plain file to replace; empty when written straight through
  std::string folder_;    // the target's folder, "" for the working one
  bool unnamed_ = false;  // the temporary file is an O_TMPFILE one
  std::string tempPath_;  // the named temporary file, once it exists
  int fd_ = -1;           // the temporary file, once it exists
  FILE* stream_ = nullptr;
};

// Replaces the file at `path` with `bytes`, unless it holds them already.
// False on failure, `path` untouched.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace oz
