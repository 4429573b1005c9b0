#include "store/first_run.h"

#include <sys/stat.h>

#include <cerrno>

#include "script/example_scripts.h"
#include "store/settings_store.h"

namespace oz {
namespace {

// Only "no such file" makes a first run: an empty settings file, a directory
// of that name or an unreadable path all mean the folder was set up before.
bool settingsFileMissing(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

// Creates every missing folder of `dir` below `home`, parent first, for the
// owner only. A fresh home here has no "Library/Application Support" yet, so
// those levels are made too. Failures are left to show up later as a folder
// that cannot be written, which the program survives.
void createFolders(const std::string& home, const std::string& dir) {
  for (size_t slash = dir.find('/', home.size()); slash != std::string::npos;
       slash = dir.find('/', slash + 1)) {
    mkdir(dir.substr(0, slash).c_str(), 0700);
  }
}

}  // namespace

PreparedSupportDir prepareSupportDir(int versionCode, const std::string& home) {
  PreparedSupportDir prepared{supportDirFor(versionCode, home)};
  const std::string settingsPath = prepared.dir.settingsPath();
  if (!settingsFileMissing(settingsPath)) return prepared;
  prepared.firstRun = true;
  createFolders(home, prepared.dir.path);
  // The examples come first and the settings file last, because the settings
  // file is what tells a later run that seeding is done. Another copy started
  // at the same moment, or after this one was killed half-way, still finds no
  // settings file and seeds again; every example is renamed into place whole,
  // so seeding twice at once does no harm and every copy finds the scripts.
  installExampleScripts(prepared.dir.path);
  SettingsStore::create(settingsPath);
  return prepared;
}

}  // namespace oz
