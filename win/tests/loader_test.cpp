// vemlo-loader-test: loads vemlo.dll as the real host does and plays the host
// through a service table of the interface's own layout (test_host.h). It
// serves an editor text inside a small project on disk (settings file, a
// procedure library, a help base) and drives the module's commands through
// it: the main menu, completion and parameter hints, F1 help, the column
// ruler and the configuration. Every call the module makes of the table is
// logged; the checks print a closing count.
//
//   vemlo-loader-test PATH\vemlo.dll
//
// The language file is read from the module's folder, as the host reads it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dbf_writer.h"
#include "fpt_writer.h"
#include "host_abi.h"
#include "test_host.h"

using namespace loader;

namespace {

// ---- The module's entry points ----
using SetStartupInfoFn = void(WINAPI*)(const StartupInfo*);
using GetPluginInfoFn = void(WINAPI*)(Info*);
using OpenPluginFn = HANDLE(WINAPI*)(int, int);
using ProcessEditorInputFn = int(WINAPI*)(const INPUT_RECORD*);
using ConfigureFn = int(WINAPI*)(int);

// GetProcAddress gives a generic function pointer; void(*)() is the neutral step between.
template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// ---- The registry ----
std::string RegString(const std::string& key, const char* name, bool& found) {
  found = false;
  HKEY h;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "";
  char buffer[1024] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  found = rc == ERROR_SUCCESS && type == REG_SZ;
  return buffer;
}

bool SetRegString(const std::string& key, const char* name, const std::string& value) {
  HKEY h;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

void DeleteTestKeys(const std::string& root) {
  RegDeleteKeyA(HKEY_CURRENT_USER, (root + "\\VEM-LO").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, root.c_str());
  std::string parent = root.substr(0, root.rfind('\\'));
  RegDeleteKeyA(HKEY_CURRENT_USER, parent.c_str());
}

// ---- The project on disk ----
// A settings file, the edited program, a procedure library and a help base,
// in a folder of its own under the temporary folder.
struct Project {
  std::string Dir;  // ends with a backslash
  std::vector<std::string> Files;

  bool Write(const std::string& rel, const std::string& bytes) {
    std::ofstream out(Dir + rel, std::ios::binary);
    out << bytes;
    Files.push_back(Dir + rel);
    return static_cast<bool>(out);
  }
  bool Create() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    Dir = std::string(temp) + "vemlo-loader-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(Dir.c_str(), nullptr);
    CreateDirectoryA((Dir + "LIB").c_str(), nullptr);
    const std::vector<vemlo::test::HelpTopicSpec> topics = {
        {"LEFT()",
         "\xD6\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xB7\r\n\xBA LEFT() \xBA\r\n\xD3\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xBD\r\n\r\n"
         "LEFT(<expC>, <expN>)\r\n\r\nThe first <expN> characters.\r\n\r\nSee Also: SUBSTR()\r\n"},
        {"SUBSTR()",
         "\xD6\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xB7\r\n\xBA SUBSTR() \xBA\r\n\xD3\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
         "\xC4\xBD\r\n\r\nSUBSTR(<expC>, <expN1> [, <expN2>])\r\n\r\nA part of a string.\r\n\r\n"
         "See Also: LEFT(), AT()\r\n"},
        {"UPPER()", "UPPER(<expC>)\r\n\r\nSee Also: LEFT()\r\n"},
    };
    const bool ok = Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\nLibSearchMask=>\\lib\\*.prg\r\n") &&
                    Write("MAIN.PRG", "* main program\r\nDO Start\r\n") &&
                    Write("LIB\\TOOLS.PRG",
                          "PROCEDURE CalcTotal\r\nPARAMETERS nNet, nRate\r\nRETURN nNet * (1 + nRate)\r\n\r\n"
                          "PROCEDURE CalcTax\r\nPARAMETERS nNet\r\nRETURN nNet / 5\r\n\r\n"
                          "PROCEDURE PrintAll\r\nRETURN\r\n") &&
                    vemlo::test::WriteHelpBase(Dir + "HELP.DBF", topics);
    Files.push_back(Dir + "HELP.DBF");
    Files.push_back(Dir + "HELP.FPT");
    return ok;
  }
  ~Project() {
    for (const std::string& f : Files) DeleteFileA(f.c_str());
    RemoveDirectoryA((Dir + "LIB").c_str());
    RemoveDirectoryA(Dir.c_str());
  }
};

int IndexOf(const DialogItem* items, int n, int type, DWORD flag, int nth = 0) {
  for (int i = 0; i < n; ++i)
    if (items[i].Type == type && (flag == 0 || (items[i].Flags & flag)) && nth-- == 0) return i;
  return -1;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string MenuText(const MenuItem& item) {
  std::string text = item.Text;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf("usage: vemlo-loader-test PATH\\vemlo.dll\n");
    return 2;
  }
  char full[MAX_PATH] = {};
  GetFullPathNameA(argv[1], MAX_PATH, full, nullptr);
  const std::string dll = full;
  const std::string dir = dll.substr(0, dll.find_last_of("\\/") + 1);
  std::printf("loading %s (%s)\n", dll.c_str(), sizeof(void*) == 8 ? "x64" : "x86");

  // ---- Loading and the exports ----
  std::printf("exports\n");
  HMODULE module = LoadLibraryA(dll.c_str());
  Check(module != nullptr, "LoadLibrary loads the module");
  if (!module) {
    std::printf("loader: %d passed, %d failed\n", Passed(), Failed());
    return 1;
  }
  auto setStartupInfo = Export<SetStartupInfoFn>(module, "SetStartupInfo");
  auto getPluginInfo = Export<GetPluginInfoFn>(module, "GetPluginInfo");
  auto openPlugin = Export<OpenPluginFn>(module, "OpenPlugin");
  auto processEditorInput = Export<ProcessEditorInputFn>(module, "ProcessEditorInput");
  auto configure = Export<ConfigureFn>(module, "Configure");
  Check(setStartupInfo && getPluginInfo && openPlugin && processEditorInput && configure,
        "the five entry points are found by their plain names");
  Check(!GetProcAddress(module, "SetStartupInfo@4") && !GetProcAddress(module, "_SetStartupInfo@4"),
        "no decorated stdcall names are exported");
  if (!(setStartupInfo && getPluginInfo && openPlugin && processEditorInput && configure)) {
    std::printf("loader: %d passed, %d failed\n", Passed(), Failed());
    return 1;
  }
  Check(LoadLanguage(dir + "vemlo_en.lng") && Messages().size() >= 122,
        "the English language file beside the module holds every message");

  Project project;
  if (!project.Create()) {
    std::printf("loader: the test project cannot be written in %s\n", project.Dir.c_str());
    return 1;
  }
  const std::string helpBase = project.Dir + "HELP.DBF";

  // ---- The service table, and the options the module finds at start ----
  const std::string root = "Software\\VemloLoaderTest" + std::to_string(GetCurrentProcessId()) + "\\Plugins";
  const std::string key = root + "\\VEM-LO";
  DeleteTestKeys(root);
  SetRegString(key, "FoxHelpBases", helpBase + "\x0C");
  SetRegString(key, "FoxHelpBaseParams", helpBase);
  static StandardFunctions fsf;
  static StartupInfo psi;
  static const std::string rootKey = root;
  BuildTables(psi, fsf, dll, rootKey.c_str());

  std::printf("SetStartupInfo\n");
  {
    // The module must keep copies: the host's records are gone after the call.
    StartupInfo transient = psi;
    StandardFunctions transientFsf = fsf;
    PutFsf(transient, &transientFsf);
    setStartupInfo(&transient);
    std::memset(&transient, 0, sizeof transient);
    std::memset(&transientFsf, 0, sizeof transientFsf);
  }
  Check(CallsOf("Message") == 0, "the start shows no message");

  // ---- GetPluginInfo ----
  std::printf("GetPluginInfo\n");
  Info info;
  std::memset(&info, 0xCC, sizeof info);
  getPluginInfo(&info);
  Check(info.StructSize == static_cast<int>(sizeof(Info)), "the record's size field is the record's size");
  Check(info.Flags == 6, "flags 6: the editor's plug-in menu, not the panels'");
  Check(info.DiskMenuStrings == nullptr && info.DiskMenuNumbers == nullptr && info.DiskMenuStringsNumber == 0 &&
            info.CommandPrefix == nullptr && info.Reserved == 0,
        "the fields not used are zero-filled");
  Check(info.PluginMenuStringsNumber == 1 && info.PluginMenuStrings &&
            std::strcmp(info.PluginMenuStrings[0], "VEM-LO") == 0,
        "one plug-in menu string, message 0");
  Check(info.PluginConfigStringsNumber == 1 && info.PluginConfigStrings &&
            std::strcmp(info.PluginConfigStrings[0], "VEM-LO") == 0,
        "one configuration menu string, message 0");

  // ---- The main menu ----
  std::printf("OpenPlugin: the main menu, left with Escape\n");
  const std::string mainPrg = project.Dir + "MAIN.PRG";
  Editor().Serve(mainPrg, {"* main program", "PROCEDURE Start", "  DO Helper WITH 1", "ENDPROC"}, 2, 6);
  bool menuSeen = false;
  Host().Menus.push_back([&](const char* title, const char* help, DWORD flags, const MenuItem* items, int n) {
    menuSeen = true;
    Check(n == 15, "the main menu has fifteen items");
    bool textsMatch = n == 15 && Messages().size() > 15;
    for (int i = 0; i < n && textsMatch; ++i)
      textsMatch = Messages()[static_cast<size_t>(i + 1)] == items[i].Text &&
                   items[i].Separator == (items[i].Text[0] == '-');
    Check(textsMatch, "its items are messages 1 to 15, a leading \"-\" a separator");
    Check(n > 1 && items[0].Selected && !items[1].Selected, "the first item is selected");
    Check(std::strcmp(title, "VEM-LO") == 0 && std::strcmp(help, "Contents") == 0 && flags == 2,
          "title message 0, help topic \"Contents\", wrap mode");
    return -1;
  });
  HANDLE opened = openPlugin(5, 0);
  Check(menuSeen && opened == INVALID_HANDLE_VALUE, "OpenPlugin shows the menu through the table's Menu and opens no panel (-1)");

  std::printf("OpenPlugin: the column ruler, then a typed letter\n");
  ClearCalls();
  Editor().Input.push_back(Key('Q', 'q', 0));
  Host().Menus.push_back([](const char*, const char*, DWORD, const MenuItem*, int) { return 12; });
  openPlugin(5, 0);
  Check(CallsOf("AdvControl") == 2 && CallsOf("Text") >= 3, "the ruler asks two colours and draws text");
  Check(Editor().Processed.size() == 1 && Editor().Processed[0].Event.KeyEvent.wVirtualKeyCode == 'Q' &&
            Editor().Processed[0].Event.KeyEvent.uChar.AsciiChar == 'q' &&
            Editor().Processed[0].Event.KeyEvent.bKeyDown,
        "the key that closed the ruler goes back to the editor unchanged");

  // ---- Editor input ----
  std::printf("ProcessEditorInput: keys the module leaves alone\n");
  ClearCalls();
  INPUT_RECORD ctrlSpaceUp = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED, false);
  Check(processEditorInput(&ctrlSpaceUp) == 0 && CallsOf("EditorControl") == 0,
        "a key release is left to the host untouched");

  Editor().Serve(project.Dir + "NOTES.TXT", {"  x = Calc"}, 0, 10);
  ClearCalls();
  INPUT_RECORD ctrlSpace = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED);
  Check(processEditorInput(&ctrlSpace) == 0 && CallsOf("EditorControl") >= 1 && CallsOf("Text") == 0 &&
            Editor().Lines[0] == "  x = Calc",
        "Ctrl+Space in a .TXT file reads the editor's file name, draws nothing, changes nothing and returns 0");

  std::printf("ProcessEditorInput: Ctrl+Space, \"T\", Down, Enter in a .PRG file of the project\n");
  Editor().Serve(mainPrg, {"* main program", "PROCEDURE Start", "  x = Calc", "ENDPROC"}, 2, 10);
  Editor().Input = {Key('T', 'T', SHIFT_PRESSED), Key(VK_DOWN, 0, 0), Key(VK_RETURN, '\r', 0)};
  ClearCalls();
  int result = processEditorInput(&ctrlSpace);
  Check(result == 1, "Ctrl+Space in a .PRG file runs the command and returns 1");
  Check(Drawn("CalcTotal") && Drawn("CalcTax") && Drawn("procedure in TOOLS.PRG") && !Drawn("PrintAll"),
        "the list shows the library's procedures that fit the prefix \"Calc\", from the project on disk");
  Check(Editor().Processed.size() == 1 && Editor().Processed[0].Event.KeyEvent.uChar.AsciiChar == 'T',
        "the typed letter goes to the editor, the list keys do not");
  Check(Editor().Lines[2] == "  x = CalcTax" && Editor().CurLine == 2 && Editor().CurPos == 13,
        "Enter replaces the word by the second name that fits \"CalcT\", the cursor behind it");
  Check(Editor().Input.empty(), "the list read the three keys through the editor");
  Check(RedrawnBeforeDrawing(), "after the typed letter the editor is redrawn before the list is drawn over it");

  std::printf("ProcessEditorInput: Ctrl+Shift+Space after a FoxPro function\n");
  Editor().Serve(mainPrg, {"* main program", "PROCEDURE Start", "  z = LEFT(", "ENDPROC"}, 2, 11);
  ClearCalls();
  INPUT_RECORD ctrlShiftSpace = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED | SHIFT_PRESSED);
  result = processEditorInput(&ctrlShiftSpace);
  Check(result == 1 && Drawn("<expC>, <expN>") && Editor().Lines[2] == "  z = LEFT(",
        "the parameter hint draws the syntax from the help base and leaves the text");

  std::printf("ProcessEditorInput: F1 on a FoxPro word, the help base configured\n");
  Editor().Serve(mainPrg, {"* main program", "PROCEDURE Start", "  y = SUBSTR(cName, 2)", "ENDPROC"}, 2, 8);
  ClearCalls();
  Host().Help.clear();
  std::string topicTitle, selectedTopic;
  std::vector<std::string> topicItems;
  Host().Menus.push_back([&](const char* title, const char* help, DWORD, const MenuItem* items, int n) {
    topicTitle = std::string(title) + "|" + help;
    int selected = -1;
    for (int i = 0; i < n; ++i) {
      topicItems.push_back(MenuText(items[i]));
      if (items[i].Selected) selected = i;
    }
    if (selected >= 0) selectedTopic = MenuText(items[selected]);
    return selected;
  });
  Host().Menus.push_back([](const char*, const char*, DWORD, const MenuItem*, int) { return -1; });
  INPUT_RECORD f1 = Key(VK_F1, 0, 0);
  result = processEditorInput(&f1);
  Check(result == 1, "F1 in a .PRG file runs the command and returns 1");
  Check(topicTitle == helpBase + "|FOXHelp" &&
            topicItems == std::vector<std::string>{"LEFT()", "SUBSTR()", "UPPER()"},
        "the topic menu lists the help base's topics under the table's path");
  Check(selectedTopic == "SUBSTR()", "the menu opens on the topic of the word at the cursor");
  const bool helpShown = Host().Help.size() == 1;
  const ShownHelp shown = helpShown ? Host().Help[0] : ShownHelp{};
  Check(helpShown && shown.Topic == "topic0" && shown.Flags == 2 && shown.File == Host().LastTemp + "\\VL~HELP.HLF" &&
            Contains(Host().LastTemp, "\\VL~"),
        "the chosen topic is shown with ShowHelp: topic0 of a help file in a folder named by MkTemp (\"VL~\")");
  Check(shown.HelpFilesInFolder == 1,
        "the help file is the only *.hlf of its folder, where the host's viewer looks up the links");
  Check(shown.Bytes.rfind(".Language=", 0) == 0, "the help file starts with the header the host's help viewer needs");
  Check(Contains(shown.Bytes, "\r\n@topic0\r\n$ #  SUBSTR()  #\r\n") &&
            Contains(shown.Bytes, "\r\n SUBSTR(<expC>, <expN1> [, <expN2>])\r\n"),
        "topic 0 holds the topic's title as a fixed header and its syntax line");
  Check(Contains(shown.Bytes, "~LEFT()~@topic1@") && Contains(shown.Bytes, "\r\n@topic1\r\n") &&
            Contains(shown.Bytes, " LEFT(<expC>, <expN>)") && !Contains(shown.Bytes, "@topic2\r\n"),
        "See Also names are links; the linked topic of the base is written, the missing one is not");
  Check(!shown.File.empty() && GetFileAttributesA(shown.File.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetFileAttributesA(Host().LastTemp.c_str()) == INVALID_FILE_ATTRIBUTES,
        "the help file and its folder are gone once the viewer has closed");

  ClearCalls();
  Editor().Processed.clear();
  INPUT_RECORD bothCtrl = Key(VK_SPACE, ' ', LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED | NUMLOCK_ON);
  Check(processEditorInput(&bothCtrl) == 0 && CallsOf("Text") >= 3 && Editor().Processed.empty(),
        "both Ctrl keys with Space (Num Lock on) show the ruler; Escape closes it unprocessed");

  // ---- Configuration ----
  std::printf("Configure: group 1, confirmed with the first button\n");
  ClearCalls();
  bool groupMenu = false;
  Host().Menus.push_back([&](const char* title, const char* help, DWORD, const MenuItem* items, int n) {
    groupMenu = n == 3 && std::strcmp(title, "VEM-LO") == 0 && std::strcmp(help, "Configure") == 0 &&
                items[0].Selected;
    return 0;
  });
  Host().Menus.push_back([](const char*, const char*, DWORD, const MenuItem*, int) { return -1; });
  bool editorRect = false;
  std::string listFileBefore;
  Host().EditFile = [&](const char* file) {
    // The user adds a line to the list and saves.
    std::ifstream in(file, std::ios::binary);
    std::getline(in, listFileBefore);
    in.close();
    std::FILE* f = std::fopen(file, "ab");
    if (!f) return 0;
    std::fputs("C:\\HELP\\EXTRA.DBF\r\n", f);
    std::fclose(f);
    return 1;
  };
  std::string helpAnswer;
  HANDLE dialogHandle = nullptr;
  Host().Dialogs.push_back([&](HANDLE hDlg, DialogItem* items, int n, HostProc proc, const char* help) {
    dialogHandle = hDlg;
    Check(proc != nullptr && std::strcmp(help, "Configure") == 0, "the option dialog has a procedure and topic");
    Check(n > 5 && items[0].Type == 3 && std::strncmp(items[0].Data, "VEM-LO - ", 9) == 0,
          "item 0 is the double frame titled with message 0 and the group");
    const int keyPreview = IndexOf(items, n, 8, 0);
    const int listButton = IndexOf(items, n, 7, 0x40000);
    const int confirm = n - 3;
    Check(keyPreview > 0 && items[keyPreview].Param.Selected == 1, "the first check box is ticked");
    Check(listButton > 0, "the list option is a button that does not close the dialog");
    Check(items[confirm].Type == 7 && (items[confirm].Flags & 0x4000) && items[confirm].DefaultButton == 1,
          "the first of the three centred buttons is the default");
    if (keyPreview <= 0 || listButton <= 0) return -1;
    helpAnswer = reinterpret_cast<const char*>(proc(hDlg, 0x100A, keyPreview, reinterpret_cast<INT_PTR>("Configure")));
    items[keyPreview].Param.Selected = 0;
    size_t editorsBefore = static_cast<size_t>(CallsOf("Editor"));
    proc(hDlg, 0x1001, listButton, 0);
    // The list editor's window covers the inside of the frame.
    editorRect = static_cast<size_t>(CallsOf("Editor")) == editorsBefore + 1 &&
                 Host().EditorRect.left == kDialogRect.Left + items[0].X1 + 1 &&
                 Host().EditorRect.top == kDialogRect.Top + items[0].Y1 + 1 &&
                 Host().EditorRect.right == kDialogRect.Left + items[0].X2 - 1 &&
                 Host().EditorRect.bottom == kDialogRect.Top + items[0].Y2 - 1;
    proc(hDlg, 0x1001, confirm, 0);
    return confirm;
  });
  const int configured = configure(0);
  Check(groupMenu && configured == 0, "Configure shows the group menu of three groups under message 0 and returns 0");
  Check(helpAnswer == "KeyPreview", "help on an option's item names the option's topic");
  Check(dialogHandle != nullptr && !Host().DefDlgHandles.empty() &&
            std::all_of(Host().DefDlgHandles.begin(), Host().DefDlgHandles.end(),
                        [&](HANDLE h) { return h == dialogHandle; }),
        "the dialog procedure passes the host's dialog handle to DefDlgProc");
  Check(editorRect && CallsOf("SendDlgMessage") == 2 && CallsOf("FSF.MkTemp") == 1 &&
            listFileBefore == helpBase + "\r",
        "the list button edits the list, one entry a line, in the host's editor over a temporary file");
  Check(!Host().LastTemp.empty() && GetFileAttributesA(Host().LastTemp.c_str()) == INVALID_FILE_ATTRIBUTES,
        "the temporary file is gone afterwards");

  bool found = false;
  std::string value = RegString(key, "KeyPreview", found);
  Check(found && value.empty(), "the registry holds \"KeyPreview\" switched off");
  value = RegString(key, "SoundSignals", found);
  Check(found && value == "+", "the registry holds \"SoundSignals\" on");
  value = RegString(key, "FileExtensions", found);
  Check(found && value == ".prg;.spr;.mpr", "the registry holds the default \"FileExtensions\"");
  value = RegString(key, "FoxHelpBases", found);
  Check(found && value == helpBase + "\x0C" + "C:\\HELP\\EXTRA.DBF\x0C",
        "the edited list is stored with its entries ended by 0x0C");
  RegString(key, "FmtTextBaseIndent", found);
  Check(!found, "options of the other groups are not written");

  std::printf("ProcessEditorInput with \"KeyPreview\" off, before and after a restart\n");
  Editor().Serve(mainPrg, {"* main program", "PROCEDURE Start", "  x = Calc", "ENDPROC"}, 2, 10);
  ClearCalls();
  Check(processEditorInput(&ctrlSpace) == 0 && CallsOf("EditorControl") == 0, "Ctrl+Space is left to the host");
  setStartupInfo(&psi);
  ClearCalls();
  Check(processEditorInput(&ctrlSpace) == 0 && CallsOf("EditorControl") == 0, "the stored option is read back at start");

  Check(WrongModuleNumbers() == 0, "every call names the module by the number the host gave");

  DeleteTestKeys(root);
  FreeLibrary(module);
  std::printf("service calls logged: see the \"module ->\" lines above\n");
  std::printf("loader: %d passed, %d failed\n", Passed(), Failed());
  return Failed() == 0 ? 0 : 1;
}
