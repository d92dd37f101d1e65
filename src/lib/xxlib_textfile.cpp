// xxlib: sequential text files over the platform's line reader.
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

TextFile::TextFile() = default;
TextFile::~TextFile() = default;

namespace {

platform::TextReader& OpenReader(TextFile& file) {
  if (!file.Reader || !file.Reader->IsOpen()) throw TextFileError{file.Name};
  return *file.Reader;
}

// Reads one line; false at the end, a TextFileError on a read error.
bool NextLine(TextFile& file, platform::TextReader& reader, std::string& line) {
  if (reader.ReadLine(line)) return true;
  if (reader.Failed()) throw TextFileError{file.Name};
  return false;
}

void RewindOrThrow(TextFile& file, platform::TextReader& reader) {
  if (!reader.Rewind()) throw TextFileError{file.Name};
}

}  // namespace

bool OpenTextFile(TextFile& file, const std::string& name) {
  CloseTextFile(file);
  if (IsBlank(name)) return false;
  auto reader = std::make_unique<platform::TextReader>();
  if (!reader->Open(name)) return false;
  file.Reader = std::move(reader);
  file.Name = name;
  return true;
}

bool ReadTextLine(TextFile& file, std::string& line) {
  line.clear();
  if (!file.Reader || !file.Reader->IsOpen()) return false;
  return file.Reader->ReadLine(line);
}

bool TextFileFailed(const TextFile& file) { return file.Reader && file.Reader->Failed(); }

int CountTextLines(TextFile& file) {
  platform::TextReader& reader = OpenReader(file);
  RewindOrThrow(file, reader);
  int count = 0;
  std::string line;
  while (NextLine(file, reader, line)) ++count;
  RewindOrThrow(file, reader);
  return count;
}

bool SeekTextLine(TextFile& file, int n) {
  platform::TextReader& reader = OpenReader(file);
  if (n < 0) n = 0;
  std::string line;
  RewindOrThrow(file, reader);
  for (int i = 0; i < n; ++i)
    if (!NextLine(file, reader, line)) return false;
  // The reader has no look-ahead: probe line n, then skip back to its start.
  if (!NextLine(file, reader, line)) return false;
  RewindOrThrow(file, reader);
  for (int i = 0; i < n; ++i)
    if (!NextLine(file, reader, line)) return false;
  return true;
}

void CloseTextFile(TextFile& file) {
  if (file.Reader) file.Reader->Close();
  file.Reader.reset();
  file.Name.clear();
}

}  // namespace vemlo
