// Visual FoxPro database containers: the objects of the container table and
// the property blocks of its memo file, read with the same care as a table.
#include "dbf/dbc.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "help/memo_reader.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

constexpr size_t kPropertyHead = 7;  // length, kind, id
// Properties are short texts; a forged block length reads no further than this.
constexpr int64_t kMaxPropertyBlock = 64 * 1024;

uint32_t Le32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::string Text(std::string_view value) {
  const size_t zero = value.find('\0');
  std::string text(value.substr(0, zero));
  return Trim(text);
}

std::string UpperPath(const std::string& path) { return UpperCase(platform::ExpandFileName(path)); }

// The columns of the container table that its objects are read from.
struct DbcColumns {
  int Id = -1;
  int Parent = -1;
  int Type = -1;
  int Name = -1;
  int Property = -1;  // -1 without one: no properties
};

bool FindColumns(const TxxDBF& table, DbcColumns& c) {
  const auto typed = [&table](const char* name, char type) {
    const int f = FindDBFField(table, name);
    return f >= 0 && table.Fields[size_t(f)].FieldType == type ? f : -1;
  };
  c.Id = typed("OBJECTID", 'I');
  c.Parent = typed("PARENTID", 'I');
  c.Type = typed("OBJECTTYPE", 'C');
  c.Name = typed("OBJECTNAME", 'C');
  c.Property = typed("PROPERTY", 'M');
  if (c.Property >= 0 && table.Fields[size_t(c.Property)].Len != 4) c.Property = -1;
  return c.Id >= 0 && c.Parent >= 0 && c.Type >= 0 && c.Name >= 0;
}

bool ReadId(const TxxDBF& table, int field, int record, int& id) {
  return TryStrToInt(Trim(std::string(DBFValueRef(table, field, record))), id);
}

// Where the records of the container lie in its file, from its header.
struct RecordPlace {
  int64_t First = 0;
  int64_t Len = 0;
};

bool ReadRecordPlace(platform::InFile& file, RecordPlace& place) {
  unsigned char head[12];
  if (file.ReadAt(0, head, sizeof head) != int64_t(sizeof head)) return false;
  place.First = head[8] | (head[9] << 8);
  place.Len = head[10] | (head[11] << 8);
  return true;
}

// The property block of one object: its memo pointer read from the record,
// then the block from the memo file. False when a read fails.
bool ReadProperties(platform::InFile& file, const RecordPlace& place, const TxxDBFField& field, int32_t recNo,
                    platform::InFile& memo, TxxDbcProperties& properties) {
  properties = {};
  if (!memo.IsOpen() || field.Offset < 1 || int64_t(field.Offset) + 4 > place.Len) return true;
  unsigned char pointer[4];
  const int64_t got = file.ReadAt(place.First + int64_t(recNo) * place.Len + field.Offset, pointer, 4);
  if (got < 0) return false;
  const uint32_t block = got == 4 ? Le32(pointer) : 0;
  if (block == 0) return true;
  TxxMemoBlock found;
  if (FindMemoBlock(memo, block, found) != TxxReadStatus::Read) return false;
  if (!found.Found || found.Length <= 0) return true;
  std::string bytes(size_t(std::min(found.Length, kMaxPropertyBlock)), '\0');
  const int64_t read = memo.ReadAt(found.Start, bytes.data(), int64_t(bytes.size()));
  if (read < 0) return false;
  bytes.resize(size_t(read));
  properties = ParseDbcProperties(bytes);
  return true;
}

void OpenDct(const std::string& dbcPath, platform::InFile& memo) {
  if (!memo.Open(ChangeFileExt(dbcPath, ".dct"))) memo.Open(ChangeFileExt(dbcPath, ".DCT"));
}

}  // namespace

TxxDbcProperties ParseDbcProperties(std::string_view block) {
  TxxDbcProperties found;
  size_t at = 0;
  while (block.size() - at >= kPropertyHead) {
    const auto* head = reinterpret_cast<const unsigned char*>(block.data() + at);
    const uint32_t len = Le32(head);
    if (len < kPropertyHead || len > block.size() - at) break;
    const std::string_view value = block.substr(at + kPropertyHead, len - kPropertyHead);
    if (head[6] == dbcPropertyPath) found.Path = Text(value);
    if (head[6] == dbcPropertyComment) found.Comment = Text(value);
    at += len;
  }
  return found;
}

TxxReadStatus ReadDBC(const std::string& fileName, TxxDbc& dbc) {
  dbc = TxxDbc{};
  dbc.FileName = fileName;
  TxxDBF table;
  const TxxReadStatus status = ReadDBF(table, false, fileName, TxxSizeCheck::Accept);
  DbcColumns c;
  if (status != TxxReadStatus::Read || table.State != dsLoaded || !FindColumns(table, c)) return status;

  platform::InFile file;
  RecordPlace place;
  if (!file.Open(fileName) || !ReadRecordPlace(file, place)) return TxxReadStatus::ReadError;
  platform::InFile memo;
  if (c.Property >= 0) OpenDct(fileName, memo);
  const std::string dir = ExtractFilePath(platform::ExpandFileName(fileName));

  std::map<int, size_t> tableOf;  // object id -> index in Tables
  TxxDbcProperties properties;
  for (int r = 0; r < table.RecCount; ++r) {
    const std::string type = UpperCase(Trim(std::string(DBFValueRef(table, c.Type, r))));
    int id = 0;
    int parent = 0;
    if ((type != "TABLE" && type != "FIELD") || !ReadId(table, c.Id, r, id) || !ReadId(table, c.Parent, r, parent))
      continue;
    const auto owner = tableOf.find(parent);
    if (type == "FIELD" && owner == tableOf.end()) continue;
    if (c.Property >= 0 &&
        !ReadProperties(file, place, table.Fields[size_t(c.Property)], table.RecNos[size_t(r)], memo, properties)) {
      dbc.Tables.clear();
      return TxxReadStatus::ReadError;
    }
    std::string name = Trim(std::string(DBFValueRef(table, c.Name, r))).substr(0, kDbcNameLen);
    if (name.empty()) continue;
    if (type == "FIELD") {
      dbc.Tables[owner->second].Fields.push_back(TxxDbcField{std::move(name), properties.Comment});
      continue;
    }
    TxxDbcTable entry;
    // Without a stored path the table is taken to lie beside the container, named as it is.
    entry.Path = properties.Path.empty() ? dir + name + ".dbf" : ResolvePath(dir, properties.Path);
    entry.Name = std::move(name);
    entry.Comment = properties.Comment;
    tableOf[id] = dbc.Tables.size();
    dbc.Tables.push_back(std::move(entry));
  }
  return TxxReadStatus::Read;
}

std::string DbcTablePath(const TxxDbcList& known, const std::string& longName) {
  const std::string wanted = UpperCase(Trim(longName));
  if (wanted.empty()) return {};
  for (const TxxDbc& dbc : known)
    for (const TxxDbcTable& t : dbc.Tables)
      if (UpperCase(t.Name) == wanted) return t.Path;
  return {};
}

std::optional<TxxDbcTable> FindDbcTable(const TxxDBF& table, const TxxDbcList& known) {
  const std::string path = UpperPath(table.FileName);
  // byName: the container the table names as its own may have been moved with
  // its tables to where the stored paths no longer lead; its entry of the
  // same file name is then the table's.
  const auto entryIn = [&](const TxxDbc& dbc, bool byName) -> std::optional<TxxDbcTable> {
    const TxxDbcTable* match = nullptr;
    for (const TxxDbcTable& t : dbc.Tables) {
      if (UpperPath(t.Path) == path) {
        match = &t;
        break;
      }
      if (byName && !match && UpperCase(ExtractFileName(t.Path)) == UpperCase(ExtractFileName(path))) match = &t;
    }
    if (!match || match->Fields.size() != table.Fields.size()) return std::nullopt;
    return *match;
  };
  if (!table.Database.empty()) {
    const std::string dbcPath = ResolvePath(ExtractFilePath(platform::ExpandFileName(table.FileName)), table.Database);
    if (platform::FileExists(dbcPath)) {
      TxxDbc dbc;
      ReadDBC(dbcPath, dbc);
      if (auto entry = entryIn(dbc, true)) return entry;
    }
  }
  for (const TxxDbc& dbc : known)
    if (auto entry = entryIn(dbc, false)) return entry;
  return std::nullopt;
}

}  // namespace vemlo
