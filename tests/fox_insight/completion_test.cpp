// Symbol completion: the word and context at the cursor, and the candidate groups.
#include <gtest/gtest.h>

#include "dbf_writer.h"
#include "fox/views/list_window.h"
#include "host/editor_model.h"
#include "host/settings_file.h"
#include "plugin_host.h"
#include "fox/insight/completion.h"
#include "fox/model/project.h"
#include "host/xxfar.h"

namespace vemlo {
namespace {

TxxInsight WordAtColumn(const std::string& line, int col) {
  TxxInsight in;
  FindInsightWordIn(in, line, 3, col);
  return in;
}

TEST(FindInsightWord, WordPrefixContextAndBounds) {
  // After "M." at the end of the line: nothing typed yet, the context is still found.
  TxxInsight a = WordAtColumn("x = M.", 6);
  EXPECT_EQ(a.Word, "");
  EXPECT_EQ(a.Prefix, "");
  EXPECT_EQ(a.Context, "M.");
  EXPECT_EQ(a.CursorPos, 7);
  EXPECT_EQ(a.CursorLine, 3);
  EXPECT_EQ(a.WordRight - a.WordLeft - 1, -1);  // nothing to delete
  EXPECT_EQ(a.WordLeft, 6);                     // insertion column: right after the full stop

  // Between the third and fourth letters of a six-letter name.
  TxxInsight b = WordAtColumn("? m.nCount + 1", 7);
  EXPECT_EQ(b.Word, "nCount");
  EXPECT_EQ(b.Prefix, "nCo");
  EXPECT_EQ(b.Context, "m.");
  EXPECT_EQ(b.WordLeft, 4);
  EXPECT_EQ(b.WordRight - b.WordLeft - 1, 6);

  // The cursor on a separator right after a name takes the name on its left.
  TxxInsight c = WordAtColumn("abc+def", 3);
  EXPECT_EQ(c.Word, "abc");
  EXPECT_EQ(c.Prefix, "abc");
  EXPECT_EQ(c.Context, "");

  // Macro and name-expression contexts are one character.
  EXPECT_EQ(WordAtColumn("x = &cVar", 9).Context, "&");
  EXPECT_EQ(WordAtColumn("@cVa", 4).Context, "@");

  // Dotted contexts: two names, a lone full stop.
  EXPECT_EQ(WordAtColumn("x = obj.member.na", 17).Context, "obj.member.");
  EXPECT_EQ(WordAtColumn("x = .na", 7).Context, ".");
  EXPECT_EQ(WordAtColumn(".", 1).Context, "");  // a full stop in column 0 has nothing before it

  // Beyond the end of the line: no word at all.
  TxxInsight d = WordAtColumn("abc", 6);
  EXPECT_EQ(d.Word, "");
  EXPECT_EQ(d.WordLeft, 7);
  EXPECT_EQ(d.Context, "");
}

std::vector<std::string> Names(const TxxSymbToCompleteArr& list) {
  std::vector<std::string> out;
  for (const auto& c : list) out.push_back((c.Kind == skHeader ? "#" : "") + c.Name + (c.Later ? "*" : ""));
  return out;
}

void PutCursor(int line, int col) { FarGotoLine(line, -1, -1, col, false); }

TxxSymbToCompleteArr CollectAt(int line, int col, bool* ok = nullptr) {
  PutCursor(line, col);
  RefreshModel(false, false, false);
  FindInsightWord();
  TxxInsight& in = Insight();
  const bool r = CollectCandidates(in, FoxProj(), IniFile());
  if (ok) *ok = r;
  return in.Candidates;
}

const char* const kProgram =
    "#DEFINE K_ESC 27 && escape\r\n"   // 0
    "PROCEDURE Main\r\n"               // 1
    "PRIVATE cOne\r\n"                 // 2
    "DIMENSION laList[3]\r\n"          // 3
    "M.cTwo = 1\r\n"                   // 4
    "x = M.\r\n"                       // 5
    "M.cLater = 2\r\n"                 // 6
    "CREATE CURSOR cur (a C(1), b N(2))\r\n"  // 7
    "CREATE CURSOR cur (z C(3))\r\n"          // 8
    "CREATE CURSOR empt\r\n"                  // 9
    "RETURN\r\n"                              // 10
    "FUNCTION Helper\r\n"                     // 11
    "RETURN 1\r\n";                           // 12

TEST(CompleteSymbol, VariablesAfterMDotSkipTheCursorStatementAndMarkLaterOnes) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
  const auto list = CollectAt(5, 6);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"#var", "cOne", "cTwo", "cLater*"}));
  EXPECT_EQ(list[1].Kind, skElement);
  // Ref is the declaring statement's index.
  EXPECT_EQ(Insight().Statements[static_cast<size_t>(list[1].Ref)].FirstLine, 2);

  // A lower-case m gives the same group.
  FarSetString(5, "x = m.");
  EXPECT_EQ(Names(CollectAt(5, 6)), (std::vector<std::string>{"#var", "cOne", "cTwo", "cLater*"}));
  // A macro context adds the arrays.
  FarSetString(5, "x = &");
  EXPECT_EQ(Names(CollectAt(5, 5)),
            (std::vector<std::string>{"#var", "cOne", "cTwo", "cLater*", "#arrays", "laList"}));
}

TEST(CompleteSymbol, EmptyContextGroupsAndProcedureDescriptions) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\nLibSearchMask=>\\lib\\*.prg\r\n");
  ph.Tree().Write("OTHER.PRG", "x = 1\r\nPROCEDURE NotOffered\r\n");
  ph.Tree().Write("lib/UT.PRG", "FUNCTION LibFn\r\nPROCEDURE LibProc\r\n");
  FarSetString(5, "x = ");
  const auto list = CollectAt(5, 4);
  const auto names = Names(list);
  auto descr = [&](const std::string& n) {
    for (const auto& c : list)
      if (c.Name == n) return c.Descr;
    return std::string("<missing>");
  };
  EXPECT_EQ(names[0], "#" + std::string("#defines"));
  EXPECT_EQ(names[1], "K_ESC");
  EXPECT_EQ(descr("K_ESC"), list[1].Descr);
  EXPECT_EQ(names[2], "#arrays");
  EXPECT_EQ(names[3], "laList");
  EXPECT_EQ(names[4], "#procedures");
  EXPECT_EQ(descr("Helper"), "local function ");
  EXPECT_EQ(descr("Main"), "local procedure");
  EXPECT_EQ(descr("LibFn"), "function  in UT.PRG");
  EXPECT_EQ(descr("LibProc"), "procedure in UT.PRG");
  EXPECT_EQ(descr("OTHER"), "");
  EXPECT_EQ(descr("NotOffered"), "<missing>");  // only a program's main entry
  // The aliases of CREATE CURSOR, all three (duplicates stay); no tables: no DBF group.
  const auto aliases = std::find(names.begin(), names.end(), "#aliases");
  ASSERT_NE(aliases, names.end());
  EXPECT_EQ(std::vector<std::string>(aliases + 1, names.end()),
            (std::vector<std::string>{"cur*", "cur*", "empt*"}));
}

TEST(CompleteSymbol, AliasFieldsLaterCursorWinsAndDictionaryFallbacks) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini",
                  "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\nDBFSearchMask=>\\data\\\r\n"
                  "[KDF_BASES]\r\nSearchMask=>\\kb.dbf\r\nFieldName_BASE=BASE\r\nFieldName_REM=REM\r\n"
                  "FieldName_CROSS=CROSS\r\n"
                  "[KDF_FIELDS]\r\nSearchMask=>\\kf.dbf\r\nFieldName_BASE=BASE\r\nFieldName_FNAME=FNAME\r\n"
                  "FieldName_FTYPE=FTYPE\r\nFieldName_FLEN=FLEN\r\n");
  ph.Tree().Write("kb.dbf", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("kb.dbf"),
                             {{"BASE", 'C', 10, 0}, {"REM", 'C', 10, 0}, {"CROSS", 'C', 8, 0}},
                             {{{"ORDERS", "orders", ""}},
                              {{"HISTORY", "history", "orders"}},
                              {{"LONGNAMES1", "eight", ""}}}));
  ph.Tree().Write("kf.dbf", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("kf.dbf"),
                             {{"BASE", 'C', 8, 0}, {"FNAME", 'C', 10, 0}, {"FTYPE", 'C', 1, 0},
                              {"FLEN", 'N', 3, 0}, {"FDEC", 'N', 1, 0}},
                             {{{"ORDERS", "ORDER_NO", "C", "6", "0"}},
                              {{"LONGNAME", "L_FIELD", "N", "10", "2"}},
                              {{"orders", "PAID", "L", "1", "0"}}}));
  ph.Tree().Write("data/ARTICLE.DBF", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("data/ARTICLE.DBF"), {{"ART_NO", 'C', 10, 0}, {"PRICE", 'N', 10, 2}},
                             {}));

  auto fieldsOf = [&](const std::string& alias) {
    FarSetString(5, "x = " + alias + ".");
    return CollectAt(5, static_cast<int>(alias.size()) + 5);
  };
  // Two CREATE CURSOR statements: the later one's fields only; its header is its command words.
  auto cur = fieldsOf("CUR");
  EXPECT_EQ(Names(cur), (std::vector<std::string>{"#CREATE CURSOR*", "z"}));
  EXPECT_EQ(cur[1].Kind, skElement);
  // A CREATE CURSOR without fields falls back to the dictionary, then to the tables.
  auto empt = fieldsOf("empt");
  EXPECT_TRUE(empt.empty());
  // Dictionary fields, with the type, length, decimals text (missing remark column: empty).
  auto orders = fieldsOf("orders");
  ASSERT_EQ(Names(orders), (std::vector<std::string>{"#" + orders[0].Name, "ORDER_NO", "PAID"}));
  EXPECT_EQ(UpperCase(orders[0].Name), UpperCase(ph.Tree().Dos("kf.dbf")));
  EXPECT_EQ(orders[1].Descr, "C (6,) ");  // no decimals column named: empty text
  EXPECT_EQ(orders[1].Kind, skBaseField);
  EXPECT_EQ(orders[2].Ref, 2);
  // A cross reference names another base.
  EXPECT_EQ(Names(fieldsOf("history")).size(), 3u);
  EXPECT_EQ(fieldsOf("history")[1].Name, "ORDER_NO");
  // Bases are compared on eight characters.
  auto longName = fieldsOf("longnamesX");
  ASSERT_EQ(longName.size(), 2u);
  EXPECT_EQ(longName[1].Name, "L_FIELD");
  // Not in the dictionary: the header of the project table of that name.
  auto article = fieldsOf("article");
  ASSERT_EQ(article.size(), 3u);
  EXPECT_EQ(article[0].Kind, skHeader);
  EXPECT_EQ(article[1].Name, "ART_NO");
  EXPECT_EQ(article[1].Descr, "C ( 10,0)");
  EXPECT_EQ(article[2].Descr, "N ( 10,2)");
  EXPECT_EQ(article[2].Kind, skTableField);
  EXPECT_EQ(article[2].Ref, 1);

  // Two dotted names, and a lone full stop, cannot be completed.
  bool ok = true;
  FarSetString(5, "x = a.b.");
  CollectAt(5, 8, &ok);
  EXPECT_FALSE(ok);
  FarSetString(5, "x = .");
  CollectAt(5, 5, &ok);
  EXPECT_FALSE(ok);
}

TEST(CompleteSymbol, OptionGroupsReadTheGlobalTableAtTheLocalColumns) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini",
                  "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n"
                  "[OPTIONS]\r\nLSearchMask=>\\lo.dbf\r\nGSearchMask=>\\go.dbf\r\nFieldName_ID=ID\r\n"
                  "FieldName_DESC=DESC\r\n");
  ph.Tree().Write("lo.dbf", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("lo.dbf"), {{"ID", 'C', 6, 0}, {"DESC", 'C', 8, 0}},
                             {{{"gcLoc", "local"}}}));
  // Another structure: the columns of the local table are used by position.
  ph.Tree().Write("go.dbf", "");
  ASSERT_TRUE(test::WriteDbf(ph.Tree().Native("go.dbf"), {{"XX", 'C', 6, 0}, {"YY", 'C', 8, 0}},
                             {{{"gnGlob", "global"}}}));
  const auto list = CollectAt(5, 6);
  const auto names = Names(list);
  ASSERT_EQ(names.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(names.begin() + 4, names.end()),
            (std::vector<std::string>{"#local options", "gcLoc", "#global options", "gnGlob"}));
  EXPECT_EQ(list[7].Descr, "global");
  EXPECT_EQ(list[7].Kind, skGlobalOption);
  EXPECT_EQ(list[5].Kind, skLocalOption);
}

TEST(CompleteSymbol, InsertionReplacesTheWholeIdentifierAndBeepsOnDottedNames) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
  FarSetString(5, "x = M.cLaxyz + 1");
  PutCursor(5, 9);
  RefreshModel(false, false, false);
  FindInsightWord();
  ph.Keys({"Enter"});
  CompleteSymbol();
  EXPECT_EQ(Insight().Prefix, "cLa");
  std::string line;
  FarGetLine(5, line);
  EXPECT_EQ(line, "x = M.cLater + 1");
  EXPECT_TRUE(Insight().Candidates.empty());

  const int before = ph.Host().BeepCount();
  FarSetString(5, "x = a.b.");
  PutCursor(5, 8);
  RefreshModel(false, false, false);
  FindInsightWord();
  CompleteSymbol();
  EXPECT_EQ(ph.Host().BeepCount(), before + 1);
  FarGetLine(5, line);
  EXPECT_EQ(line, "x = a.b.");
}

}  // namespace
}  // namespace vemlo

namespace vemlo {
namespace {

const char* const kChildClass =
    "DEFINE CLASS frmChild AS frmBase\r\n"   // 0
    "  Caption = 'child'\r\n"                // 1
    "  PROTECTED nOwn\r\n"                   // 2
    "  PROCEDURE Init\r\n"                   // 3
    "    x = THIS.\r\n"                      // 4
    "  ENDPROC\r\n"                          // 5
    "ENDDEFINE\r\n"                          // 6
    "y = THIS.\r\n";                         // 7

TEST(CompleteSymbol, ThisDotOffersTheClassMembersWithTheInheritedOnes) {
  test::PluginHost ph(kChildClass);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=*.prg\r\n");
  ph.Tree().Write("BASE.PRG",
                  "DEFINE CLASS frmBase AS Form\r\n  Caption = 'base'\r\n  Value = 0\r\n"
                  "  HIDDEN cSecret\r\n  PROCEDURE Init\r\n  ENDPROC\r\n"
                  "  PROTECTED FUNCTION Helper(a, b)\r\n  ENDFUNC\r\n"
                  "  HIDDEN PROCEDURE Forget\r\nENDDEFINE\r\n");
  bool ok = false;
  const auto list = CollectAt(4, 13, &ok);
  EXPECT_TRUE(ok);
  // The own class first; a parent's names already seen and its HIDDEN ones left out.
  EXPECT_EQ(Names(list),
            (std::vector<std::string>{"#members", "Caption", "nOwn", "Init", "Value", "Helper"}));
  ASSERT_GE(list.size(), 6u);
  EXPECT_EQ(list[1].Descr, "property of frmChild");
  EXPECT_EQ(list[5].Descr, "method of frmBase");
  // Methods are rows F3 and F4 find through the class chain; properties are not.
  EXPECT_EQ(list[1].Kind, skNone);
  EXPECT_EQ(list[3].Kind, skMethod);
  EXPECT_EQ(list[5].Kind, skMethod);
  // After ENDDEFINE the code belongs to no class: THIS. is an alias as before.
  const auto outside = CollectAt(7, 9);
  for (const auto& c : outside) EXPECT_NE(c.Name, "members");
}

}  // namespace
}  // namespace vemlo
