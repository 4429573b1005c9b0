#include "app/program.h"

#include "app/main_window.h"
#include "store/first_run.h"
#include "store/settings_store.h"

namespace oz {

int runProgram(Toolkit& toolkit, const std::string& home, int versionCode,
               const std::string& exampleFrames, const std::string& galleryDir) {
  const PreparedSupportDir prepared = prepareSupportDir(versionCode, home);
  SettingsStore settings;
  {
    MainWindow window(toolkit, settings, prepared.dir);
    window.setExampleFrames(exampleFrames);
    window.setGalleryDir(galleryDir);
    if (window.openMainWindow()) {
      settings.open(prepared.dir.settingsPath());
      window.buildMainWindow();
      window.applySettings();
      window.runEventLoop();
    }
  }
  // After "Quit" the store is still open: the options changed during the run
  // reach the file now. After the main window's close it is closed already.
  if (settings.access() != SettingsStore::Access::Closed) settings.close();
  return 0;
}

}  // namespace oz
