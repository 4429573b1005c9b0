// Where expanded lines go. The expansion hands over each line without its
// ending; the sink decides the ending.
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace oz {

class LineSink {
 public:
  virtual ~LineSink() = default;
  // `text` is valid only during the call.
  virtual void line(std::string_view text) = 0;
  // True once a write has failed (a full disk, a closed pipe): the expansion
  // then stops, since nothing it produces later can reach the destination.
  bool failed() const { return failed_; }
  // Called each time a loop goes back for another pass. A loop that writes
  // nothing ends once its passes would all be alike (past the last frame),
  // but until then it may pass once per frame without writing; a sink that
  // must bound the work may fail here.
  virtual void loopedBack() {}

 protected:
  void setFailed() { failed_ = true; }

 private:
  bool failed_ = false;
};

// A sink that ends every line with the same bytes. The expansion can then
// hand it whole runs of lines at once, endings included, as consecutive
// pieces of text: far fewer calls for a template with many short lines.
class TextSink : public LineSink {
 public:
  explicit TextSink(std::string_view ending) : ending_(ending) {}
  std::string_view ending() const { return ending_; }
  void line(std::string_view text) final;
  // Appends the pieces, in order, as they are. Valid only during the call.
  virtual void write(std::span<const std::string_view> pieces) = 0;

 private:
  std::string_view ending_;
};

// Appends every line and the ending to a string: the clipboard text ("\r\n")
// or an in-memory script ("\n").
class StringLineSink final : public TextSink {
 public:
  StringLineSink(std::string* out, std::string_view ending) : TextSink(ending), out_(out) {}
  void write(std::span<const std::string_view> pieces) override;

 private:
  std::string* out_;
};

// Writes every line and the ending to an open stream, through a buffer of its
// own so that short lines do not each cost a library call. Call finish() to
// push out the rest and learn whether every byte was written. After a failed
// write it writes nothing more.
class StreamLineSink final : public TextSink {
 public:
  StreamLineSink(FILE* stream, std::string_view ending);
  void write(std::span<const std::string_view> pieces) override;
  // Writes what is buffered and flushes the stream. False if any write failed.
  bool finish();

 private:
  void put(std::string_view bytes);
  void flushBuffer();

  FILE* stream_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;  // bytes waiting in buffer_
};

}  // namespace oz
