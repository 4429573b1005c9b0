// The packed layout's arithmetic apart from any pixel: the packer's rules
// for a build's options, a frame's cell, and the frames of one sheet at the
// places the packer gave their cells. The packed build and the layout from
// the frames' headers share it, so that both place frames the same.
#pragma once

#include <cstdint>
#include <vector>

#include "sheet/build_sheet.h"
#include "sheet/layout/rect_packer.h"

namespace oz {

PackRules packRulesFor(const BuildOptions& options);

// A frame's cell: its stored pixels with the extrusion on every side.
RectSize packedCell(int64_t width, int64_t height, const BuildOptions& options);

// The frames of sheet `sheet`, in scan order, numbered from 1, each at its
// cell's place: `cellOf[owners[i]]` is frame i's cell in `packing`, where
// owners[i] is i itself or the earlier frame whose cell it shares. At: their
// positions in `frames`.
std::vector<size_t> framesOnSheetAt(const std::vector<size_t>& owners,
                                    const std::vector<size_t>& cellOf, const PackResult& packing,
                                    int32_t sheet);

FrameList framesOnSheet(const FrameList& frames, const std::vector<size_t>& owners,
                        const std::vector<size_t>& cellOf, const PackResult& packing, int32_t sheet,
                        int64_t extrude);

}  // namespace oz
