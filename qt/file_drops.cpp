#include "qt/file_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "qt/qt_strings.h"
#include "qt/toolkit_window.h"

namespace oz {
namespace {

std::vector<std::string> localPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(fromQ(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

FileDrops::FileDrops(Accepts accepts, Dropped dropped)
    : accepts_(std::move(accepts)), dropped_(std::move(dropped)) {}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  auto* window = widget ? dynamic_cast<ToolkitWindow*>(widget->window()) : nullptr;
  if (!window || !accepts_(window->number())) return false;
  // Drag enter and move events are drop events too.
  auto* drop = static_cast<QDropEvent*>(event);
  std::vector<std::string> paths = localPaths(drop->mimeData());
  if (paths.empty()) return false;
  drop->acceptProposedAction();
  if (type == QEvent::Drop) dropped_(window->number(), std::move(paths));
  return true;
}

}  // namespace oz
