// The "Install from Gallery..." window: the templates of the gallery installed
// with the program, one a row with its description, and "Install", which
// copies the selected one into the support directory as a script. A script
// of that name is never replaced; the window says so instead.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/support_dir.h"
#include "store/template_gallery.h"
#include "toolkit/toolkit.h"

namespace oz {

inline constexpr const char* kGalleryWindowTitle = "Install from Gallery";

class GalleryWindow {
 public:
  // `installed` is called after a script was installed, with the window closed.
  GalleryWindow(Toolkit& toolkit, SupportDir supportDir, std::function<void()> installed);

  // The gallery's folder; empty when the program found none.
  void setGalleryDir(std::string folder) { galleryDir_ = std::move(folder); }
  // Opens the window over the active window (anew when it is open), listing
  // the gallery as it is now; without a gallery, says so instead.
  void open();
  // Handles a selection in the list and the window's buttons; false for any
  // other control.
  bool handleControl(int control);

 private:
  void install();

  Toolkit& toolkit_;
  const SupportDir supportDir_;
  std::function<void()> installed_;
  std::string galleryDir_;
  std::vector<GalleryTemplate> templates_;  // the list's rows, as listed when opened
};

}  // namespace oz
