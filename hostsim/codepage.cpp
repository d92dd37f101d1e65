#include "codepage.h"

#include <array>
#include <unordered_map>

namespace vemlo::sim {

namespace {

// Unicode of bytes 0x80..0xFF of code page 866.
constexpr char32_t k866High[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425,
    0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430,
    0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441, 0x0442,
    0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D,
    0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

// Bytes 0x80..0xBF of code page 1251 (0xC0..0xFF are U+0410..U+044F). Byte 0x98
// is no character: it stands for itself as U+0098.
constexpr char32_t k1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// Bytes 0x80..0x9F of code page 1252 (0xA0..0xFF are U+00A0..U+00FF); the five
// undefined bytes stand for themselves.
constexpr char32_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t SingleByteChar(CodePage cp, unsigned char b) {
  if (b < 0x80) return b;
  switch (cp) {
    case CodePage::Win1251: return b >= 0xC0 ? 0x0410 + (b - 0xC0) : k1251High[b - 0x80];
    case CodePage::Win1252: return b >= 0xA0 ? b : k1252High[b - 0x80];
    default: return k866High[b - 0x80];
  }
}

using ReverseMap = std::unordered_map<char32_t, unsigned char>;

const ReverseMap& Reverse(CodePage cp) {
  static const std::array<ReverseMap, 3> maps = [] {
    std::array<ReverseMap, 3> m;
    const CodePage cps[] = {CodePage::Oem866, CodePage::Win1251, CodePage::Win1252};
    for (int i = 0; i < 3; ++i)
      for (int b = 0x80; b < 0x100; ++b) m[i][SingleByteChar(cps[i], static_cast<unsigned char>(b))] =
          static_cast<unsigned char>(b);
    return m;
  }();
  switch (cp) {
    case CodePage::Win1251: return maps[1];
    case CodePage::Win1252: return maps[2];
    default: return maps[0];
  }
}

bool SingleByte(CodePage cp, char32_t c, unsigned char& byte) {
  if (c < 0x80) {
    byte = static_cast<unsigned char>(c);
    return true;
  }
  const ReverseMap& m = Reverse(cp);
  auto it = m.find(c);
  if (it == m.end()) return false;
  byte = it->second;
  return true;
}

constexpr char32_t kStandInBase = 0xDC00;  // + the byte (0x80..0xFF)

// One UTF-8 sequence at `i`: its code point and length; false for a broken or
// overlong sequence, a surrogate or a value past U+10FFFF.
bool DecodeUtf8At(std::string_view s, size_t i, char32_t& cp, size_t& len) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  char32_t min;
  if (c < 0x80) {
    cp = c;
    len = 1;
    return true;
  }
  if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; min = 0x80; }
  else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; min = 0x800; }
  else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; min = 0x10000; }
  else return false;
  if (i + len > s.size()) return false;
  for (size_t k = 1; k < len; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (d & 0x3F);
  }
  return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// UTF-8 to code points; `bad` gives the stand-in of a byte that starts no
// valid sequence.
template <class Bad>
std::u32string DecodeUtf8(std::string_view s, Bad bad) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t c;
    size_t len;
    if (DecodeUtf8At(s, i, c, len)) {
      out += c;
      i += len;
    } else {
      out += bad(static_cast<unsigned char>(s[i]));
      ++i;
    }
  }
  return out;
}

}  // namespace

const std::vector<CodePage>& EditorCodePages() {
  static const std::vector<CodePage> cps = {CodePage::Oem866, CodePage::Win1251, CodePage::Win1252,
                                            CodePage::Utf8};
  return cps;
}

CodePage NextCodePage(CodePage cp) {
  const auto& cps = EditorCodePages();
  for (size_t i = 0; i < cps.size(); ++i)
    if (cps[i] == cp) return cps[(i + 1) % cps.size()];
  return cps[0];
}

std::string CodePageName(CodePage cp) {
  return cp == CodePage::Utf8 ? "UTF-8" : std::to_string(static_cast<int>(cp));
}

std::optional<CodePage> ParseCodePage(const std::string& name) {
  std::string n;
  for (char c : name) n += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (n == "866" || n == "oem" || n == "dos") return CodePage::Oem866;
  if (n == "1251") return CodePage::Win1251;
  if (n == "1252") return CodePage::Win1252;
  if (n == "utf-8" || n == "utf8" || n == "65001") return CodePage::Utf8;
  return std::nullopt;
}

bool IsByteStandIn(char32_t c) { return c >= kStandInBase + 0x80 && c <= kStandInBase + 0xFF; }

std::u32string DecodeBytes(std::string_view bytes, CodePage cp) {
  if (cp == CodePage::Utf8) return DecodeUtf8(bytes, [](unsigned char b) { return kStandInBase + b; });
  std::u32string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) out += SingleByteChar(cp, b);
  return out;
}

bool CanHold(CodePage cp, char32_t c) {
  if (cp == CodePage::Utf8) return c <= 0x10FFFF && (!(c >= 0xD800 && c <= 0xDFFF) || IsByteStandIn(c));
  unsigned char b;
  return SingleByte(cp, c, b);
}

size_t FirstUnheld(const std::u32string& text, CodePage cp) {
  for (size_t i = 0; i < text.size(); ++i)
    if (!CanHold(cp, text[i])) return i;
  return std::u32string::npos;
}

bool EncodeText(const std::u32string& text, CodePage cp, std::string& out, size_t* badPos) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (cp == CodePage::Utf8) {
      if (IsByteStandIn(c)) {
        out += static_cast<char>(c - kStandInBase);
        continue;
      }
      if (CanHold(cp, c)) {
        AppendUtf8(out, c);
        continue;
      }
    } else if (unsigned char b; SingleByte(cp, c, b)) {
      out += static_cast<char>(b);
      continue;
    }
    if (badPos) *badPos = i;
    return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    char32_t c;
    size_t len;
    if (!DecodeUtf8At(bytes, i, c, len)) return false;
    i += len;
  }
  return true;
}

CodePage DetectCodePage(std::string_view bytes, CodePage fallback, bool& bom) {
  bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  if (bom) return CodePage::Utf8;
  bool beyondAscii = false;
  for (unsigned char b : bytes) beyondAscii = beyondAscii || b >= 0x80;
  return beyondAscii && IsValidUtf8(bytes) ? CodePage::Utf8 : fallback;
}

bool OemByte(char32_t c, unsigned char& byte) {
  if (c >= 0x0410 && c <= 0x043F) {  // the common case of Cyrillic text, without a look-up
    byte = static_cast<unsigned char>(0x80 + (c - 0x0410));
    return true;
  }
  return SingleByte(CodePage::Oem866, c, byte);
}

char32_t UnicodeOfOem(unsigned char byte) { return SingleByteChar(CodePage::Oem866, byte); }

std::string ToOem(const std::u32string& text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    unsigned char b;
    out += OemByte(c, b) ? static_cast<char>(b) : '?';
  }
  return out;
}

std::u32string FromOem(std::string_view oem) {
  std::u32string out;
  out.reserve(oem.size());
  for (unsigned char b : oem) out += UnicodeOfOem(b);
  return out;
}

std::u32string MergeOemEdit(const std::u32string& before, std::string_view after) {
  const std::string old = ToOem(before);
  size_t prefix = 0;
  while (prefix < old.size() && prefix < after.size() && old[prefix] == after[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < after.size() - prefix &&
         old[old.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  return before.substr(0, prefix) + FromOem(after.substr(prefix, after.size() - prefix - suffix)) +
         before.substr(before.size() - suffix);
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string ToUtf8(const std::u32string& text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::u32string FromUtf8(std::string_view utf8) {
  return DecodeUtf8(utf8, [](unsigned char) { return char32_t{0xFFFD}; });
}

std::string CharacterName(char32_t c) {
  static const char* hex = "0123456789ABCDEF";
  std::string digits;
  for (char32_t v = c; v > 0 || digits.size() < 4; v >>= 4) digits.insert(digits.begin(), hex[v & 0xF]);
  return "U+" + digits;
}

}  // namespace vemlo::sim
