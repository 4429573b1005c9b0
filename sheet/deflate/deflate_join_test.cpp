#include "sheet/deflate/deflate_join.h"

#include <gtest/gtest.h>
#include <libdeflate.h>
#include <zlib.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace oz {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes rawDeflate(const Bytes& data, int level) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
  Bytes out(libdeflate_deflate_compress_bound(compressor, data.size()));
  out.resize(
      libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size()));
  libdeflate_free_compressor(compressor);
  return out;
}

// Inflates a whole stream (raw deflate for windowBits -15, zlib for 15); nothing
// unless it ends exactly at the end of `stream`, its check value right.
std::optional<Bytes> inflateAll(const Bytes& stream, int windowBits) {
  z_stream z{};
  if (inflateInit2(&z, windowBits) != Z_OK) return std::nullopt;
  Bytes out;
  uint8_t chunk[65536];
  z.next_in = const_cast<uint8_t*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_out = chunk;
    z.avail_out = sizeof chunk;
    status = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
  }
  const bool whole = status == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole) return std::nullopt;
  return out;
}

// Sample data of each kind libdeflate compresses with its own block type:
// random bytes (stored), a short text (fixed codes), rows of sprites (dynamic).
std::vector<Bytes> samples() {
  std::mt19937 random(7);
  Bytes noise(70000);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  const std::string text = "ov.ImageX ov.ImageY ov.ImageX";
  Bytes rows;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const bool inside = (x % 40 - 20) * (x % 40 - 20) + (y % 40 - 20) * (y % 40 - 20) < 200;
      rows.insert(rows.end(), {uint8_t(inside ? x : 0), uint8_t(inside ? y : 0), 90,
                               uint8_t(inside ? 255 : 0)});
    }
  }
  return {noise, Bytes(text.begin(), text.end()), rows, Bytes{42}, Bytes{}};
}

TEST(DeflateJoinTest, JoinedPiecesInflateToTheWholeWhateverTheirBlockTypes) {
  const std::vector<Bytes> data = samples();
  std::set<int> firstBlockTypes;
  for (int level : {1, 6, 10, 12}) {
    for (size_t a = 0; a < data.size(); ++a) {
      for (size_t b = 0; b < data.size(); ++b) {
        SCOPED_TRACE(testing::Message() << "level " << level << ", samples " << a << " " << b);
        Bytes joined = rawDeflate(data[a], level);
        firstBlockTypes.insert(joined[0] >> 1 & 3);
        const size_t streamSize = joined.size();
        joined.resize(streamSize + 5);
        const std::optional<size_t> size = continueDeflateStream(joined.data(), streamSize);
        ASSERT_TRUE(size);
        joined.resize(*size);
        // A stored block cannot follow on at once: the join must be byte-aligned.
        const Bytes second = rawDeflate(data[b], level);
        joined.insert(joined.end(), second.begin(), second.end());
        Bytes whole = data[a];
        whole.insert(whole.end(), data[b].begin(), data[b].end());
        EXPECT_EQ(inflateAll(joined, -15), whole);
      }
    }
  }
  EXPECT_EQ(firstBlockTypes, (std::set<int>{0, 1, 2}));
}

TEST(DeflateJoinTest, BrokenStreamsAreRefusedAndLeftAlone) {
  const Bytes good = rawDeflate(samples()[2], 6);
  const auto block = findFinalBlock(good);
  ASSERT_TRUE(block);
  EXPECT_EQ((block->endBit + 7) / 8, good.size());

  Bytes reservedType{0x07};                               // final, block type 3
  Bytes storedLengthWrong{0x01, 0x05, 0x00, 0x00, 0x00};  // length 5, complement 0
  Bytes truncated(good.begin(), good.end() - 3);
  Bytes trailing = good;
  trailing.push_back(0);
  Bytes notFinal = rawDeflate(samples()[1], 6);
  notFinal[0] &= 0xfe;  // the only block no longer final: the stream runs on into nothing
  for (Bytes* broken : {&reservedType, &storedLengthWrong, &truncated, &trailing, &notFinal}) {
    const Bytes before = *broken;
    broken->resize(broken->size() + 5);
    EXPECT_FALSE(continueDeflateStream(broken->data(), before.size()));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), broken->begin()));
  }
}

}  // namespace
}  // namespace oz
