// Takes drops of local files and folders on the windows that accept them,
// also where a field would otherwise take the dropped paths as text.
// Installed as an application-wide event filter.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

namespace oz {

class FileDrops : public QObject {
 public:
  using Accepts = std::function<bool(int window)>;
  using Dropped = std::function<void(int window, std::vector<std::string> paths)>;

  FileDrops(Accepts accepts, Dropped dropped);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Accepts accepts_;
  Dropped dropped_;
};

}  // namespace oz
