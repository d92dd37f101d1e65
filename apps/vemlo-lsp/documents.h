// The documents the client has open: their text as lines of bytes in the
// project's code page, kept in step with the client's edits, and the mapping
// between the protocol's positions (line, UTF-16 units) and bytes of a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vemlo::lsp {

// How a document's bytes relate to the client's UTF-8 text. A single-byte code
// page counts one UTF-16 unit per byte; a UTF-8 document counts the units of
// each character (a byte that starts no valid character counts one).
struct TextCodec {
  bool Utf8 = true;
  // Client text to the document's bytes; a character the code page cannot hold
  // becomes one "?" per UTF-16 unit, so that the client's positions stay right.
  std::function<std::string(std::string_view utf8)> FromClient;
  // The document's bytes as UTF-8 for the client.
  std::function<std::string(std::string_view bytes)> ToClient;
};

// A protocol position; Line and Character are never negative.
struct Position {
  int64_t Line = 0;
  int64_t Character = 0;  // UTF-16 units
};

struct TextDocument {
  std::string Uri;
  std::string Path;  // native path of a file: URI, empty for any other
  int64_t Version = 0;
  TextCodec Codec;
  std::vector<std::string> Lines;  // without line ends; at least one
};

// Lines of a text split at CR LF, LF and CR; an empty text is one empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Byte offset in a line of a UTF-16 column: columns past the end give the
// line's length, a column inside a character gives that character's start.
size_t ByteOfColumn(std::string_view line, bool utf8, int64_t column);
int64_t ColumnOfByte(std::string_view line, bool utf8, size_t byte);
int64_t LineColumns(std::string_view line, bool utf8);

// A place in a document: a line that exists and a byte offset inside it.
struct Place {
  int Line = 0;
  size_t Byte = 0;
};
// The place of a position: a line past the end is the end of the document.
Place PlaceOf(const TextDocument& doc, const Position& pos);
Position PositionOf(const TextDocument& doc, int line, size_t byte);

void SetText(TextDocument& doc, std::string_view utf8);
// Replaces the text between two positions (in either order) by client text.
void ApplyEdit(TextDocument& doc, const Position& start, const Position& end, std::string_view utf8);

// Bytes of the document's code page as the client's text.
std::string ToClientText(const TextCodec& codec, const std::string& bytes);
// The document's text for the client, lines joined by LF.
std::string ClientText(const TextDocument& doc);

using DocumentMap = std::map<std::string, TextDocument>;  // by URI

}  // namespace vemlo::lsp
