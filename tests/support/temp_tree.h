// A fresh directory tree under the system's temporary folder, removed with everything
// in it when the object goes. Relative names use "/" and may name nested folders.
#pragma once

#include <string>

namespace vemlo::test {

struct TempTree {
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  std::string Native(const std::string& rel = std::string()) const;  // the root itself for ""
  std::string Dos(const std::string& rel = std::string()) const;     // via the platform's ToDosPath
  void Write(const std::string& rel, const std::string& bytes) const;  // creates parent folders
  std::string Read(const std::string& rel) const;                      // "" when missing
  bool Exists(const std::string& rel) const;

  std::string Root;  // native path, no trailing "/"
};

// The regular files in a native folder and its subfolders (0 when it is missing).
int CountFiles(const std::string& nativeDir);

}  // namespace vemlo::test
