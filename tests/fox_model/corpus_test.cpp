// The scanner and the parser over sources of many styles, and over input that is
// not FoxPro at all: no crash, no hang, and the tables keep their shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <tuple>

#include "fake_editor.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "host/editor_model.h"
#include "host/settings_file.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "temp_tree.h"
#include "text_lines.h"

namespace vemlo {
namespace {

using test::LinesReader;
using test::TempTree;

std::string CorpusDos(const std::string& name) {
  return platform::ToDosPath(std::string(VEMLO_SOURCE_DIR) + "/tests/fox_model/corpus/" + name);
}

// The lines of a file as the text reader gives them.
std::vector<std::string> ReadLines(const std::string& dosPath) {
  std::vector<std::string> lines;
  TextFile file;
  if (!OpenTextFile(file, dosPath)) return lines;
  std::string line;
  while (ReadTextLine(file, line)) lines.push_back(line);
  return lines;
}

// Entries follow each other without a gap or an overlap and end with the text.
void ExpectTableShape(const TxxFoxProg& prog, int lineCount) {
  ASSERT_FALSE(prog.Procs.empty());
  EXPECT_EQ(prog.Procs[0].FirstLine, 0);
  EXPECT_EQ(prog.Procs[0].DeclLine, -1);
  for (size_t i = 1; i < prog.Procs.size(); ++i) {
    const TxxFoxProc& p = prog.Procs[i];
    EXPECT_EQ(p.FirstLine, prog.Procs[i - 1].LastLine + 1) << i;
    EXPECT_LE(p.FirstLine, p.DeclLine) << i;
    EXPECT_LE(p.DeclLine, p.LastLine) << i;
  }
  EXPECT_EQ(prog.Procs.back().LastLine, std::max(lineCount - 1, prog.Procs.size() > 1 ? 0 : -1));
}

// Statements cover the range line by line; only the cursor's keeps its elements unread.
void ExpectStatementShape(const TxxFoxStringArr& sts, int first, int lineCount, int cursor,
                          int current) {
  int next = first;
  for (size_t i = 0; i < sts.size(); ++i) {
    EXPECT_EQ(sts[i].FirstLine, next) << i;
    EXPECT_LE(sts[i].FirstLine, sts[i].LastLine) << i;
    EXPECT_LE(sts[i].Kind, stOther) << i;
    EXPECT_TRUE(sts[i].Text.empty()) << i;
    next = sts[i].LastLine + 1;
  }
  EXPECT_EQ(next, std::max(first, lineCount));
  if (current >= 0) {
    ASSERT_LT(current, static_cast<int>(sts.size()));
    EXPECT_GE(sts[current].LastLine, cursor);
    EXPECT_TRUE(sts[current].Elements.empty());
    // Statements before it end above the cursor, except a TEXT body, which is never current.
    for (int i = 0; i < current; ++i) {
      if (sts[i].Kind != stTextBody) {
        EXPECT_LT(sts[i].LastLine, cursor) << i;
      }
    }
  }
}

// Runs every parser over one file and checks the shapes of what they build.
void ParseEverything(const std::string& dosPath) {
  SCOPED_TRACE(dosPath);
  const std::vector<std::string> lines = ReadLines(dosPath);
  const int count = static_cast<int>(lines.size());
  TxxFoxProg prog;
  prog.FileName = UpperCase(dosPath);
  ASSERT_EQ(ScanProceduresFromFile(prog), TxxReadStatus::Read);
  EXPECT_EQ(prog.State, psRead);
  ExpectTableShape(prog, count);

  TxxFoxProg fromLines;
  fromLines.FileName = prog.FileName;
  BuildProcTable(fromLines, count, LinesReader(lines), true);
  ASSERT_EQ(fromLines.Procs.size(), prog.Procs.size());

  for (int cursor : {0, count / 2, count - 1}) {
    TxxFoxStringArr sts;
    const int current = ScanStatements(LinesReader(lines), 0, kToEndOfText, cursor, sts);
    ExpectStatementShape(sts, 0, count, cursor, current);
  }
  for (const TxxFoxProc& p : prog.Procs) {
    TxxFoxStringArr sts;
    ScanStatements(LinesReader(lines), p.FirstLine, p.LastLine, p.LastLine, sts);
    ExpectStatementShape(sts, p.FirstLine, p.LastLine + 1, p.LastLine, -1);
  }
  CollectDefines(LinesReader(lines), count - 1);
}

struct Row {
  int First, Last, Decl;
  std::string Name;
  int IsFunction;
};

void ExpectProcs(const std::string& name, const std::vector<Row>& rows) {
  SCOPED_TRACE(name);
  TxxFoxProg prog;
  prog.FileName = UpperCase(CorpusDos(name));
  ASSERT_EQ(ScanProceduresFromFile(prog), TxxReadStatus::Read);
  ASSERT_EQ(prog.Procs.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(prog.Procs[i].FirstLine, rows[i].First) << i;
    EXPECT_EQ(prog.Procs[i].LastLine, rows[i].Last) << i;
    EXPECT_EQ(prog.Procs[i].DeclLine, rows[i].Decl) << i;
    EXPECT_EQ(prog.Procs[i].Name, rows[i].Name) << i;
    EXPECT_EQ(prog.Procs[i].IsFunction, rows[i].IsFunction) << i;
  }
}

TEST(Corpus, PinnedProcedureTables) {
  ExpectProcs("upper_crlf.prg", {{0, 8, -1, "UPPER_CRLF", 0},
                                 {9, 21, 10, "Setup", 0},
                                 {22, 27, 22, "Total(tnA,", 1}});
  ExpectProcs("lower_abbrev.prg", {{0, 5, -1, "LOWER_ABBREV", 0},
                                   {6, 11, 6, "first", 0},
                                   {12, 22, 12, "second(x)", 1}});
  // A declaration after a continued comment line, and one inside a TEXT block, do not count.
  ExpectProcs("mixed.prg", {{0, 4, -1, "MIXED", 0},
                            {5, 8, 5, "afterComment", 0},
                            {9, 14, 9, "CamelCase(a,", 0}});
}

TEST(Corpus, PinnedStatementsOfOneFile) {
  const std::vector<std::string> lines = ReadLines(CorpusDos("upper_crlf.prg"));
  ASSERT_EQ(lines.size(), 28u);
  TxxFoxStringArr sts;
  ScanStatements(LinesReader(lines), 9, 21, 21, sts);
  std::vector<std::string> names;
  for (const TxxFoxString& st : sts) {
    for (const TxxFoxElement& e : st.Elements) names.push_back(e.Name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"tcOrder", "curLines", "nLine", "cItem", "nQty",
                                             "curOrder", "lnTotal", "lnCount"}));
  const unsigned char kinds[] = {stComment, stProcedure, stParameters, stCreateCursor, stSelect,
                                 stStore, stText, stTextBody, stEndText, stReturn, stEmpty};
  ASSERT_EQ(sts.size(), std::size(kinds));
  for (size_t i = 0; i < sts.size(); ++i) EXPECT_EQ(sts[i].Kind, kinds[i]) << i;
}

TEST(Corpus, EveryStyleParses) {
  for (const char* name : {"upper_crlf.prg", "lower_abbrev.prg", "mixed.prg"}) {
    ParseEverything(CorpusDos(name));
  }
}

// Deterministic junk: every byte value, with FoxPro fragments mixed in.
std::string Junk(size_t size, uint32_t seed) {
  static const std::string kFragments[] = {
      "PROC ", "FUNCTION ", "TEXT\r\n", "ENDTEXT\n", ";\r\n", ";", "&&", "\"", "'", "[", "]",
      "(", ")", ",", "DIMENSION a(", "CREATE CURSOR c (", "SELECT * FROM t INTO CURSOR ",
      "ADIR(", "m.", "M.x = ADIR(", "STORE 0 TO ", "PRIVATE ", "@ 1,1 GET ", "USE t ALIAS ",
      "COPY TO ARRAY ", "#DEFINE ", "NOTE", "*", "\r", "\n", "\r\n", std::string(1, '\0'),
      "\t", "FOR ", "IF ", "DO CASE\n", "CREATE x FROM y\n", "\\", ".",
  };
  std::string out;
  out.reserve(size);
  uint32_t x = seed;
  while (out.size() < size) {
    x = x * 1664525u + 1013904223u;
    if ((x >> 28) < 5) {
      out += kFragments[(x >> 8) % std::size(kFragments)];
    } else {
      out += static_cast<char>((x >> 16) & 0xFF);
    }
  }
  return out;
}

TEST(Corpus, BinaryJunkAndExtremeLines) {
  TempTree tree;
  tree.Write("junk1.prg", Junk(200000, 1));
  tree.Write("junk2.prg", Junk(50000, 2));
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  tree.Write("bytes.prg", all + all + "\n" + all);

  const std::string longRun(100000, 'a');
  std::string big = "x = " + longRun + "\r\n";
  big += std::string(100000, ';') + "\r\n";
  big += "PROC " + longRun + " " + longRun + "\r\n";
  std::string dims = "DIMENSION ";
  while (dims.size() < 100000) dims += "a(1,2),";
  big += dims + "\r\n";
  std::string publics = "PUBLIC ";
  while (publics.size() < 100000) publics += "a,";
  big += publics + "\r\n";
  std::string fields = "CREATE CURSOR c (";
  while (fields.size() < 100000) fields += "f C(1), ";
  big += fields + ")\r\n";
  big += "SELECT * FROM t INTO CURSOR " + std::string(100000, '\\') + "\r\n";
  big += "? \"" + std::string(100000, '&') + "\r\n";
  big += "M.x = " + std::string(100000, '(') + "\r\n";
  std::string adirs = "IF ";
  while (adirs.size() < 100000) adirs += "xADIR(";
  big += adirs + "\r\n";
  big += "STORE 0 TO " + std::string(100000, ',') + "\r\n";
  big += "@ 1,1 GET " + std::string(100000, ' ') + "x\r\n";
  big += "#DEFINE " + longRun + "\r\n";
  tree.Write("long.prg", big);

  std::string deep;
  for (int i = 0; i < 20000; ++i) deep += "a + ;\n";
  deep += "b\n";
  tree.Write("deep.prg", deep);
  tree.Write("cr_only.prg", "PROC a\rm.x = 1\rPROC b\r");
  tree.Write("empty.prg", "");
  tree.Write("unclosed.prg", "TEXT\nPROC hidden\n");

  for (const char* name : {"junk1.prg", "junk2.prg", "bytes.prg", "long.prg", "deep.prg",
                           "cr_only.prg", "empty.prg", "unclosed.prg"}) {
    ParseEverything(tree.Dos(name));
  }

  TxxFoxProg cr;
  cr.FileName = UpperCase(tree.Dos("cr_only.prg"));
  ASSERT_EQ(ScanProceduresFromFile(cr), TxxReadStatus::Read);
  EXPECT_EQ(cr.Procs.size(), 3u);
  TxxFoxProg deepProg;
  deepProg.FileName = UpperCase(tree.Dos("deep.prg"));
  ASSERT_EQ(ScanProceduresFromFile(deepProg), TxxReadStatus::Read);
  EXPECT_EQ(deepProg.Procs.size(), 1u);
  TxxFoxStringArr sts;
  const std::vector<std::string> deepLines = ReadLines(tree.Dos("deep.prg"));
  ScanStatements(LinesReader(deepLines), 0, kToEndOfText, 0, sts);
  EXPECT_EQ(sts.size(), 1u);
}

// The table read from disk in one pass equals the table built from the lines
// one by one, field by field, also where declarations sit at the reader's
// buffer edge, after lines longer than the buffer, and in junk.
TEST(Corpus, FileTableEqualsTheTableFromItsLines) {
  TempTree tree;
  std::string edge;
  for (int i = 0; i < 3000; ++i) {
    edge += i % 97 == 0 ? "PROCEDURE p" + std::to_string(i) + " (a, b)\r\n"
            : i % 89 == 0 ? "* note\rFUNC f" + std::to_string(i) + "\n"
            : i % 83 == 0 ? std::string(70000, 'x') + " ;\r\nPROC hidden\r\n"
                          : "   m.x = m.x + " + std::to_string(i) + "\r\n";
  }
  tree.Write("edge.prg", edge + "PROC last");
  tree.Write("junk.prg", Junk(300000, 5));
  tree.Write("long.prg", "* c\n" + std::string(200000, 'p') + "\nPROC after\n\n");
  for (const char* name : {"edge.prg", "junk.prg", "long.prg"}) {
    SCOPED_TRACE(name);
    const std::string dos = tree.Dos(name);
    const std::vector<std::string> lines = ReadLines(dos);
    for (int library = 0; library < 2; ++library) {
      TxxFoxProg file, fromLines;
      file.FileName = fromLines.FileName = UpperCase(dos);
      file.IsLibrary = fromLines.IsLibrary = static_cast<unsigned char>(library);
      ASSERT_EQ(ScanProceduresFromFile(file), TxxReadStatus::Read);
      BuildProcTable(fromLines, static_cast<int>(lines.size()), LinesReader(lines), false);
      ASSERT_EQ(file.Procs.size(), fromLines.Procs.size());
      EXPECT_GT(file.Procs.size(), 1u);
      for (size_t i = 0; i < file.Procs.size(); ++i) {
        const TxxFoxProc& a = file.Procs[i];
        const TxxFoxProc& b = fromLines.Procs[i];
        EXPECT_EQ(std::tie(a.FirstLine, a.LastLine, a.DeclLine, a.Name, a.Params, a.IsFunction),
                  std::tie(b.FirstLine, b.LastLine, b.DeclLine, b.Name, b.Params, b.IsFunction))
            << i;
      }
      EXPECT_EQ(file.Procs.back().LastLine, static_cast<int>(lines.size()) - 1);
    }
  }
}

TEST(Corpus, JunkInTheEditorThroughTheRefresh) {
  TempTree tree;
  tree.Write("p/vemlo.ini", "[PROJ]\nPrgSearchMask=.\\\nLibSearchMask=.\\*.*\n");
  tree.Write("p/junk.prg", Junk(100000, 3));
  tree.Write("p/other.prg", Junk(30000, 4));
  test::FakeEditorHost host;
  host.FileName = tree.Dos("p/junk.prg");
  host.Lines = ReadLines(host.FileName);
  ResetFoxModel();
  for (int cursor : {0, static_cast<int>(host.Lines.size()) / 3,
                     static_cast<int>(host.Lines.size()) - 1}) {
    host.CurLine = cursor;
    RefreshModel(false, false, false);
    RefreshModel(false, false, true);
    RefreshModel(true, false, false);
    const TxxInsight& in = Insight();
    ASSERT_GE(in.ProgIndex, 0);
    ASSERT_GE(in.ProcIndex, 0);
    EXPECT_EQ(host.CurLine, cursor);
  }
  EXPECT_EQ(FoxProj().State, 1);
  ResetFoxModel();
  ReleaseIni();
}

}  // namespace
}  // namespace vemlo
