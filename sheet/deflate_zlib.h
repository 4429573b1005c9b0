// Whole-buffer zlib compression through libdeflate, shared between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace oz {

// One buffer of a compressed stream: its first `size` bytes.
struct DeflatedPart {
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;
};

// A zlib stream: the bytes of its parts in order. Parts compressed on several
// threads stay where they were made rather than being copied into one buffer.
struct DeflatedBytes {
  std::vector<DeflatedPart> parts;

  size_t size() const;
  std::vector<std::span<const uint8_t>> views() const;
};

// `data` as one zlib stream compressed at libdeflate's `level` (1 to 12), on up
// to `threads` threads. Data of more than a megabyte is cut into pieces of a
// size that depends on its length alone, compressed apart and joined, so the
// bytes are the same whatever the number of threads. Nothing when memory runs
// out. Output buffers are sized for the worst case but left unwritten beyond
// the stream, so only the stream's pages are touched.
std::optional<DeflatedBytes> deflateZlib(std::span<const uint8_t> data, int level, size_t threads);

}  // namespace oz
