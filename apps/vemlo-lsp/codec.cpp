#include "codec.h"

namespace vemlo::lsp {

TextCodec CodecOf(codepage::CodePage cp) {
  TextCodec codec;
  codec.Utf8 = cp == codepage::CodePage::Utf8;
  if (codec.Utf8) return codec;  // the bytes are the client's own
  codec.FromClient = [cp](std::string_view utf8) {
    const std::u32string text = codepage::FromUtf8(utf8);
    std::string out;
    if (codepage::EncodeText(text, cp, out)) return out;
    // One "?" per UTF-16 unit of a character the code page lacks, so that the
    // client's columns still count the same characters.
    out.clear();
    std::string one;
    for (char32_t c : text) {
      if (codepage::EncodeText(std::u32string(1, c), cp, one)) out += one;
      else out.append(c >= 0x10000 ? 2 : 1, '?');
    }
    return out;
  };
  codec.ToClient = [cp](std::string_view bytes) { return codepage::ToUtf8(codepage::DecodeBytes(bytes, cp)); };
  return codec;
}

std::optional<codepage::CodePage> CodePageOption(const std::string& name) { return codepage::ParseCodePage(name); }

}  // namespace vemlo::lsp
