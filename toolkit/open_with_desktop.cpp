#include "toolkit/open_with_desktop.h"

#include <string>

namespace oz {

void openWithDesktop(Toolkit& toolkit, std::string_view target) {
  toolkit.launch(kOpener, {std::string(target)});
}

}  // namespace oz
