// The settings file "OrvaneZozivi.prefs": read when opened, changed only in
// memory while open, and rewritten on close when something was written. The
// program makes one store and passes it to the windows that need it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/settings_document.h"

namespace oz {

class SettingsStore {
 public:
  enum class Access {
    Closed,    // no file open
    Writable,  // the file was opened for reading and writing
    ReadOnly,  // not writable, or not readable: changes are never written back
    Absent,    // no file: created at close if anything was written
  };

  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
  // Closes the store, so pending changes reach the file.
  ~SettingsStore();

  // Creates the file at `path`, or cuts an existing one, to zero bytes. False
  // when that failed.
  static bool create(const std::string& path);

  // Closes a store that is still open (writing its changes), then reads the
  // file at `path`. A missing or unreadable file gives an empty store. A file
  // that cannot be read (no permission, larger than 64 MB, a FIFO or a device)
  // is left alone: the store is then read-only. A link is followed.
  void open(const std::string& path);

  // Rewrites the file if something was written and the file is writable or
  // was absent, then empties the store. The file is replaced as a whole, so a
  // failed write keeps the old content. False when changes were lost (the
  // file is read-only or could not be written).
  bool close();

  Access access() const { return access_; }
  bool changed() const { return document_.changed(); }
  const std::vector<SettingsEntry>& entries() const { return document_.entries(); }

  // See SettingsDocument for the rules of each.
  void selectGroup(std::string_view name) { document_.selectGroup(name); }
  std::int64_t readInteger(std::string_view key, std::int64_t fallback) const {
    return document_.readInteger(key, fallback);
  }
  std::string readText(std::string_view key, std::string_view fallback) const {
    return document_.readText(key, fallback);
  }
  bool writeInteger(std::string_view key, std::int64_t value) {
    return document_.writeInteger(key, value);
  }
  bool writeText(std::string_view key, std::string_view value) {
    return document_.writeText(key, value);
  }
  void removeKey(std::string_view key) { document_.removeKey(key); }
  std::vector<SettingsKeyValue> listKeys() const { return document_.listKeys(); }

 private:
  std::string path_;
  Access access_ = Access::Closed;
  SettingsDocument document_;
};

}  // namespace oz
