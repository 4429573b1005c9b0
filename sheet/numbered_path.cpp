#include "sheet/numbered_path.h"

namespace oz {

std::string numberedPath(const std::string& path, int64_t index, int64_t count) {
  if (count <= 1) return path;
  const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
  const size_t dot = path.rfind('.');
  const size_t cut = dot != std::string::npos && dot > nameStart ? dot : path.size();
  return path.substr(0, cut) + "-" + std::to_string(index + 1) + path.substr(cut);
}

}  // namespace oz
