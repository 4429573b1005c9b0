// orvane-zozivi: the desktop program. Everything but the Qt application, its
// icon and the toolkit lives in the libraries; this file only joins them.
#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <exception>
#include <span>
#include <string_view>

#include "app/program.h"
#include "base/live_temp_files.h"
#include "base/program_version.h"
#include "help/app_icon.h"
#include "qt/qt_strings.h"
#include "qt/qt_toolkit.h"
#include "store/support_dir.h"
#include "store/template_gallery.h"

namespace {

// A folder installed beside this executable (`belowBin` from its folder), or
// `sourceDir` in the source tree when it runs from its build folder; empty
// when neither is there.
std::string installedDataDir(std::string_view belowBin, std::string_view sourceDir) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || length == sizeof path) return {};
  return oz::dataDirFor(std::string_view(path, static_cast<size_t>(length)), belowBin,
                        OZ_BUILD_BIN_DIR, sourceDir)
      .value_or("");
}

bool asksForVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (asksForVersion(argc, argv)) {
    std::printf("orvane-zozivi %.*s\n", static_cast<int>(oz::kProgramVersion.size()),
                oz::kProgramVersion.data());
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Orvane Zozivi");
  QApplication::setApplicationVersion(oz::toQ(oz::kProgramVersion));

  const std::span<const std::uint8_t> png = oz::appIconPng();
  QPixmap icon;
  icon.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
  QApplication::setWindowIcon(QIcon(icon));

  // A session logout or a kill leaves the old files as they were, with no
  // half-written file beside them.
  oz::removeTempFilesOnSignals({SIGTERM, SIGHUP});
  oz::QtToolkit toolkit;
  try {
    return oz::runProgram(
        toolkit, oz::homeDirectory(), oz::thisPlatformVersionCode(),
        installedDataDir(oz::kExampleFramesBelowBin, OZ_SOURCE_EXAMPLE_FRAMES_DIR),
        installedDataDir(oz::kGalleryBelowBin, OZ_SOURCE_GALLERY_DIR));
  } catch (const std::exception& error) {
    // The files being written have removed themselves as the stack unwound.
    std::fprintf(stderr, "orvane-zozivi: %s\n", error.what());
    return 1;
  }
}
