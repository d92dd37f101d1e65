// vemlofox program model: the procedure tables of program files, the statements
// of the edited text with the names they declare, and the #DEFINE lines.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dbf/read_status.h"

namespace vemlo {

struct TxxFoxProj;
struct TxxEditedText;
struct TxxProgressSink;

// States of a program entry.
enum : unsigned char { psNotRead = 0, psRead = 1, psEditor = 2 };

// Kinds of declared names.
enum : unsigned char { ekVariable = 1, ekArray = 3, ekField = 5, ekAlias = 7 };

// Kinds of procedure-table entries. A class entry holds the DEFINE CLASS line and
// the class body up to its first method; a class-end entry the ENDDEFINE line and
// the code after it, which belongs to no class.
enum : unsigned char { pkProcedure = 0, pkClass = 1, pkMethod = 2, pkClassEnd = 3 };

// Visibility of a class member.
enum : unsigned char { vsPublic = 0, vsProtected = 1, vsHidden = 2 };

// A property of a class body (`name = value`, `DIMENSION name[...]`, or a name of
// a PROTECTED or HIDDEN list).
struct TxxFoxMember {
  std::string Name;
  unsigned char Visibility = vsPublic;
  int32_t Line = 0;
};

// A procedure, a function, or the main entry (the code before the first procedure).
// A method is named Class.Method, the class named as declared.
struct TxxFoxProc {
  int32_t FirstLine = 0;  // includes the comment and directive lines above the declaration
  int32_t LastLine = 0;
  int32_t DeclLine = -1;  // -1 for the main entry
  std::string Name;
  std::string Params;
  unsigned char IsFunction = 0;
  unsigned char Kind = pkProcedure;
  unsigned char Visibility = vsPublic;  // of a method
  std::string Parent{};                 // of a class: the text after AS
  std::vector<TxxFoxMember> Members{};  // of a class: its properties
};
using TxxFoxProcArr = std::vector<TxxFoxProc>;

// One program or library file of the project.
struct TxxFoxProg {
  unsigned char State = psNotRead;
  std::string FileName;  // full path, upper case
  int32_t FileSize = 0;
  uint32_t FileTime = 0;  // stamp seen by the directory search at the project load
  unsigned char IsLibrary = 0;
  TxxFoxProcArr Procs;  // entry 0 is always the main entry
  // Stamp of the file as it was when its table was last built from disk; an
  // unchanged file is then not parsed again. Empty after a parse of the editor text.
  std::optional<uint32_t> ParsedTime;
};
using TxxFoxProgArr = std::vector<TxxFoxProg>;

// A name that a statement declares.
struct TxxFoxElement {
  std::string Name;
  unsigned char Kind = ekVariable;
  std::string Source;  // the declaring text, or a part of it
};
using TxxFoxElementArr = std::vector<TxxFoxElement>;

// One logical statement (one or more physical lines).
struct TxxFoxString {
  int32_t FirstLine = 0;
  int32_t LastLine = 0;
  unsigned char Kind = 0;  // statement class
  std::string Text;        // the lines joined by CR LF while the statement is scanned
  TxxFoxElementArr Elements;
};
using TxxFoxStringArr = std::vector<TxxFoxString>;

// A #DEFINE line.
struct TxxFoxDefine {
  int32_t Line = 0;
  std::string Name;
  std::string Value;
  std::string Rest;
};
using TxxFoxDefineArr = std::vector<TxxFoxDefine>;

// Reads line n (from 0) of a text; false past its end. Callers ask for lines in
// increasing order, so a reader may be sequential.
using TxxLineReader = std::function<bool(int line, std::string& text)>;

// Rebuilds the procedure table from the edited text when the file is the one
// being edited, else from the file on disk. State becomes psRead when the text
// could be read; a file that cannot be read (CannotOpen, or ReadError when a
// read failed part way) keeps its main entry only and is psNotRead, so that
// the next refresh tries it again even when it comes back with its old stamp.
// A long edited
// text is parsed with a box of progress.
TxxReadStatus ScanProcedures(TxxFoxProg& prog, const TxxEditedText& text, const TxxProgressSink& progress);
// The file-mode half of ScanProcedures.
TxxReadStatus ScanProceduresFromFile(TxxFoxProg& prog);
// Builds the table from a text of lineCount lines. editorNames names the main
// entry after the file with its extension, as for the edited file.
void BuildProcTable(TxxFoxProg& prog, int lineCount, const TxxLineReader& read,
                    bool editorNames);

// Fills st.Elements from st.Text and st.Kind.
void ExtractElements(TxxFoxString& st);

// The #DEFINE lines from line 0 through lastLine.
TxxFoxDefineArr CollectDefines(const TxxLineReader& read, int lastLine);

// A procedure of the project by name; a name with an extension finds only main
// entries. Both indexes are -1 when nothing is found.
bool FindFoxProc(const std::string& name, const TxxFoxProj& proj, int& fileIndex,
                 int& procIndex);

// A class entry of the project: file index and entry index.
struct TxxClassRef {
  int File = -1;
  int Entry = -1;
};
// The class whose body or method holds entry procIndex of file progIndex, then
// the classes it inherits from as far as the project defines them; empty
// outside classes.
std::vector<TxxClassRef> ClassChain(const TxxFoxProj& proj, int progIndex, int procIndex);
// A method by its bare name (or THIS.name): in the class chain at the cursor
// first, then any method of that name in the project.
bool FindMethod(const std::string& name, const TxxFoxProj& proj, int progIndex, int procIndex,
                int& fileIndex, int& procIndex2);

// The procedure a word of the text names (F1, the completion list's F3 and F4).
// `qualifier` is the name before a dot in front of the word (THIS, a class, an
// object), empty without one; `word` may hold the dot itself. A method comes
// first: Class.Method by its full name, then the bare name in the class chain
// at the cursor; then the procedure FindFoxProc finds for the word; last any
// method of that bare name in the project.
bool FindProcForWord(const std::string& qualifier, const std::string& word, const TxxFoxProj& proj,
                     int progIndex, int procIndex, int& fileIndex, int& procIndex2);

// Name tests: IsVarName drops a leading M. from an accepted name; both trim it.
bool IsVarName(std::string& name);
bool IsAliasName(std::string& name);

}  // namespace vemlo
