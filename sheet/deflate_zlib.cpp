#include "sheet/deflate_zlib.h"

#include <libdeflate.h>

#include <new>

#include "base/huge_pages.h"

namespace oz {

std::optional<DeflatedBytes> deflateZlib(std::span<const uint8_t> data, int level) {
  struct FreeCompressor {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
  };
  const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(
      libdeflate_alloc_compressor(level));
  if (compressor == nullptr) return std::nullopt;
  const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), data.size());
  DeflatedBytes out;
  out.bytes.reset(new (std::nothrow) uint8_t[bound]);
  if (out.bytes == nullptr) return std::nullopt;
  adviseHugePages(out.bytes.get(), bound);
  out.size =
      libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), out.bytes.get(), bound);
  // Within the bound libdeflate always succeeds; 0 would mean a broken library.
  if (out.size == 0) return std::nullopt;
  return out;
}

}  // namespace oz
