// vemlo-dbfmake: writes a DBF table (and its FPT memo file) from a readable
// text source, so that every table shipped with the module can be reviewed.
//
//   vemlo-dbfmake SOURCE.txt OUTPUT.dbf
//
// Source format, one statement a line (blanks around words are ignored):
//
//   # a comment (a line whose first non-blank character is "#")
//   version 0xF5              table version byte (default 0x03)
//   date 19950101             header date of last update (default 19950101)
//   field NAME TYPE [LEN [DEC]]
//                             TYPE is one letter (C, N, F, D, L, M, ...) or
//                             memoref; D, L, M and memoref have default
//                             lengths 8, 1, 10 and 8
//   row v1 | v2 | ...         one record, a value per field
//   deleted v1 | v2 | ...     a record marked deleted
//
// Values are trimmed of blanks at both ends; "\|" is a bar, "\\" a
// backslash, "\xHH" any byte (so "\x20" keeps a blank); any other backslash is
// kept. N and F values are aligned right, all others left; a value longer than
// its field is an error. Bytes are copied as they are (no code-page change).
//
// A field of type M holds the number of a memo block in the FPT file beside
// the table (same name, extension .fpt, in the case of the table's extension);
// a memoref field stores the memo text the same way and its block number as
// decimal text in an N field (8 wide by default). An empty memo value writes
// no block and leaves the field blank. A memo value "<<TAG" takes the lines
// that follow the row up to a line that is exactly TAG, joined with CR LF;
// several such values in one row read their texts in field order.
//
// Memo fields need version 0xF5. The FPT file has block size 64, the next free
// block big-endian at offset 0 and the block size big-endian at offset 6; each
// memo is a block chain with type 1 (big-endian) at +0, the text length
// (big-endian) at +4 and the text from +8.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "dbf_image.h"
#include "dbf_source.h"

namespace {

bool ReadAll(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return !in.bad();
}

// Written beside the target and renamed over it, so a failed run leaves no
// half-written table behind.
bool WriteAll(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

std::string MemoFileName(const std::string& table) {
  std::filesystem::path p(table);
  std::string ext = p.extension().string();
  bool upper = !ext.empty() && ext.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
  return p.replace_extension(upper ? ".FPT" : ".fpt").string();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vemlo::dbfmake;
  if (argc != 3) {
    std::cerr << "usage: vemlo-dbfmake SOURCE OUTPUT.dbf\n";
    return 2;
  }
  const std::string source = argv[1], output = argv[2];
  std::string text;
  if (!ReadAll(source, text)) {
    std::cerr << source << ": cannot read\n";
    return 1;
  }
  TableSource table;
  TableImage image;
  SourceError error;
  if (!ParseTableSource(text, table, error) || !BuildTableImage(table, image, error)) {
    std::cerr << source << ":" << error.Line << ": " << error.Text << "\n";
    return 1;
  }
  if (!WriteAll(output, image.Dbf) || (!image.Fpt.empty() && !WriteAll(MemoFileName(output), image.Fpt))) {
    std::cerr << output << ": cannot write\n";
    return 1;
  }
  return 0;
}
