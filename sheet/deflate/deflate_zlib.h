// Whole-buffer zlib compression through libdeflate, shared between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Told the number of the data's bytes written so far, from its start.
using FilledBytes = std::function<void(size_t bytes)>;

// As deflateZlib, while `fill` writes the data on the calling thread and tells
// its argument how far it has got: the other threads compress each piece as
// soon as its bytes are in, and the bytes are the same as deflateZlib's. An
// exception from `fill` is rethrown once every thread has stopped.
std::optional<DeflatedBytes> deflateZlibWhileFilled(
    std::span<const uint8_t> data, int level, size_t threads,
    const std::function<void(const FilledBytes& filled)>& fill);

}  // namespace oz
