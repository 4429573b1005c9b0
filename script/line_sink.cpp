#include "script/line_sink.h"

#include <cstring>

namespace oz {
namespace {

// Large enough that the per-call cost of fwrite disappears, small enough to
// stay in cache.
constexpr size_t kBufferSize = size_t{64} * 1024;

// Copies pieces with fixed-size moves (the last one overlapping the one
// before) instead of a library call: most pieces of a template's output are
// a few bytes (numbers) or a few dozen (the text between them).
inline void copyBytes(char* to, const char* from, size_t count) {
  if (count < 4) {
    if (count > 0) {
      to[0] = from[0];
      to[count / 2] = from[count / 2];
      to[count - 1] = from[count - 1];
    }
  } else if (count < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + count - 4, from + count - 4, 4);
  } else if (count < 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + count - 8, from + count - 8, 8);
  } else if (count <= 256) {
    for (size_t done = 0; done + 16 < count; done += 16) std::memcpy(to + done, from + done, 16);
    std::memcpy(to + count - 16, from + count - 16, 16);
  } else {
    std::memcpy(to, from, count);
  }
}

}  // namespace

void TextSink::line(std::string_view text) {
  const std::string_view pieces[] = {text, ending_};
  write(pieces);
}

void StringLineSink::write(std::span<const std::string_view> pieces) {
  for (std::string_view piece : pieces) out_->append(piece);
}

StreamLineSink::StreamLineSink(FILE* stream, std::string_view ending)
    : TextSink(ending), stream_(stream), buffer_(new char[kBufferSize]) {}

void StreamLineSink::write(std::span<const std::string_view> pieces) {
  size_t total = 0;
  for (std::string_view piece : pieces) total += piece.size();
  if (total > kBufferSize - used_) {
    // Rare: the buffer is nearly full, or the text is longer than it.
    for (std::string_view piece : pieces) put(piece);
    return;
  }
  char* out = buffer_.get() + used_;
  for (std::string_view piece : pieces) {
    copyBytes(out, piece.data(), piece.size());
    out += piece.size();
  }
  used_ += total;
}

bool StreamLineSink::finish() {
  flushBuffer();
  if (!failed() && std::fflush(stream_) != 0) setFailed();
  return !failed();
}

void StreamLineSink::put(std::string_view bytes) {
  if (bytes.size() > kBufferSize - used_) {
    flushBuffer();
    if (bytes.size() > kBufferSize) {
      if (!failed() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        setFailed();
      }
      return;
    }
  }
  copyBytes(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void StreamLineSink::flushBuffer() {
  if (used_ > 0 && !failed() && std::fwrite(buffer_.get(), 1, used_, stream_) != used_) {
    setFailed();
  }
  used_ = 0;
}

}  // namespace oz
