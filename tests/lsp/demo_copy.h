// A copy of the built demo project in a temporary folder, with an options
// file that names the copy's help base, for the tests that run the server on it.
#pragma once

#include <string>

#include "script_process.h"
#include "temp_tree.h"

namespace vemlo::lsp::test {

struct DemoCopy {
  DemoCopy();
  std::string Dir() const { return tree.Native("demo"); }
  std::string Path(const std::string& rel) const { return tree.Native("demo/" + rel); }
  std::string Registry() const { return tree.Native("registry.ini"); }
  // Everything in the folder, to show that nothing was written.
  vemlo::test::TreeSnapshot Snapshot() const { return vemlo::test::SnapshotTree(tree.Root); }

  vemlo::test::TempTree tree;
};

// The file's bytes.
std::string ReadFile(const std::string& nativePath);

}  // namespace vemlo::lsp::test
