#include "sheet/deflate/deflate_join.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace oz {
namespace {

// Reads a deflate stream's bits, first bit lowest. Past the end it reads
// zeros and says it has overrun.
class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t position() const { return bit_; }
  bool overrun() const { return bit_ > bytes_.size() * 8; }

  // The next `count` bits (at most 24).
  uint32_t peek(int count) const {
    const size_t at = bit_ / 8;
    uint64_t word = 0;
    if (std::endian::native == std::endian::little && at + 8 <= bytes_.size()) {
      std::memcpy(&word, bytes_.data() + at, 8);
    } else {
      for (size_t i = 0; i < 4 && at + i < bytes_.size(); ++i) {
        word |= static_cast<uint64_t>(bytes_[at + i]) << (8 * i);
      }
    }
    return static_cast<uint32_t>(word >> (bit_ % 8)) & ((uint32_t{1} << count) - 1);
  }
  uint32_t take(int count) {
    const uint32_t bits = peek(count);
    bit_ += static_cast<size_t>(count);
    return bits;
  }
  void skip(size_t count) { bit_ += count; }
  void alignToByte() { bit_ = (bit_ + 7) / 8 * 8; }

 private:
  std::span<const uint8_t> bytes_;
  size_t bit_ = 0;
};

constexpr int kMaxCodeBits = 15;

// A canonical Huffman code. A code of up to kRootBits bits is found in one look
// at a table indexed by the stream's next kRootBits bits, small enough to stay
// in the cache: each entry the symbol times 16 plus its code's length, 0 where
// no code that short starts. The rare longer codes are read bit by bit.
class HuffmanCode {
 public:
  // False for an over-subscribed code. An incomplete one is allowed, as the
  // format allows a single distance code.
  bool build(std::span<const uint8_t> lengths) {
    count_.fill(0);
    for (const uint8_t length : lengths) ++count_[length];
    count_[0] = 0;
    int left = 1;
    std::array<uint32_t, kMaxCodeBits + 2> next{};
    std::array<size_t, kMaxCodeBits + 2> offset{};
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      left = left * 2 - count_[length];
      if (left < 0) return false;
      next[length + 1] = (next[length] + static_cast<uint32_t>(count_[length])) << 1;
      offset[length + 1] = offset[length] + static_cast<size_t>(count_[length]);
    }
    symbols_.resize(offset[kMaxCodeBits + 1]);
    table_.fill(0);
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
      const int length = lengths[symbol];
      if (length == 0) continue;
      symbols_[offset[length]++] = static_cast<uint16_t>(symbol);
      const uint32_t code = next[length]++;
      if (length > kRootBits) continue;
      uint32_t reversed = 0;
      for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
      for (size_t at = reversed; at < table_.size(); at += size_t{1} << length) {
        table_[at] = static_cast<uint16_t>(symbol << 4 | static_cast<size_t>(length));
      }
    }
    return true;
  }

  // The next symbol; -1 where no code starts.
  int decode(BitReader& in) const {
    const uint16_t entry = table_[in.peek(kRootBits)];
    if (entry == 0) return decodeLong(in);
    in.skip(entry & 15);
    return entry >> 4;
  }

 private:
  static constexpr int kRootBits = 10;

  // One bit at a time: the codes of each length are consecutive numbers.
  int decodeLong(BitReader& in) const {
    int code = 0;
    int first = 0;
    int index = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      code |= static_cast<int>(in.take(1));
      const int count = count_[length];
      if (code - count < first) return symbols_[static_cast<size_t>(index + code - first)];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

  std::array<uint16_t, size_t{1} << kRootBits> table_{};
  std::array<int, kMaxCodeBits + 1> count_{};
  std::vector<uint16_t> symbols_;
};

int lengthExtraBits(int symbol) {
  const int s = symbol - 257;
  return s < 8 || s == 28 ? 0 : s / 4 - 1;
}

int distanceExtraBits(int symbol) { return symbol < 4 ? 0 : symbol / 2 - 1; }

// Steps over a block's codes up to and including its end-of-block code.
bool skipCodes(BitReader& in, const HuffmanCode& literals, const HuffmanCode& distances) {
  while (!in.overrun()) {
    const int symbol = literals.decode(in);
    if (symbol < 0 || symbol > 285) return false;
    if (symbol == 256) return true;
    if (symbol < 256) continue;
    in.skip(static_cast<size_t>(lengthExtraBits(symbol)));
    const int distance = distances.decode(in);
    if (distance < 0 || distance > 29) return false;
    in.skip(static_cast<size_t>(distanceExtraBits(distance)));
  }
  return false;
}

bool buildFixedCodes(HuffmanCode& literals, HuffmanCode& distances) {
  std::array<uint8_t, 288> lengths{};
  std::fill(lengths.begin(), lengths.begin() + 144, 8);
  std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
  std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
  std::fill(lengths.begin() + 280, lengths.end(), 8);
  const std::array<uint8_t, 30> distanceLengths = [] {
    std::array<uint8_t, 30> fives{};
    fives.fill(5);
    return fives;
  }();
  return literals.build(lengths) && distances.build(distanceLengths);
}

bool readDynamicCodes(BitReader& in, HuffmanCode& literals, HuffmanCode& distances) {
  const size_t literalCount = in.take(5) + 257;
  const size_t distanceCount = in.take(5) + 1;
  const size_t lengthCodeCount = in.take(4) + 4;
  static constexpr std::array<uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                     11, 4,  12, 3, 13, 2, 14, 1, 15};
  std::array<uint8_t, 19> lengthCodeLengths{};
  for (size_t i = 0; i < lengthCodeCount; ++i) {
    lengthCodeLengths[kOrder[i]] = static_cast<uint8_t>(in.take(3));
  }
  HuffmanCode lengthCode;
  if (!lengthCode.build(lengthCodeLengths)) return false;

  std::vector<uint8_t> lengths(literalCount + distanceCount);
  for (size_t i = 0; i < lengths.size();) {
    if (in.overrun()) return false;
    const int symbol = lengthCode.decode(in);
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t repeated = 0;
    size_t times = 0;
    if (symbol == 16) {
      if (i == 0) return false;
      repeated = lengths[i - 1];
      times = 3 + in.take(2);
    } else {
      times = symbol == 17 ? 3 + in.take(3) : 11 + in.take(7);
    }
    if (times > lengths.size() - i) return false;
    std::fill_n(lengths.begin() + static_cast<std::ptrdiff_t>(i), times, repeated);
    i += times;
  }
  if (lengths[256] == 0) return false;  // a block must be able to end
  const std::span<const uint8_t> all(lengths);
  return literals.build(all.first(literalCount)) && distances.build(all.subspan(literalCount));
}

}  // namespace

std::optional<FinalBlock> findFinalBlock(std::span<const uint8_t> stream) {
  BitReader in(stream);
  HuffmanCode literals;
  HuffmanCode distances;
  for (;;) {
    const size_t header = in.position();
    const bool final = in.take(1) != 0;
    const uint32_t type = in.take(2);
    if (type == 0) {
      in.alignToByte();
      const uint32_t length = in.take(16);
      if (in.take(16) != (~length & 0xffff)) return std::nullopt;
      in.skip(size_t{length} * 8);
    } else if (type == 1) {
      if (!buildFixedCodes(literals, distances) || !skipCodes(in, literals, distances)) {
        return std::nullopt;
      }
    } else if (type == 2) {
      if (!readDynamicCodes(in, literals, distances) || !skipCodes(in, literals, distances)) {
        return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
    if (in.overrun()) return std::nullopt;
    if (final) {
      // The stream ends in the final block's last byte.
      if ((in.position() + 7) / 8 != stream.size()) return std::nullopt;
      return FinalBlock{header, in.position()};
    }
  }
}

std::optional<size_t> continueDeflateStream(uint8_t* stream, size_t size) {
  const std::optional<FinalBlock> block = findFinalBlock({stream, size});
  if (!block) return std::nullopt;
  stream[block->headerBit / 8] &= static_cast<uint8_t>(~(1u << (block->headerBit % 8)));
  // The empty stored block: three zero header bits (not final, stored), zeros
  // up to the byte boundary, then its length 0 and that length's complement.
  const size_t end = (block->endBit + 3 + 7) / 8;
  if (end > size) stream[size] = 0;
  if (block->endBit % 8 != 0) {
    stream[block->endBit / 8] &= static_cast<uint8_t>((1u << (block->endBit % 8)) - 1);
  }
  const uint8_t emptyStored[4] = {0x00, 0x00, 0xff, 0xff};
  std::memcpy(stream + end, emptyStored, sizeof emptyStored);
  return end + sizeof emptyStored;
}

}  // namespace oz
