#include "sheet/deflate/deflate_zlib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace oz {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes joined(const DeflatedBytes& deflated) {
  Bytes stream;
  for (const auto& part : deflated.views()) stream.insert(stream.end(), part.begin(), part.end());
  return stream;
}

// Rows of a ramp, enough for several pieces.
Bytes sampleData() {
  Bytes data(3'300'000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i % 251 + i / 4096);
  return data;
}

TEST(DeflateZlibWhileFilledTest, PiecesCompressedAsTheyAreWrittenGiveTheSameBytes) {
  const Bytes data = sampleData();
  const auto whole = deflateZlib(data, 6, 1);
  ASSERT_TRUE(whole);
  // The joined pieces are one zlib stream with the whole data's check value.
  const Bytes stream = joined(*whole);
  Bytes inflated(data.size());
  uLongf size = inflated.size();
  ASSERT_EQ(uncompress(inflated.data(), &size, stream.data(), stream.size()), Z_OK);
  EXPECT_TRUE(inflated == data);
  for (size_t threads : {size_t{1}, size_t{4}}) {
    Bytes target(data.size());
    const auto filled = deflateZlibWhileFilled(target, 6, threads, [&](const FilledBytes& told) {
      for (size_t at = 0; at < data.size(); at += 10'000) {
        const size_t end = std::min(data.size(), at + 10'000);
        std::copy(data.begin() + at, data.begin() + end, target.begin() + at);
        told(end);
      }
    });
    ASSERT_TRUE(filled) << threads;
    EXPECT_TRUE(joined(*filled) == stream) << threads << " threads";
  }
}

TEST(DeflateZlibWhileFilledTest, AFailingFillStopsEveryThreadAndIsRethrown) {
  // A thread that waited for the rest of the rows would never end.
  Bytes target(3'300'000);
  EXPECT_THROW(deflateZlibWhileFilled(target, 6, 4,
                                      [&](const FilledBytes& told) {
                                        told(1'500'000);  // one piece in: a thread may take it
                                        // Other threads wait for the next pieces.
                                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                        throw std::runtime_error("out of rows");
                                      }),
               std::runtime_error);
}

}  // namespace
}  // namespace oz
