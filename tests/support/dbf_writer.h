// Test-only DBF writer: builds table files from fields and rows, with knobs
// that forge header values or cut the file to make corrupt tables.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vemlo::test {

struct DbfFieldSpec {
  std::string Name;  // written zero-padded to 11 bytes (longer names are cut)
  char Type = 'C';
  int Len = 10;
  int Dec = 0;
  unsigned char Flags = 0;  // Visual FoxPro field flags (descriptor byte 18)
};

struct DbfRow {
  std::vector<std::string> Values;  // raw bytes, cut or space-padded to the field length
  bool Deleted = false;
};

struct DbfWriteOptions {
  unsigned char Version = 0x03;
  // Forged header values; by default they describe the written data.
  std::optional<uint32_t> RecordCount;
  std::optional<uint32_t> HeaderLen;
  std::optional<uint32_t> RecordLen;
  std::map<int, uint32_t> FieldOffsets;  // field index -> forged offset in the descriptor
  int ExtraHeaderBytes = 0;  // zero bytes after the descriptor terminator (a backlink area)
  std::string Backlink;      // written at the start of those bytes (cut to fit)
  bool EndMark = true;       // the trailing 0x1A after the records
  int64_t TruncateTo = -1;   // cut the file to this many bytes
  std::string Tail;          // bytes appended at the very end
};

// The bytes of a table file.
std::string BuildDbf(const std::vector<DbfFieldSpec>& fields, const std::vector<DbfRow>& rows,
                     const DbfWriteOptions& options = {});
// Writes bytes to a native path; false on failure.
bool WriteBytes(const std::string& nativePath, const std::string& bytes);
bool WriteDbf(const std::string& nativePath, const std::vector<DbfFieldSpec>& fields,
              const std::vector<DbfRow>& rows, const DbfWriteOptions& options = {});

}  // namespace vemlo::test
