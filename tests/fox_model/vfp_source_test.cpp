// Visual FoxPro source: the statement classes it adds, the TEXT, procedure-name,
// DIMENSION and LPARAMETERS mends, and classes in the procedure table.
#include <gtest/gtest.h>

#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "text_lines.h"

namespace vemlo {
namespace {

using test::ElementsOf;
using test::LinesReader;

TEST(VfpClasses, NewStatements) {
  struct Case {
    const char* Text;
    unsigned char Class;
  };
  const Case cases[] = {
      {"DEFINE CLASS Foo AS Custom", stDefineClass}, {"defi clas Foo as Form OF lib", stDefineClass},
      {"ENDDEFINE", stEndDefine},     {"enddef", stEndDefine},       {"ENDDE", stEndDefine},
      {"ENDPROC", stEndProc},         {"ENDP", stEndProc},           {"ENDFUNC", stEndProc},
      {"ENDFU", stEndProc},           {"LOCAL a, b", stLocal},       {"LOCAL ARRAY a[3]", stLocal},
      {"LPARAMETERS a", stParameters}, {"LPARA a", stParameters},    {"TRY", stTry},
      {"CATCH TO oErr", stCatch},     {"FINALLY", stFinally},        {"ENDTRY", stEndTry},
      {"WITH THIS", stWith},          {"ENDWITH", stEndWith},        {"FOR EACH o IN THIS.Controls", stForEach},
      {"PROTECTED PROCEDURE Foo", stProcedure}, {"HIDDEN FUNCTION Bar", stProcedure},
      {"PROTECTED nCount, cName", stHiddenList}, {"HIDDEN cSecret", stHiddenList},
      {"#IF DEBUG", stDirIf},         {"#IFDEF X", stDirIf},         {"#ELIF Y", stDirElse},
      {"#ELSE", stDirElse},           {"#ENDIF", stDirEndIf},        {"#DEFINE X 1", stDirective},
      {"#INCLUDE foxpro.h", stDirective},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyStatement(c.Text), c.Class) << c.Text;
}

TEST(VfpClasses, AbbreviationsThatWouldReadAsFoxPro2KeywordsKeepTheirOldMeaning) {
  EXPECT_EQ(ClassifyStatement("ENDD"), stEndDo);
  EXPECT_EQ(ClassifyStatement("ENDF"), stEndFor);
  EXPECT_EQ(ClassifyStatement("ENDT"), stEndText);
  EXPECT_EQ(ClassifyStatement("LOCA FOR x = 1"), stOther);  // LOCATE
  EXPECT_EQ(ClassifyStatement("LOCATE FOR x = 1"), stOther);
  EXPECT_EQ(ClassifyStatement("HIDE WINDOW w"), stOther);
  EXPECT_EQ(ClassifyStatement("DEFINE WINDOW w FROM 1,1 TO 5,5"), stOther);
  EXPECT_EQ(ClassifyStatement("FOR i = 1 TO 3"), stFor);
  EXPECT_EQ(ClassifyStatement("FOR Each = 1 TO 3"), stFor);  // a variable named Each
  EXPECT_EQ(ClassifyStatement("NEXT"), stEndFor);
}

TEST(VfpClasses, PropertiesNamedLikeStatementsAreAssignments) {
  for (const char* text : {"With = 1", "Finally.Value = 2", "Try = .F.", "Protected = .T.",
                           "Local.x = 1", "Catch = 3"}) {
    EXPECT_EQ(ClassifyStatement(text), stOther) << text;
  }
}

TEST(TextMend, TextStartsABlockOnlyAloneOrWithItsClauses) {
  for (const char* text : {"TEXT", "text", "TEXT TO lcSql NOSHOW", "TEXT TO x ADDITIVE TEXTMERGE",
                           "TEXT TEXTMERGE NOSHOW", "TEXT NOSHOW", "TEXT FLAGS 1", "TEXT PRETEXT 3",
                           "TEXT ADDITIVE", "TEXT && comment"}) {
    EXPECT_TRUE(IsTextStart(text)) << text;
    EXPECT_EQ(ClassifyStatement(text), stText) << text;
  }
  for (const char* text : {"Text = .NULL.", "text.Value = 1", "TEXT = 'a'", "Text[1] = 2",
                           "TEXT something", "TEXTMERGE"}) {
    EXPECT_FALSE(IsTextStart(text)) << text;
    EXPECT_NE(ClassifyStatement(text), stText) << text;
  }
}

TEST(TextMend, APropertyNamedTextDoesNotSwallowTheFile) {
  const std::vector<std::string> lines = {"DEFINE CLASS F AS Form", "  Text = .NULL.",
                                          "  Caption = 'x'", "  PROCEDURE Init", "  ENDPROC",
                                          "ENDDEFINE"};
  TxxFoxStringArr st;
  ScanStatements(LinesReader(lines), 0, kToEndOfText, 99, st);
  ASSERT_EQ(st.size(), lines.size());
  for (const TxxFoxString& s : st) EXPECT_NE(s.Kind, stTextBody);
  EXPECT_EQ(st[3].Kind, stProcedure);
}


std::string Names(const TxxFoxElementArr& els) {
  std::string r;
  for (const TxxFoxElement& e : els) {
    r += e.Name + (e.Kind == ekArray ? "[]" : "") + "/" + e.Source + ";";
  }
  return r;
}

TEST(DimensionMend, BracketsAndParenthesesDeclareOneArray) {
  EXPECT_EQ(Names(ElementsOf("DIMENSION a[2,3]")), "a[]/DIMENSION [2,3];");
  EXPECT_EQ(Names(ElementsOf("DIMENSION a(2,3)")), "a[]/DIMENSION (2,3);");
  EXPECT_EQ(Names(ElementsOf("DIMENSION a[2,3], b(4), c[5]")),
            "a[]/DIMENSION [2,3],;b[]/DIMENSION (4),;c[]/DIMENSION [5];");
  EXPECT_EQ(Names(ElementsOf("DIME a(10), b[2,3]")), "a[]/DIME (10),;b[]/DIME [2,3];");
}

TEST(LParametersMend, NamesAsParametersWithTypesDropped) {
  EXPECT_EQ(Names(ElementsOf("LPARAMETERS a, m.b, 1c")), "a/parameter;b/parameter;");
  EXPECT_EQ(Names(ElementsOf("LPARAMETERS tcName AS String, tnCount AS Integer")),
            "tcName/parameter;tnCount/parameter;");
  // PARAMETERS keeps its FoxPro 2.x reading.
  EXPECT_EQ(Names(ElementsOf("PARAMETERS a, m.b, 1c, o.p")), "a/parameter;b/parameter;");
}

TEST(VfpElements, LocalForEachCatchAndTextTo) {
  EXPECT_EQ(Names(ElementsOf("LOCAL lnI, lcName AS String, laRows[3], m.x")),
            "lnI/local;lcName/local;laRows[]/local;x/local;");
  EXPECT_EQ(Names(ElementsOf("LOCAL ARRAY laA[2,3], laB(4)")),
            "laA[]/LOCAL ARRAY [2,3],;laB[]/LOCAL ARRAY (4);");
  EXPECT_EQ(Names(ElementsOf("FOR EACH loCtl IN THIS.Controls")),
            "loCtl/FOR EACH loCtl IN THIS.Controls;");
  EXPECT_EQ(Names(ElementsOf("CATCH TO loErr")), "loErr/CATCH TO loErr;");
  EXPECT_EQ(Names(ElementsOf("CATCH")), "");
  EXPECT_EQ(Names(ElementsOf("TEXT TO lcSql TEXTMERGE NOSHOW")),
            "lcSql/TEXT TO lcSql TEXTMERGE NOSHOW;");
  EXPECT_EQ(Names(ElementsOf("TEXT")), "");
}

TxxFoxProg TableOf(const std::vector<std::string>& lines) {
  TxxFoxProg prog;
  prog.FileName = "C:\\P\\FORMS.PRG";
  prog.IsLibrary = 1;
  BuildProcTable(prog, static_cast<int>(lines.size()), LinesReader(lines), false);
  return prog;
}

TEST(ProcNameMend, TheNameEndsAtTheParenthesis) {
  const TxxFoxProg prog = TableOf({"PROCEDURE Foo(a, b)", "FUNCTION Bar (x)", "PROC Baz WITH"});
  ASSERT_EQ(prog.Procs.size(), 4u);
  EXPECT_EQ(prog.Procs[1].Name, "Foo");
  EXPECT_EQ(prog.Procs[1].Params, "(a, b)");
  EXPECT_EQ(prog.Procs[2].Name, "Bar");
  EXPECT_EQ(prog.Procs[2].Params, "(x)");
  EXPECT_EQ(prog.Procs[3].Name, "Baz");
  EXPECT_EQ(prog.Procs[3].Params, "WITH");
}

const std::vector<std::string> kClassFile = {
    "* before the class",             // 0
    "x = 1",                          // 1
    "* the form",                     // 2
    "DEFINE CLASS frmMain AS Form OF base.vcx",  // 3
    "  Caption = 'Main'",             // 4
    "  Text = .NULL.",                // 5
    "  DIMENSION aRows[2,3]",         // 6
    "  PROTECTED nCount, cName",      // 7
    "  ADD OBJECT lblName AS Label WITH Caption = 'x'",  // 8
    "",                               // 9
    "  PROCEDURE Init(tcTitle)",      // 10
    "    Value = 1",                  // 11
    "    TEXT TO lcX NOSHOW",         // 12
    "    PROCEDURE NotOne",           // 13
    "    ENDTEXT",                    // 14
    "  ENDPROC",                      // 15
    "  PROTECTED FUNCTION Helper",    // 16
    "  ENDFUNC",                      // 17
    "  HIDDEN PROCEDURE Secret",      // 18
    "ENDDEFINE",                      // 19
    "y = 2",                          // 20
    "PROCEDURE Free",                 // 21
    "DEFINE CLASS Other AS frmMain",  // 22
    "PROCEDURE Init",                 // 23
    "ENDDEFINE",                      // 24
};

TEST(ClassTable, ClassesMethodsAndTheCodeAfterEnddefine) {
  const TxxFoxProg prog = TableOf(kClassFile);
  struct Row {
    int First, Last, Decl;
    const char* Name;
    unsigned char Kind, Visibility;
  };
  const Row rows[] = {
      {0, 1, -1, "", pkProcedure, vsPublic},
      {2, 9, 3, "frmMain", pkClass, vsPublic},
      {10, 15, 10, "frmMain.Init", pkMethod, vsPublic},
      {16, 17, 16, "frmMain.Helper", pkMethod, vsProtected},
      {18, 18, 18, "frmMain.Secret", pkMethod, vsHidden},
      {19, 20, 19, "", pkClassEnd, vsPublic},
      {21, 21, 21, "Free", pkProcedure, vsPublic},
      {22, 22, 22, "Other", pkClass, vsPublic},
      {23, 23, 23, "Other.Init", pkMethod, vsPublic},
      {24, 24, 24, "", pkClassEnd, vsPublic},
  };
  ASSERT_EQ(prog.Procs.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const TxxFoxProc& p = prog.Procs[i];
    EXPECT_EQ(p.FirstLine, rows[i].First);
    EXPECT_EQ(p.LastLine, rows[i].Last);
    EXPECT_EQ(p.DeclLine, rows[i].Decl);
    EXPECT_EQ(p.Name, rows[i].Name);
    EXPECT_EQ(p.Kind, rows[i].Kind);
    EXPECT_EQ(p.Visibility, rows[i].Visibility);
  }
  EXPECT_EQ(prog.Procs[1].Params, "AS Form OF base.vcx");
  EXPECT_EQ(prog.Procs[1].Parent, "Form OF base.vcx");
  EXPECT_EQ(prog.Procs[2].Params, "(tcTitle)");
  EXPECT_EQ(prog.Procs[7].Parent, "frmMain");
  std::string members;
  for (const TxxFoxMember& m : prog.Procs[1].Members) {
    members += m.Name + "/" + std::to_string(m.Visibility) + "/" + std::to_string(m.Line) + ";";
  }
  // Value = 1 stands inside a method and is no member.
  EXPECT_EQ(members, "Caption/0/4;Text/0/5;aRows/0/6;nCount/1/7;cName/1/7;lblName/0/8;");
}

TEST(ClassTable, FoxPro2SourceGivesNoClassEntries) {
  const TxxFoxProg prog = TableOf({"ENDD", "HIDE WINDOW w", "PROCEDURE A", "LOCA FOR x",
                                   "ENDP", "FUNCTION B"});
  ASSERT_EQ(prog.Procs.size(), 3u);
  for (const TxxFoxProc& p : prog.Procs) {
    EXPECT_EQ(p.Kind, pkProcedure);
    EXPECT_TRUE(p.Members.empty());
  }
  EXPECT_EQ(prog.Procs[1].Name, "A");
  EXPECT_EQ(prog.Procs[2].Name, "B");
}

TEST(ClassTable, FindFoxProcFindsClassDotMethod) {
  TxxFoxProj proj;
  proj.Progs.push_back(TableOf(kClassFile));
  TxxFoxProg prg;
  prg.FileName = "C:\\P\\FRMMAIN.INIT";  // a file named like the method comes second
  const std::vector<std::string> none;
  BuildProcTable(prg, 0, LinesReader(none), false);
  proj.Progs.push_back(prg);
  int f = -1, p = -1;
  EXPECT_TRUE(FindFoxProc("FRMMAIN.init", proj, f, p));
  EXPECT_EQ(f, 0);
  EXPECT_EQ(p, 2);
  EXPECT_TRUE(FindFoxProc("Other.Init", proj, f, p));
  EXPECT_EQ(p, 8);
  // A bare method name is no procedure name; a dotted name that is no method
  // still finds a file's main entry.
  EXPECT_FALSE(FindFoxProc("Init", proj, f, p));
  EXPECT_FALSE(FindFoxProc("frmMain.Init2", proj, f, p));
  proj.Progs[1].Procs[0].Name = "OTHER.LOAD";
  EXPECT_TRUE(FindFoxProc("other.load", proj, f, p));
  EXPECT_EQ(f, 1);
  EXPECT_EQ(p, 0);
}

TEST(ClassTable, FindMethodSearchesTheClassChainFirst) {
  TxxFoxProj proj;
  proj.Progs.push_back(TableOf({"DEFINE CLASS cBase AS Custom", "PROCEDURE Load(a)",
                                "PROCEDURE Only", "ENDDEFINE", "DEFINE CLASS cOther AS Custom",
                                "PROCEDURE Run", "ENDDEFINE"}));
  proj.Progs.push_back(TableOf({"DEFINE CLASS cChild AS cBase", "PROCEDURE Run", "x = 1",
                                "ENDDEFINE", "DEFINE CLASS cLoop AS cLoop", "PROCEDURE A"}));
  int f = -1, p = -1;
  // In cChild.Run: THIS.Run is its own, Load inherited from cBase.
  ASSERT_TRUE(FindMethod("THIS.Run", proj, 1, 2, f, p));
  EXPECT_EQ(f, 1);
  EXPECT_EQ(p, 2);
  ASSERT_TRUE(FindMethod("load", proj, 1, 2, f, p));
  EXPECT_EQ(proj.Progs[f].Procs[p].Name, "cBase.Load");
  // Outside the chain any method of the name; none for dotted or unknown names.
  ASSERT_TRUE(FindMethod("Run", proj, 0, 0, f, p));
  EXPECT_EQ(proj.Progs[f].Procs[p].Name, "cOther.Run");
  EXPECT_FALSE(FindMethod("Nothing", proj, 1, 2, f, p));
  EXPECT_FALSE(FindMethod("x.Run", proj, 1, 2, f, p));
  EXPECT_EQ(ClassChain(proj, 1, 2).size(), 2u);
  EXPECT_TRUE(ClassChain(proj, 0, 0).empty());  // the main entry is in no class
  // A class that names itself as its parent ends the chain.
  EXPECT_EQ(ClassChain(proj, 1, 5).size(), 1u);
}

TEST(ClassTable, FindProcForWordTriesMethodsOfTheCursorsClassFirst) {
  TxxFoxProj proj;
  proj.Progs.push_back(TableOf({"DEFINE CLASS cBase AS Custom", "PROCEDURE Load(a)",
                                "PROCEDURE Only", "ENDDEFINE", "DEFINE CLASS cOther AS Custom",
                                "PROCEDURE Run", "ENDDEFINE"}));
  proj.Progs.push_back(TableOf({"DEFINE CLASS cChild AS cBase", "PROCEDURE Run", "x = 1", "ENDDEFINE"}));
  TxxFoxProg plain = TableOf({"PROCEDURE Run", "PROCEDURE Load"});
  plain.FileName = "C:\\P\\PLAIN.PRG";
  proj.Progs.push_back(plain);
  const auto found = [&](const std::string& qualifier, const std::string& word, int prog, int proc) {
    int f = -1, p = -1;
    if (!FindProcForWord(qualifier, word, proj, prog, proc, f, p)) return std::string("-");
    return IntToStr(f) + ":" + proj.Progs[static_cast<size_t>(f)].Procs[static_cast<size_t>(p)].Name;
  };
  // In cChild.Run: a bare name, THIS. and an object's method look in the
  // class chain before the procedures of the same name.
  EXPECT_EQ(found("", "Load", 1, 2), "0:cBase.Load");
  EXPECT_EQ(found("THIS", "run", 1, 2), "1:cChild.Run");
  EXPECT_EQ(found("loObj", "Run", 1, 2), "1:cChild.Run");
  // Class.Method by its full name, also as one selected word.
  EXPECT_EQ(found("cOther", "Run", 1, 2), "0:cOther.Run");
  EXPECT_EQ(found("", "cBase.Only", 2, 1), "0:cBase.Only");
  // Outside classes the procedures come first, as before; then any method.
  EXPECT_EQ(found("", "Run", 2, 1), "2:Run");
  EXPECT_EQ(found("alias", "Run", 2, 1), "2:Run");
  EXPECT_EQ(found("THIS", "Only", 2, 1), "0:cBase.Only");
  EXPECT_EQ(found("x", "Nothing", 1, 2), "-");
  EXPECT_EQ(found("THIS", "", 1, 2), "-");
  // A project without classes finds what FindFoxProc finds for the word alone.
  TxxFoxProj old;
  old.Progs.push_back(plain);
  int f = -1, p = -1;
  for (const char* word : {"Run", "LOAD", "PLAIN.PRG", "Other", ""}) {
    const bool before = FindFoxProc(word, old, f, p);
    const int beforeProc = p;
    EXPECT_EQ(FindProcForWord("m", word, old, 0, 1, f, p), before) << word;
    EXPECT_EQ(p, beforeProc) << word;
  }
}

}  // namespace
}  // namespace vemlo
