// Feeds arbitrary bytes to the deflate join's reader as a raw deflate stream,
// checking that nothing crashes, that a final block it finds lies inside the
// stream and ends in its last byte, and that it agrees with zlib: a stream
// zlib inflates using every byte is one the reader finds the end of, and once
// continued and followed by an empty final block it still inflates to the same
// bytes. (zlib, not libdeflate, is the judge: libdeflate accepts the length
// codes 286 and 287, which the format reserves.)
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "sheet/deflate/deflate_join.h"

namespace {

// An empty final block with fixed codes: header bits 1, 01, then end-of-block.
constexpr std::uint8_t kEmptyFinalBlock[] = {0x03, 0x00};
constexpr size_t kMostInflated = size_t{1} << 22;

// How many bytes zlib inflates the raw deflate `stream` to, into `out`, when
// the stream ends exactly at its last byte; else nothing. `out` is kept from
// input to input: clearing megabytes each time would cost most of the run.
std::optional<size_t> inflateWhole(const std::uint8_t* stream, size_t size,
                                   std::vector<std::uint8_t>& out) {
  out.resize(kMostInflated);
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) std::abort();
  z.next_in = const_cast<Bytef*>(stream);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&z, Z_FINISH);
  const size_t made = out.size() - z.avail_out;
  const bool whole = status == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole) return std::nullopt;
  return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::optional<oz::FinalBlock> block = oz::findFinalBlock({data, size});
  if (block && (block->headerBit >= block->endBit || (block->endBit + 7) / 8 != size)) {
    std::abort();
  }
  static std::vector<std::uint8_t> first;
  static std::vector<std::uint8_t> second;
  const std::optional<size_t> inflated = inflateWhole(data, size, first);
  if (!inflated) return 0;
  if (!block) std::abort();  // zlib read it all, so it is well formed

  std::vector<std::uint8_t> joined(size + 5 + sizeof kEmptyFinalBlock);
  std::memcpy(joined.data(), data, size);
  const std::optional<size_t> continued = oz::continueDeflateStream(joined.data(), size);
  if (!continued || *continued > size + 5) std::abort();
  std::memcpy(joined.data() + *continued, kEmptyFinalBlock, sizeof kEmptyFinalBlock);
  const std::optional<size_t> rejoined =
      inflateWhole(joined.data(), *continued + sizeof kEmptyFinalBlock, second);
  if (rejoined != inflated || std::memcmp(first.data(), second.data(), *inflated) != 0) {
    std::abort();
  }
  return 0;
}
