// How reading a file went, as the readers report it: the layer that owns the
// screen decides what the user is told.
#pragma once

#include <string>
#include <vector>

namespace vemlo {

struct TxxDBF;

enum class TxxReadStatus {
  Read,        // read, or nothing to read; nothing to tell
  Missing,     // the file does not exist
  CannotOpen,  // it exists but cannot be opened for reading
  BadVersion,  // no DBF table: an unknown version byte, or shorter than a header
  BadSize,     // a table whose size does not agree with its header: the question is open
  ReadError,   // a read failed part way; nothing of the file is used
};

struct TxxReadProblem {
  TxxReadStatus Status = TxxReadStatus::Read;
  std::string File;
  // BadSize: the table waiting for the answer (read it again accepting the
  // size to go on, or fail it), and how it was to be read.
  TxxDBF* Table = nullptr;
  bool HeaderOnly = false;
};
using TxxReadProblems = std::vector<TxxReadProblem>;

}  // namespace vemlo
