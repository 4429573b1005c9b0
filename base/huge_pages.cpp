#include "base/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace oz {

void adviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] size_t bytes) {
#ifdef MADV_HUGEPAGE
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (begin + page - 1) / page * page;
  const uintptr_t last = (begin + bytes) / page * page;
  if (data == nullptr || last <= first) return;
  madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace oz
