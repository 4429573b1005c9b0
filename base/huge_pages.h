// Large buffers that are filled soon after they are made (the sheet canvas, the
// compressed image data) take one page fault per page touched, and on a
// 4 KiB-page system those faults cost more than the filling. Advising 2 MiB
// pages where the system offers them cuts the faults 512-fold.
#pragma once

#include <cstddef>

namespace oz {

// Asks for huge pages over the whole pages inside [data, data + bytes). Only
// advice: does nothing where it is not supported, and never changes contents.
void adviseHugePages(void* data, size_t bytes);

}  // namespace oz
