// xxlib: string, word, path and text-file routines shared by the whole plug-in.
// Texts are OEM byte strings; positions are 1-based, 0 meaning none.
#pragma once

#include <bitset>
#include <memory>
#include <string>

namespace vemlo {

namespace platform { class TextReader; }

// A membership set over the 256 byte values.
using CharSet = std::bitset<256>;

extern const CharSet IdentChars;       // 0-9 A-Z _ a-z
extern const CharSet IdentStartChars;  // A-Z _ a-z

CharSet MakeCharSet(const std::string& chars);
CharSet WithChars(const CharSet& set, const std::string& chars);
inline bool InSet(const CharSet& set, char c) { return set.test(static_cast<unsigned char>(c)); }

// Trimming removes every character of code 32 or less.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
// Upper-casing changes the letters a to z only.
std::string UpperCase(const std::string& s);
std::string IntToStr(long long value);
// A whole decimal number (optional sign, no blanks); false otherwise.
bool TryStrToInt(const std::string& s, int& value);

bool IsBlank(const std::string& s);
bool AllCharsIn(const std::string& s, const CharSet& set);
std::string RepeatStr(const std::string& s, int count);
std::string PadRightTo(const std::string& s, int width);
std::string PadLeftTo(const std::string& s, int width);
std::string SubstrFrom(const std::string& s, int from, int count);
std::string FirstWord(const std::string& s);
std::string PopWord(std::string& s);
std::string PopToken(std::string& s, const CharSet& set);
std::string WordAt(const std::string& s, const CharSet& set, int anchor, int& right, int& left);
// The word of the set that a dot joins in front of the word at anchor (THIS in
// THIS.Method); empty when there is none.
std::string QualifierOfWordAt(const std::string& s, const CharSet& set, int anchor);
int LastCharIn(const std::string& s, const CharSet& set);
inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);
bool WildMatch(const std::string& text, const std::string& pattern);
std::string TrimBlanks(const std::string& s, bool left, bool right);

// Path routines (DOS paths).
std::string ResolvePath(const std::string& baseDir, const std::string& path);
std::string ResolvePathList(const std::string& baseDir, const std::string& list, bool dropDuplicates);
std::string ShortenPath(const std::string& path, int width);
std::string FirstExistingFile(const std::string& masks);
std::string ExtractFilePath(const std::string& path);  // up to and including the last "\" or ":"
std::string ExtractFileName(const std::string& path);  // after the last "\" or ":"
std::string ExtractFileExt(const std::string& path);   // from the last "." of the name, "" when none
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string IncludeTrailingBackslash(const std::string& dir);

// Sequential text files.
struct TextFile {
  TextFile();
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  std::unique_ptr<platform::TextReader> Reader;
  std::string Name;  // as opened, for TextFileError
};
bool OpenTextFile(TextFile& file, const std::string& name);
// The next line; false at the end of the file and on a read error, which
// TextFileFailed then tells apart.
bool ReadTextLine(TextFile& file, std::string& line);
bool TextFileFailed(const TextFile& file);
int CountTextLines(TextFile& file);
bool SeekTextLine(TextFile& file, int n);
void CloseTextFile(TextFile& file);

// Raised by CountTextLines and SeekTextLine on a read error.
struct TextFileError {
  std::string FileName;
};

}  // namespace vemlo
