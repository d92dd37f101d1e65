// Code pages of the edited files. The editor holds a file's text decoded to
// Unicode and writes it back in the file's code page; every byte decodes to a
// character that encodes back to that byte, so text left alone is saved byte
// for byte. The plug-in sees the same text in code page 866 (OEM).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemlo::sim {

enum class CodePage { Oem866 = 866, Win1251 = 1251, Win1252 = 1252, Utf8 = 65001 };

// The code pages the editor offers, in the order F8 walks them.
const std::vector<CodePage>& EditorCodePages();
CodePage NextCodePage(CodePage cp);
// "866", "1251", "1252", "UTF-8".
std::string CodePageName(CodePage cp);
// A name as the command line gives it: 866 (or oem, dos), 1251, 1252, utf-8 (utf8, 65001).
std::optional<CodePage> ParseCodePage(const std::string& name);

// Bytes of a file to its text. Bytes that are no character (undefined bytes of
// 1251/1252, broken UTF-8) become stand-ins that encode back to the same byte.
std::u32string DecodeBytes(std::string_view bytes, CodePage cp);
// The text in the code page's bytes; false when a character cannot be held
// (`badPos` then names the first such character).
bool EncodeText(const std::u32string& text, CodePage cp, std::string& out, size_t* badPos = nullptr);
bool CanHold(CodePage cp, char32_t c);
// Index of the first character of `text` that `cp` cannot hold, npos for none.
size_t FirstUnheld(const std::u32string& text, CodePage cp);

// A file's code page as it is opened: UTF-8 when it starts with the byte-order
// mark (`bom` set) or is valid UTF-8 with bytes beyond ASCII, else `fallback`.
CodePage DetectCodePage(std::string_view bytes, CodePage fallback, bool& bom);
// True when `bytes` is valid UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Stand-ins of undecodable UTF-8 bytes: U+DC80..U+DCFF.
bool IsByteStandIn(char32_t c);

// ---- Code page 866, the plug-in's text ----
// The 866 byte of a character; false when 866 has none.
bool OemByte(char32_t c, unsigned char& byte);
char32_t UnicodeOfOem(unsigned char byte);  // bytes below 0x80 are themselves
// The text in 866; characters without an 866 byte become '?'.
std::string ToOem(const std::u32string& text);
std::u32string FromOem(std::string_view oem);
// The new text of a line the plug-in changed: the characters the plug-in's
// view did not change stay what they were, so characters 866 lacks survive an
// edit of other parts of the line.
std::u32string MergeOemEdit(const std::u32string& before, std::string_view oemAfter);

// ---- UTF-8 ----
void AppendUtf8(std::string& out, char32_t c);
std::string ToUtf8(const std::u32string& text);
std::u32string FromUtf8(std::string_view utf8);  // broken sequences become U+FFFD

// "U+20AC": how a message names a character the message cannot show.
std::string CharacterName(char32_t c);

}  // namespace vemlo::sim
