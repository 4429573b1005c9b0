#include "script/line_sink.h"

namespace oz {
namespace {

// Large enough that the per-call cost of fwrite disappears, small enough to
// stay in cache.
constexpr size_t kFlushThreshold = 64 * 1024;

}  // namespace

void StringLineSink::line(std::string_view text) {
  out_->append(text);
  out_->append(ending_);
}

void StreamLineSink::line(std::string_view text) {
  buffer_.append(text);
  buffer_.append(ending_);
  if (buffer_.size() >= kFlushThreshold) flushBuffer();
}

bool StreamLineSink::finish() {
  flushBuffer();
  if (std::fflush(stream_) != 0) failed_ = true;
  return !failed_;
}

void StreamLineSink::flushBuffer() {
  if (!buffer_.empty() &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

}  // namespace oz
