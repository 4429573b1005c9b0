// A tab panel whose tabs are plain pages for editors at absolute positions.
#ifndef OZ_QT_TAB_PANEL_H_
#define OZ_QT_TAB_PANEL_H_

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

#endif  // OZ_QT_TAB_PANEL_H_
