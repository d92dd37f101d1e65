#include "dbf_source.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace vemlo::dbfmake {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Pieces of a row between bars that are not escaped; escapes stay in place.
std::vector<std::string> SplitRaw(const std::string& s) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      pieces.back() += s[i];
      pieces.back() += s[++i];
    } else if (s[i] == '|') {
      pieces.emplace_back();
    } else {
      pieces.back() += s[i];
    }
  }
  return pieces;
}

// "\|" and "\\" stand for themselves, "\xHH" for any byte; any other
// backslash is an ordinary character (paths keep theirs).
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[i + 1];
      if (n == '|' || n == '\\') {
        out += n;
        ++i;
        continue;
      }
      if (n == 'x' && i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
        out += char(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
        i += 3;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

bool ParseInt(const std::string& s, long min, long max, long& value) {
  if (s.empty()) return false;
  char* end = nullptr;
  value = std::strtol(s.c_str(), &end, 0);
  return *end == '\0' && value >= min && value <= max;
}

std::string Upper(std::string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// The heredoc tag of a value "<<TAG", or "" when the value is no heredoc.
std::string HeredocTag(const std::string& raw) {
  if (raw.size() < 3 || raw.compare(0, 2, "<<") != 0) return {};
  for (size_t i = 2; i < raw.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(raw[i])) && raw[i] != '_') return {};
  return raw.substr(2);
}

class Parser {
 public:
  Parser(const std::string& text, TableSource& table, SourceError& error)
      : lines_(SplitLines(text)), table_(table), error_(error) {}

  bool Run() {
    for (index_ = 0; index_ < lines_.size(); ++index_) {
      std::string line = TrimBlanks(lines_[index_]);
      if (line.empty() || line[0] == '#') continue;
      size_t cut = 0;
      while (cut < line.size() && !IsBlank(line[cut])) ++cut;
      std::string keyword = line.substr(0, cut);
      std::string rest = cut < line.size() ? line.substr(cut + 1) : std::string();
      bool ok = keyword == "version"   ? Version(rest)
                : keyword == "date"    ? Date(rest)
                : keyword == "field"   ? Field(rest)
                : keyword == "row"     ? Row(rest, false)
                : keyword == "deleted" ? Row(rest, true)
                                       : Fail("unknown keyword \"" + keyword + "\"");
      if (!ok) return false;
    }
    return true;
  }

 private:
  int LineNo() const { return int(index_) + 1; }

  bool Fail(const std::string& text) {
    error_.Line = LineNo();
    error_.Text = text;
    return false;
  }

  bool Version(const std::string& rest) {
    long v = 0;
    if (!ParseInt(TrimBlanks(rest), 0, 255, v)) return Fail("version must be a byte (e.g. 0x03)");
    table_.Version = (unsigned char)v;
    return true;
  }

  bool Date(const std::string& rest) {
    std::string d = TrimBlanks(rest);
    long v = 0;
    if (d.size() != 8 || !ParseInt(d, 19000101, 21551231, v)) return Fail("date must be YYYYMMDD");
    table_.Year = int(v / 10000);
    table_.Month = int(v / 100 % 100);
    table_.Day = int(v % 100);
    if (table_.Month < 1 || table_.Month > 12 || table_.Day < 1 || table_.Day > 31)
      return Fail("date must be YYYYMMDD");
    return true;
  }

  bool Field(const std::string& rest) {
    if (!table_.Rows.empty()) return Fail("fields must come before the rows");
    std::istringstream words(rest);
    std::string name, type, len, dec, extra;
    words >> name >> type >> len >> dec >> extra;
    if (name.empty() || type.empty()) return Fail("expected: field NAME TYPE [LEN [DEC]]");
    if (!extra.empty()) return Fail("too many words after field");
    if (name.size() > 11) return Fail("field name longer than 11 characters");
    SourceField f;
    f.Name = name;
    if (type == "memoref") {
      f.Kind = FieldKind::MemoRef;
      f.Type = 'N';
      f.Len = 8;
    } else if (type.size() == 1) {
      f.Type = Upper(type)[0];
      f.Kind = f.Type == 'M' ? FieldKind::Memo : FieldKind::Plain;
      f.Len = f.Type == 'D' ? 8 : f.Type == 'L' ? 1 : f.Type == 'M' ? 10 : 0;
    } else {
      return Fail("unknown field type \"" + type + "\"");
    }
    long v = 0;
    if (!len.empty()) {
      if (!ParseInt(len, 1, 255, v)) return Fail("field length must be 1 to 255");
      f.Len = int(v);
    }
    if (f.Len == 0) return Fail("field " + name + " needs a length");
    if (!dec.empty()) {
      if (!ParseInt(dec, 0, 255, v) || v >= f.Len) return Fail("decimal count must be below the length");
      f.Dec = int(v);
    }
    for (const auto& other : table_.Fields)
      if (Upper(other.Name) == Upper(name)) return Fail("field " + name + " is declared twice");
    table_.Fields.push_back(f);
    return true;
  }

  bool Row(const std::string& rest, bool deleted) {
    if (table_.Fields.empty()) return Fail("a row before any field");
    SourceRow row;
    row.Deleted = deleted;
    row.Line = LineNo();
    std::vector<std::string> pieces = SplitRaw(rest);
    if (pieces.size() != table_.Fields.size())
      return Fail("row has " + std::to_string(pieces.size()) + " values for " +
                  std::to_string(table_.Fields.size()) + " fields");
    for (size_t i = 0; i < pieces.size(); ++i) {
      std::string raw = TrimBlanks(pieces[i]);
      std::string tag = HeredocTag(raw);
      if (!tag.empty() && table_.Fields[i].Kind != FieldKind::Plain) {
        std::string text;
        if (!Heredoc(tag, text)) return false;
        row.Values.push_back(text);
      } else {
        row.Values.push_back(Unescape(raw));
      }
    }
    table_.Rows.push_back(row);
    return true;
  }

  // The lines after the current one up to a line that is exactly the tag,
  // joined with CR LF; the bytes are kept as they are.
  bool Heredoc(const std::string& tag, std::string& text) {
    size_t start = index_;
    std::string joined;
    for (size_t i = index_ + 1; i < lines_.size(); ++i) {
      if (lines_[i] == tag) {
        text = joined;
        index_ = i;
        return true;
      }
      if (i > index_ + 1) joined += "\r\n";
      joined += lines_[i];
    }
    index_ = start;
    return Fail("memo text <<" + tag + " has no closing line " + tag);
  }

  std::vector<std::string> lines_;
  TableSource& table_;
  SourceError& error_;
  size_t index_ = 0;
};

}  // namespace

bool TableSource::HasMemo() const {
  for (const auto& f : Fields)
    if (f.Kind != FieldKind::Plain) return true;
  return false;
}

bool ParseTableSource(const std::string& text, TableSource& table, SourceError& error) {
  table = TableSource{};
  return Parser(text, table, error).Run();
}

}  // namespace vemlo::dbfmake
