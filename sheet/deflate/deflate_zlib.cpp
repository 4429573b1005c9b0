#include "sheet/deflate/deflate_zlib.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <vector>

#include "base/huge_pages.h"
#include "base/parallel.h"
#include "sheet/deflate/deflate_join.h"

namespace oz {
namespace {

struct FreeCompressor {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, FreeCompressor>;

// A piece starts with an empty window, so each costs a little size: measured
// on a 4096 x 4096 sheet, eight pieces come within 0.01% of one. Eight keep as
// many cores busy; a megabyte or more each keeps the cost of a piece small.
constexpr size_t kMostPieces = 8;
constexpr size_t kLeastPieceBytes = size_t{1} << 20;

// An output buffer of `bytes`, its pages left untouched until written.
std::unique_ptr<uint8_t[]> outputBuffer(size_t bytes) {
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes]);
  if (buffer != nullptr) adviseHugePages(buffer.get(), bytes);
  return buffer;
}

// Compressors lent to the pieces' tasks, at most one per thread. At the
// levels for index rows a compressor holds megabytes of match-finding tables,
// and making one for each piece cost a page fault for every 4 KiB of them
// each time; a compressor keeps nothing from one piece to the next.
class CompressorPool {
 public:
  explicit CompressorPool(int level) : level_(level) {}

  // A compressor for one piece, or nullptr when memory runs out.
  Compressor take() {
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (!idle_.empty()) {
        Compressor c = std::move(idle_.back());
        idle_.pop_back();
        return c;
      }
    }
    return Compressor(libdeflate_alloc_compressor(level_));
  }

  void giveBack(Compressor c) {
    const std::lock_guard<std::mutex> hold(lock_);
    idle_.push_back(std::move(c));
  }

 private:
  int level_;
  std::mutex lock_;
  std::vector<Compressor> idle_;
};

std::optional<DeflatedBytes> deflateWhole(std::span<const uint8_t> data, int level) {
  const Compressor compressor(libdeflate_alloc_compressor(level));
  if (compressor == nullptr) return std::nullopt;
  const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), data.size());
  DeflatedPart out{outputBuffer(bound), 0};
  if (out.bytes == nullptr) return std::nullopt;
  out.size =
      libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), out.bytes.get(), bound);
  // Within the bound libdeflate always succeeds; 0 would mean a broken library.
  if (out.size == 0) return std::nullopt;
  DeflatedBytes whole;
  whole.parts.push_back(std::move(out));
  return whole;
}

// The two bytes before a zlib stream's data, with the level hint libdeflate
// writes for `level`.
std::array<uint8_t, 2> zlibHeader(int level) {
  const uint32_t hint = level < 2 ? 0 : level < 6 ? 1 : level < 8 ? 2 : 3;
  const uint32_t header = 0x78 << 8 | hint << 6;
  const uint32_t checked = header + (31 - header % 31) % 31;
  return {static_cast<uint8_t>(checked >> 8), static_cast<uint8_t>(checked)};
}

}  // namespace

std::optional<DeflatedBytes> deflateZlib(std::span<const uint8_t> data, int level, size_t threads) {
  return deflateZlibWhileFilled(data, level, threads, {});
}

std::optional<DeflatedBytes> deflateZlibWhileFilled(
    std::span<const uint8_t> data, int level, size_t threads,
    const std::function<void(const FilledBytes& filled)>& fill) {
  const size_t pieceBytes =
      std::max(kLeastPieceBytes, (data.size() + kMostPieces - 1) / kMostPieces);
  const size_t pieceCount = (data.size() + pieceBytes - 1) / pieceBytes;
  if (pieceCount <= 1) {
    if (fill) fill([](size_t) {});
    return deflateWhole(data, level);
  }

  // How far `fill` has got; a piece's task waits until its bytes are in, or
  // until `fill` has failed. `fill` tells of every row, but the waiting tasks
  // are woken only when a piece is complete: waking them for each row cost a
  // system call and a pair of thread switches a row while they waited.
  std::mutex lock;
  std::condition_variable more;
  size_t filled = fill ? 0 : data.size();
  bool abandoned = false;
  const auto tell = [&](size_t bytes, bool failed) {
    bool completesPiece = false;
    {
      const std::lock_guard<std::mutex> hold(lock);
      completesPiece = bytes / pieceBytes != filled / pieceBytes || bytes == data.size();
      filled = bytes;
      abandoned = failed;
    }
    if (completesPiece || failed) more.notify_all();
  };
  const auto lead = [&] {
    if (!fill) return;
    try {
      fill([&](size_t bytes) { tell(bytes, false); });
    } catch (...) {
      tell(0, true);
      throw;
    }
    tell(data.size(), false);
  };

  // Each piece's raw deflate stream in a part of its own; the first part
  // starts with the zlib header and the last ends with the check value.
  DeflatedBytes out;
  out.parts.resize(pieceCount);
  CompressorPool pool(level);
  std::atomic<bool> wellFormed{true};
  const bool compressed = forEachTaskAfter(lead, pieceCount, threads, [&](size_t i, bool) {
    const std::span<const uint8_t> piece =
        data.subspan(i * pieceBytes).first(std::min(pieceBytes, data.size() - i * pieceBytes));
    {
      std::unique_lock<std::mutex> hold(lock);
      const size_t end = i * pieceBytes + piece.size();
      more.wait(hold, [&] { return filled >= end || abandoned; });
      if (abandoned) return false;
    }
    Compressor compressor = pool.take();
    if (compressor == nullptr) return false;
    const size_t lead = i == 0 ? 2 : 0;
    // Room for the header, and for the empty stored block that lets the next
    // piece follow or the check value.
    const size_t bound = libdeflate_deflate_compress_bound(compressor.get(), piece.size());
    DeflatedPart& part = out.parts[i];
    part.bytes = outputBuffer(lead + bound + 5);
    if (part.bytes == nullptr) return false;
    uint8_t* stream = part.bytes.get() + lead;
    size_t size =
        libdeflate_deflate_compress(compressor.get(), piece.data(), piece.size(), stream, bound);
    pool.giveBack(std::move(compressor));
    if (size == 0) return false;
    if (i + 1 < pieceCount) {
      const std::optional<size_t> continued = continueDeflateStream(stream, size);
      if (!continued) {
        wellFormed = false;
        return false;
      }
      size = *continued;
    }
    part.size = lead + size;
    return true;
  });
  // A stream the join cannot read would be a fault in it or in libdeflate:
  // the data is still compressed, in one piece.
  if (!wellFormed) return deflateWhole(data, level);
  if (!compressed) return std::nullopt;

  const std::array<uint8_t, 2> header = zlibHeader(level);
  std::copy(header.begin(), header.end(), out.parts.front().bytes.get());
  DeflatedPart& last = out.parts.back();
  const uint32_t adler = libdeflate_adler32(1, data.data(), data.size());
  for (int shift = 24; shift >= 0; shift -= 8) {
    last.bytes[last.size++] = static_cast<uint8_t>(adler >> shift);
  }
  return out;
}

size_t DeflatedBytes::size() const {
  size_t total = 0;
  for (const DeflatedPart& part : parts) total += part.size;
  return total;
}

std::vector<std::span<const uint8_t>> DeflatedBytes::views() const {
  std::vector<std::span<const uint8_t>> views;
  for (const DeflatedPart& part : parts) views.emplace_back(part.bytes.get(), part.size);
  return views;
}

}  // namespace oz
