#include "qt/tab_panel.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace oz {

QSize TabPanel::itemSize() const {
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).size();
}

}  // namespace oz
