#include "app/gallery_window.h"

#include <string_view>
#include <utility>

#include "messages/problem_text.h"

namespace oz {
namespace {

constexpr const char* kWaitTitle = "Wait!";
constexpr const char* kInstalledTitle = "Installed!";

constexpr int kWidth = 560;
constexpr int kMargin = 15;
constexpr int kPromptHeight = 20;
constexpr int kListTop = kMargin + kPromptHeight + 6;
constexpr int kListHeight = 250;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 10;
constexpr int kButtonTop = kListTop + kListHeight + 12;
constexpr int kHeight = kButtonTop + kButtonHeight + kMargin;

std::string quoted(std::string_view name) {
  std::string text = "\"";
  text.append(name).append("\"");
  return text;
}

// A row of the list: the name, then what the template is for.
std::string rowText(const GalleryTemplate& entry) {
  if (entry.description.empty()) return entry.name;
  return entry.name + " \u2014 " + entry.description;
}

}  // namespace

GalleryWindow::GalleryWindow(Toolkit& toolkit, SupportDir supportDir,
                             std::function<void()> installed)
    : toolkit_(toolkit), supportDir_(std::move(supportDir)), installed_(std::move(installed)) {}

void GalleryWindow::open() {
  if (galleryDir_.empty()) {
    toolkit_.messageBox(kWaitTitle,
                        "The template gallery is not installed: it belongs in "
                        "share/orvane-zozivi/templates/ of the installation prefix.",
                        MessageButtons::Ok);
    return;
  }
  const WindowStyle& style = kFixedDialogStyle;
  const int w = Window::InstallFromGallery;
  if (!toolkit_.openWindow(w, kGalleryWindowTitle, kWidth, kHeight, style)) return;
  toolkit_.hideZoomButton(w);
  const int inner = kWidth - 2 * kMargin;
  toolkit_.createLabel(w, Control::GalleryPrompt, {kMargin, kMargin, inner, kPromptHeight},
                       "Choose a template to copy into your scripts:", LabelAlign::Left);
  toolkit_.createListBox(w, Control::GalleryList, {kMargin, kListTop, inner, kListHeight});
  templates_ = listGallery(galleryDir_);
  for (const GalleryTemplate& entry : templates_) {
    toolkit_.addListEntry(Control::GalleryList, rowText(entry));
  }
  const int installX = kWidth - kMargin - kButtonWidth;
  toolkit_.createButton(
      w, Control::GalleryClose,
      {installX - kButtonGap - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight}, "Close");
  toolkit_.createButton(w, Control::GalleryInstall,
                        {installX, kButtonTop, kButtonWidth, kButtonHeight}, "Install");
  // Nothing to install until a template is selected.
  toolkit_.setEnabled(Control::GalleryInstall, false);
  toolkit_.focus(Control::GalleryList);
}

bool GalleryWindow::handleControl(int control) {
  if (control != Control::GalleryList && control != Control::GalleryInstall &&
      control != Control::GalleryClose) {
    return false;
  }
  // A click queued just before the window closed finds nothing to act on.
  if (!toolkit_.isWindowOpen(Window::InstallFromGallery)) return true;
  if (control == Control::GalleryList) {
    toolkit_.setEnabled(Control::GalleryInstall, toolkit_.state(Control::GalleryList) >= 0);
  } else if (control == Control::GalleryInstall) {
    install();
  } else {
    toolkit_.closeWindow(Window::InstallFromGallery);
  }
  return true;
}

void GalleryWindow::install() {
  const int index = toolkit_.state(Control::GalleryList);
  if (index < 0 || index >= static_cast<int>(templates_.size())) return;
  const std::string name = templates_[static_cast<size_t>(index)].name;
  const std::string target = supportDir_.file(name + ".txt");
  switch (installFromGallery(galleryDir_, supportDir_, name)) {
    case GalleryInstallResult::Installed:
      toolkit_.closeWindow(Window::InstallFromGallery);
      installed_();
      toolkit_.messageBox(kInstalledTitle,
                          "Installed the script " + quoted(name) + " as " + target + ".",
                          MessageButtons::Ok);
      return;
    case GalleryInstallResult::AlreadyExists:
      toolkit_.messageBox(kWaitTitle,
                          "A script named " + quoted(name) + " already exists (" + target +
                              "); it was left as it is. Rename or delete it to install the "
                              "gallery's copy.",
                          MessageButtons::Ok);
      return;
    case GalleryInstallResult::NotInGallery:
      toolkit_.messageBox(kWaitTitle,
                          "The gallery no longer has the template " + quoted(name) + ".",
                          MessageButtons::Ok);
      return;
    case GalleryInstallResult::Failed: {
      const ProblemText problem = problemText(scriptNotWritten(target));
      toolkit_.messageBoxWithDetails(problem.title, problem.text, problem.details);
      return;
    }
  }
}

}  // namespace oz
