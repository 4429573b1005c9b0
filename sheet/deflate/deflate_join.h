// Raw deflate streams compressed apart, joined into one stream: each but the
// last has its final block marked not final and is brought to a byte boundary
// by an empty stored block, as zlib's sync flush does, so the next stream's
// bytes follow on directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace oz {

// Where the final block of the raw deflate stream `stream` starts (the bit of
// its final-block flag) and the bit just after its end-of-block code, counting
// from the first byte's lowest bit. Nothing when `stream` is not a
// well-formed deflate stream that fills its bytes.
struct FinalBlock {
  size_t headerBit = 0;
  size_t endBit = 0;
};
std::optional<FinalBlock> findFinalBlock(std::span<const uint8_t> stream);

// Lets another raw deflate stream follow the one in the first `size` bytes of
// `stream`. Returns its new size, at most `size` + 5; nothing when `stream` is
// not a well-formed deflate stream (it is then left as it was).
// REQUIRES: `stream` has room for `size` + 5 bytes.
std::optional<size_t> continueDeflateStream(uint8_t* stream, size_t size);

}  // namespace oz
