// Where expanded lines go. The expansion hands over each line without its
// ending; the sink decides the ending.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace oz {

class LineSink {
 public:
  virtual ~LineSink() = default;
  // `text` is valid only during the call.
  virtual void line(std::string_view text) = 0;
};

// Appends every line and `ending` to a string: the clipboard text ("\r\n") or
// an in-memory script ("\n").
class StringLineSink : public LineSink {
 public:
  StringLineSink(std::string* out, std::string_view ending) : out_(out), ending_(ending) {}
  void line(std::string_view text) override;

 private:
  std::string* out_;
  std::string_view ending_;
};

// Writes every line and `ending` to an open stream, through a buffer of its
// own so that short lines do not each cost a library call. Call finish() to
// push out the rest and learn whether every byte was written.
class StreamLineSink : public LineSink {
 public:
  StreamLineSink(FILE* stream, std::string_view ending) : stream_(stream), ending_(ending) {}
  void line(std::string_view text) override;
  // Writes what is buffered and flushes the stream. False if any write failed.
  bool finish();

 private:
  void flushBuffer();

  FILE* stream_;
  std::string_view ending_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace oz
