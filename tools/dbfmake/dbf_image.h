// vemlo-dbfmake: the bytes of the table file and of its FPT memo file.
#pragma once

#include <string>

#include "dbf_source.h"

namespace vemlo::dbfmake {

constexpr int kMemoBlockSize = 64;

struct TableImage {
  std::string Dbf;
  std::string Fpt;  // empty when the table has no memo fields
};

// Lays out the records and memo blocks; a value that does not fit its field is
// an error (reported with its source line) rather than cut.
bool BuildTableImage(const TableSource& table, TableImage& image, SourceError& error);

}  // namespace vemlo::dbfmake
