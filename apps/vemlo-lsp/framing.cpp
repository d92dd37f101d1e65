#include "framing.h"

#include <algorithm>
#include <cctype>

namespace vemlo::lsp {
namespace {

constexpr std::string_view kLengthHeader = "content-length";

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The characters of a header name (a token of HTTP).
bool IsTokenChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("!#$%&'*+-.^_`|~").find(c) !=
                                                             std::string_view::npos;
}

// Where the next "Content-Length:" starts in text, npos when none does.
size_t FindLengthHeader(std::string_view text) {
  for (size_t i = 0; i + kLengthHeader.size() < text.size(); ++i) {
    if (EqualNoCase(text.substr(i, kLengthHeader.size()), kLengthHeader)) {
      std::string_view rest = Trim(text.substr(i + kLengthHeader.size()));
      if (!rest.empty() && rest.front() == ':') return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace

void FrameDecoder::Feed(std::string_view bytes) {
  buffer_.append(bytes);
  Decode();
}

bool FrameDecoder::Next(Frame& frame) {
  if (ready_.empty()) return false;
  frame = std::move(ready_.front());
  ready_.pop_front();
  return true;
}

void FrameDecoder::Refuse(std::string why) {
  Frame f;
  f.Malformed = true;
  f.Error = std::move(why);
  ready_.push_back(std::move(f));
  length_ = -1;
  headerSeen_ = false;
}

// Reads one header line; false when the buffer does not hold a whole one. A
// bad line is refused and the search for the next header starts inside it.
bool FrameDecoder::DecodeHeaderLine() {
  std::string_view rest(buffer_);
  rest.remove_prefix(pos_);
  const size_t nl = rest.find('\n');
  const size_t lineStart = pos_;
  auto refuseLine = [&](std::string why) {
    Refuse(std::move(why));
    pos_ = lineStart + 1;
    state_ = State::Resync;
    return true;
  };
  if (nl == std::string_view::npos) {
    if (rest.size() > kMaxHeaderLine)
      return refuseLine("a header line longer than " + std::to_string(kMaxHeaderLine) + " bytes");
    return false;
  }
  std::string_view line = rest.substr(0, nl);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxHeaderLine)
    return refuseLine("a header line longer than " + std::to_string(kMaxHeaderLine) + " bytes");
  pos_ += nl + 1;
  if (line.empty()) {
    if (!headerSeen_) return true;  // blank lines between frames
    if (length_ < 0) {
      // The header may be glued to garbage in the block: look again from its start.
      const size_t from = blockStart_ + 1;
      Refuse("a header block without Content-Length");
      pos_ = from;
      state_ = State::Resync;
    } else if (static_cast<unsigned long long>(length_) > kMaxBodySize) {
      // Not held, and not skipped either: a length that large is more likely a
      // broken header than a body, so the next header is looked for.
      Refuse("a body of " + std::to_string(length_) + " bytes, more than the server reads");
      state_ = State::Resync;
    } else {
      state_ = State::Body;
    }
    return true;
  }
  const size_t colon = line.find(':');
  const std::string_view name = colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsTokenChar))
    return refuseLine("a header line that is not \"name: value\"");
  if (!headerSeen_) blockStart_ = lineStart;
  headerSeen_ = true;
  if (EqualNoCase(name, kLengthHeader)) {
    std::string_view value = Trim(line.substr(colon + 1));
    const bool digits = !value.empty() && value.size() <= 18 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) return refuseLine("a Content-Length that is not a number");
    length_ = std::stoll(std::string(value));
  }
  return true;
}

void FrameDecoder::Decode() {
  for (;;) {
    const size_t avail = buffer_.size() - pos_;
    if (state_ == State::Header) {
      if (!DecodeHeaderLine()) break;
    } else if (state_ == State::Body) {
      if (avail < static_cast<size_t>(length_)) break;
      Frame f;
      f.Body = buffer_.substr(pos_, static_cast<size_t>(length_));
      pos_ += static_cast<size_t>(length_);
      ready_.push_back(std::move(f));
      length_ = -1;
      headerSeen_ = false;
      state_ = State::Header;
    } else {  // Resync: drop bytes up to the next Content-Length header
      std::string_view rest(buffer_);
      rest.remove_prefix(pos_);
      const size_t at = FindLengthHeader(rest);
      if (at == std::string_view::npos) {
        // Keep a tail that may be the start of a header cut by the read.
        const size_t keep = std::min(rest.size(), kLengthHeader.size() + 64);
        pos_ += rest.size() - keep;
        break;
      }
      pos_ += at;
      state_ = State::Header;
    }
  }
  // Drop what is read, but not the start of a header block still being read.
  const size_t keep = state_ == State::Header && headerSeen_ ? blockStart_ : pos_;
  if (keep > 0 && (keep == buffer_.size() || keep > (1u << 16))) {
    buffer_.erase(0, keep);
    pos_ -= keep;
    blockStart_ -= std::min(blockStart_, keep);
  }
}

std::string EncodeFrame(std::string_view body) {
  std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out.append(body);
  return out;
}

}  // namespace vemlo::lsp
