// Screen services: framed views, editing a value in the host editor, external
// programs, the console, the column ruler, dialog items and temporary files.
#pragma once

#include <string>

#include "host/far_api.h"

namespace vemlo {

void FarFramedView(const std::string& fileName, const std::string& title, int width, int height,
                   bool useEditor);
bool FarEditText(std::string& value, const std::string& separator, const std::string& title,
                 int x1, int y1, int x2, int y2, int startLine, int startColumn);
bool FarRunProgram(const char* helpTopic, const std::string& commandLine, bool showError);
void FarClearConsole();
void FarColumnRuler();
void SetDlgItem(FarDialogItem& item, int x1, int y1, int x2, int y2, int type, unsigned flags,
                const char* data, int selected);

// A folder of its own for one temporary file: the folder is named by the
// host's MkTemp, the file inside it by the caller; both go when it is destroyed.
class FarTempFolderFile {
 public:
  explicit FarTempFolderFile(const std::string& fileName);
  ~FarTempFolderFile();
  FarTempFolderFile(const FarTempFolderFile&) = delete;
  FarTempFolderFile& operator=(const FarTempFolderFile&) = delete;
  const std::string& Name() const { return name_; }  // the file's full path
  bool Valid() const { return !name_.empty(); }

 private:
  std::string folder_, name_;
};

// A temporary file name from the host (prefix "VL~"), deleted when this goes out of scope.
class FarTempFile {
 public:
  FarTempFile();
  ~FarTempFile();
  FarTempFile(const FarTempFile&) = delete;
  FarTempFile& operator=(const FarTempFile&) = delete;
  const std::string& Name() const { return name_; }
  bool Valid() const { return !name_.empty(); }

 private:
  std::string name_;
};

}  // namespace vemlo
