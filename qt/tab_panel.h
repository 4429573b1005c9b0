// A tab panel whose tabs are plain pages for editors at absolute positions.
#pragma once

#include <QTabWidget>

namespace oz {

class TabPanel : public QTabWidget {
 public:
  using QTabWidget::QTabWidget;

  // The size of a tab's content area, known also before the panel was ever
  // shown (when the pages have not been laid out yet).
  QSize itemSize() const;
};

}  // namespace oz
