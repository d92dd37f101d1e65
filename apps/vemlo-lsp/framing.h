// The base protocol's framing: a header block ("Content-Length: N", other
// headers ignored, CR LF line ends) and a body of N bytes. The decoder is fed
// whatever bytes arrive and hands out whole bodies, or a note that a header
// block could not be read; after such a block it looks for the next line that
// starts a header, so one bad frame costs only itself.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace vemlo::lsp {

struct Frame {
  bool Malformed = false;
  std::string Body;   // the body, when well formed
  std::string Error;  // why the header block was refused
};

// Bodies larger than this are refused without being held (the decoder then
// looks for the next header, as after any bad header block).
inline constexpr size_t kMaxBodySize = size_t(64) << 20;
// A header line longer than this is refused too.
inline constexpr size_t kMaxHeaderLine = 8192;

class FrameDecoder {
 public:
  void Feed(std::string_view bytes);
  // The next decoded frame; false when none is complete yet.
  bool Next(Frame& frame);
  // Bytes held of a frame not yet complete (at the end of the input: a cut frame).
  bool HasPartial() const { return !buffer_.empty() || state_ != State::Header; }

 private:
  enum class State { Header, Body, Resync };
  void Decode();
  bool DecodeHeaderLine();
  void Refuse(std::string why);

  std::string buffer_;
  size_t pos_ = 0;
  State state_ = State::Header;
  long long length_ = -1;      // Content-Length of the header block being read
  bool headerSeen_ = false;    // a line of the block has been read
  size_t blockStart_ = 0;      // where that block starts in buffer_
  std::deque<Frame> ready_;
};

// A body with its header block.
std::string EncodeFrame(std::string_view body);

}  // namespace vemlo::lsp
