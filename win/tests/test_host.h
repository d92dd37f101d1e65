// The host the loader test plays: its service table (laid out as the real
// host lays it out, host_abi.h), a small editor over a served text, scripted
// answers for the modal services, and the check counter with the call log.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host_abi.h"

namespace loader {

// ---- Checks and the log ----
void Check(bool ok, const char* what);
int Passed();
int Failed();
void ClearCalls();
int CallsOf(const char* name);
const char* Str(const char* s);

// ---- The language file beside the module ----
bool LoadLanguage(const std::string& path);
const std::vector<std::string>& Messages();

// ---- The editor the test host serves ----
struct TestEditor {
  std::string FileName;
  std::vector<std::string> Lines;
  int CurLine = 0, CurPos = 0, TopLine = 0, LeftPos = 0;
  std::deque<INPUT_RECORD> Input;       // what ECTL_READINPUT hands out (then Escape)
  std::vector<INPUT_RECORD> Processed;  // events given back with ECTL_PROCESSINPUT
  void Serve(const std::string& file, std::vector<std::string> lines, int line, int pos);
};
TestEditor& Editor();

// Texts drawn with the host's Text since the last ClearCalls.
const std::vector<std::string>& DrawnTexts();
bool Drawn(const char* part);
// Whether every key given back to the editor was followed by a redraw of the
// editor before anything more was drawn over it.
bool RedrawnBeforeDrawing();

// ---- Scripted answers of the modal services ----
using MenuAnswer = std::function<int(const char* title, const char* help, DWORD flags, const MenuItem* items, int n)>;
using DialogAnswer = std::function<int(HANDLE hDlg, DialogItem* items, int n, HostProc proc, const char* help)>;
// A help file shown with ShowHelp: its path, topic, flags and the bytes it held then.
struct ShownHelp {
  std::string File, Topic, Bytes;
  DWORD Flags = 0;
  int HelpFilesInFolder = 0;  // *.hlf files beside it, itself included
};
struct Answers {
  std::deque<MenuAnswer> Menus;
  std::deque<DialogAnswer> Dialogs;
  std::function<int(const char* file)> EditFile;
  RECT EditorRect{};                 // the window of the last Editor call
  std::vector<HANDLE> DefDlgHandles;  // handles the module passed to DefDlgProc
  std::vector<ShownHelp> Help;
  std::string LastTemp;               // the last name MkTemp gave
};
Answers& Host();
extern const SMALL_RECT kDialogRect;

// ---- The tables ----
// The module number the host gives: pointer-wide, so that on x64 it does not
// fit an int and a truncating adapter is caught.
#ifdef _WIN64
constexpr INT_PTR kHostModuleNumber = static_cast<INT_PTR>(0x0000123456789ABCll);
#else
constexpr INT_PTR kHostModuleNumber = 0x4711;
#endif
// Calls that named another module than kHostModuleNumber.
int WrongModuleNumbers();

void BuildTables(StartupInfo& psi, StandardFunctions& fsf, const std::string& moduleName, const char* rootKey);
void PutFsf(StartupInfo& psi, StandardFunctions* fsf);

INPUT_RECORD Key(WORD vk, char ch, DWORD state, bool down = true);

}  // namespace loader
