// Visual FoxPro database containers (.DBC with its .DCT memo file): the long
// names and comments that a database keeps for its tables and their fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/read_status.h"
#include "dbf/xxdbf.h"

namespace vemlo {

// Long names are cut to what a container can hold.
constexpr size_t kDbcNameLen = 128;

struct TxxDbcField {
  std::string Name;  // the long name
  std::string Comment;
};

struct TxxDbcTable {
  std::string Name;  // the long name
  std::string Path;  // the table's file: its stored path resolved against the container's folder
  std::string Comment;
  std::vector<TxxDbcField> Fields;  // in the order of the table's fields
};

struct TxxDbc {
  std::string FileName;
  std::vector<TxxDbcTable> Tables;
};
using TxxDbcList = std::vector<TxxDbc>;

// What one object's property block gives. A block is a run of records: a
// 4-byte little-endian length counting the whole record, 2 bytes of kind, a
// 1-byte property id and the value (text up to its first zero byte). A record
// whose length is too short for its head or runs past the block ends the run;
// ids other than the path and the comment are skipped.
struct TxxDbcProperties {
  std::string Path;
  std::string Comment;
};
enum : unsigned char { dbcPropertyPath = 1, dbcPropertyComment = 7 };
TxxDbcProperties ParseDbcProperties(std::string_view block);

// Reads the container's objects: its Table rows and the Field rows under
// each, with their properties from the memo file beside it (".dct"). A table
// without the object columns is no container and gives no tables; a missing
// memo file gives names without comments; a memo pointer the memo file does
// not hold gives no properties. The status is the table reader's, or
// ReadError when a memo read fails (then no tables are kept).
TxxReadStatus ReadDBC(const std::string& fileName, TxxDbc& dbc);

// The file of the first table of the containers with that long name (letter
// case aside); empty when none has it.
std::string DbcTablePath(const TxxDbcList& known, const std::string& longName);

// The container's entry of a table that was read (its header at least): from
// the container its backlink names, found relative to the table's folder, else
// from the containers given (those of the settings file) by the table's path.
// None when no container describes it, or the entry lists another number of
// fields than the table has (an outdated container).
std::optional<TxxDbcTable> FindDbcTable(const TxxDBF& table, const TxxDbcList& known);

}  // namespace vemlo
