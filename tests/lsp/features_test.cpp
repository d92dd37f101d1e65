// The features in-process: definitions of #DEFINEs and variables, hover on a
// project procedure, the Markdown of help topics, blocks and their faults,
// documents outside a project and other code pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "demo_copy.h"
#include "lib/codepage.h"
#include "lsp_session.h"
#include "vemlo-lsp/codec.h"
#include "vemlo-lsp/features.h"

namespace vemlo::lsp {
namespace {

using test::LspSession;

TextCodec CodecOfOem() { return CodecOf(codepage::CodePage::Oem866); }

int LineOf(const std::string& text, const std::string& mark) {
  int line = 0;
  for (const std::string& l : SplitLines(text)) {
    if (l.find(mark) != std::string::npos) return line;
    ++line;
  }
  ADD_FAILURE() << "no line holds " << mark;
  return -1;
}

class DemoFeatures : public ::testing::Test {
 protected:
  void SetUp() override {
    text_ = test::ReadFile(demo_.Path("src/ORDERS.PRG"));
    uri_ = lsp_.Open(demo_.Path("src/ORDERS.PRG"));
  }
  int Line(const std::string& mark) const { return LineOf(text_, mark); }
  int Col(const std::string& mark, const std::string& word) const {
    const std::string line = SplitLines(text_)[static_cast<size_t>(Line(mark))];
    return static_cast<int>(line.find(word)) + 1;
  }
  test::DemoCopy demo_;
  LspSession lsp_{json{{"codePage", "866"}, {"registry", demo_.Registry()}}};
  std::string text_, uri_;
};

TEST_F(DemoFeatures, DefinitionOfADefineAndOfAVariableOfTheProcedure) {
  const int use = Line("DO AuditWrite WITH AUD_ORD_NEW, M.cOrderNo");
  const json define = lsp_.Call("textDocument/definition",
                                LspSession::At(uri_, use, Col("DO AuditWrite WITH AUD_ORD_NEW", "AUD_ORD_NEW")));
  ASSERT_TRUE(define.is_array()) << define;
  EXPECT_EQ(define[0]["uri"], uri_);
  EXPECT_EQ(define[0]["range"]["start"]["line"], Line("#DEFINE AUD_ORD_NEW"));
  // M.cOrderNo: declared PRIVATE in NewOrder, not in the other procedures that declare one.
  const json var = lsp_.Call("textDocument/definition",
                             LspSession::At(uri_, use, Col("DO AuditWrite WITH AUD_ORD_NEW, M.cOrderNo", "cOrderNo")));
  ASSERT_TRUE(var.is_array()) << var;
  EXPECT_EQ(var[0]["range"]["start"]["line"], Line("PRIVATE cCustId, cOrderNo"));
  // A word that names nothing declared: no location.
  const int release = Line("RELEASE WINDOW wOrder");
  EXPECT_TRUE(lsp_.Call("textDocument/definition", LspSession::At(uri_, release, 2)).is_null());
}

TEST_F(DemoFeatures, HoverOnAProjectProcedureShowsItsHeadAndComments) {
  const int use = Line("DO AuditWrite WITH AUD_ORD_NEW");
  const json hover = lsp_.Call("textDocument/hover", LspSession::At(uri_, use, Col("DO AuditWrite", "AuditWrite") + 2));
  ASSERT_TRUE(hover.is_object()) << hover;
  const std::string md = hover["contents"]["value"];
  EXPECT_NE(md.find("PROCEDURE AuditWrite"), std::string::npos) << md;
  EXPECT_NE(md.find("AuditWrite - one line of the audit trail"), std::string::npos) << md;
  EXPECT_NE(md.find("in UTILS.PRG"), std::string::npos) << md;
  EXPECT_EQ(md.find("* AuditWrite"), std::string::npos) << "the comment marks stay out: " << md;
}

TEST_F(DemoFeatures, PositionsOutOfRangeAreAnsweredFromTheNearestPlace) {
  const json far = lsp_.Call("textDocument/completion", LspSession::At(uri_, 1000000, 1000000));
  EXPECT_TRUE(far["items"].is_array());
  const json hover = lsp_.Call("textDocument/hover", LspSession::At(uri_, 0, 5000));
  EXPECT_TRUE(hover.is_null() || hover.contains("contents"));
  EXPECT_TRUE(lsp_.Call("textDocument/completion", LspSession::At("file:///not/open.prg", 0, 0))["items"].empty());
}

TEST(TopicMarkdown, TitleBoxBodyAndSeeAlso) {
  const std::vector<std::string> lines = {
      "", "\xD6\xC4\xC4\xC4\xB7", "\xBA LEFT()     Function \xBA", "\xD3\xC4\xC4\xC4\xBD", "",
      "LEFT(<expC>, <expN>)", "\tReturns \x8F\xE0\xA8", "", "", "See Also: RIGHT(), SUBSTR()"};
  const std::string md = TopicMarkdown(lines, CodecOfOem());
  EXPECT_EQ(md,
            "### LEFT() Function\n\n```text\nLEFT(<expC>, <expN>)\n    Returns \xD0\x9F\xD1\x80\xD0\xB8\n```\n"
            "\n**See Also:** RIGHT(), SUBSTR()\n");
  // A topic without a box: the body alone.
  EXPECT_EQ(TopicMarkdown({"plain"}, CodecOfOem()), "```text\nplain\n```\n");
  EXPECT_EQ(TopicMarkdown({}, CodecOfOem()), "");
}

// A one-file project in a temporary folder.
struct SmallProject {
  explicit SmallProject(const std::string& prg) {
    tree.Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
    tree.Write("A.PRG", prg);
  }
  vemlo::test::TempTree tree;
};

std::vector<int> DiagnosticLines(const LspSession& lsp) {
  std::vector<int> lines;
  for (const json& m : lsp.Sent)
    if (m["method"] == "textDocument/publishDiagnostics")
      for (const json& d : m["params"]["diagnostics"]) lines.push_back(d["range"]["start"]["line"]);
  return lines;
}

TEST(Blocks, UnbalancedBlocksAreDiagnosedAndBalancedOnesFold) {
  SmallProject p(
      "PROCEDURE One\r\n"
      "IF a\r\n"          // 1: closed at 4
      "  x = 1\r\n"
      "  y = 2\r\n"
      "ENDIF\r\n"
      "CASE b\r\n"        // 5: a CASE outside DO CASE
      "ENDDO\r\n"         // 6: closes nothing
      "FOR i = 1 TO 3\r\n"  // 7: never closed before the next procedure
      "PROCEDURE Two\r\n"
      "DO WHILE .T.\r\n"  // 9: closed at 12
      "  SCAN\r\n"        // 10: closed at 11
      "  ENDSCAN\r\n"
      "ENDDO\r\n"
      "RETURN\r\n");
  LspSession lsp;
  const std::string uri = lsp.Open(p.tree.Native("A.PRG"));
  EXPECT_EQ(DiagnosticLines(lsp), (std::vector<int>{5, 6, 7}));
  const json folds = lsp.Call("textDocument/foldingRange", {{"textDocument", {{"uri", uri}}}});
  std::vector<std::pair<int, int>> got;
  for (const json& f : folds) got.emplace_back(f["startLine"], f["endLine"]);
  std::sort(got.begin(), got.end());
  // The last procedure runs to the end of the text, the empty line after the last line end included.
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{0, 7}, {1, 3}, {8, 14}, {9, 11}}));
  // Mending the faults by an edit clears them.
  lsp.Sent.clear();
  DidChange(lsp.S, {{"textDocument", {{"uri", uri}, {"version", 2}}},
                    {"contentChanges", json::array({{{"range", {{"start", {{"line", 5}, {"character", 0}}},
                                                                {"end", {{"line", 8}, {"character", 0}}}}},
                                                     {"text", ""}}})}});
  EXPECT_TRUE(DiagnosticLines(lsp).empty());
}

TEST(Blocks, VisualFoxProBlocksAreBalancedAndTheirFaultsDiagnosed) {
  const std::string balanced =
      "DEFINE CLASS frm AS Form\r\n"   // 0
      "Text = .NULL.\r\n"
      "PROCEDURE Init\r\n"             // 2
      "TRY\r\n"                        // 3: closed at 9
      "  WITH THIS\r\n"                // 4: closed at 8
      "    FOR EACH o IN .Controls\r\n"
      "    ENDFOR\r\n"
      "    x = 1\r\n"
      "  ENDWITH\r\n"
      "ENDTRY\r\n"
      "ENDPROC\r\n"
      "ENDDEFINE\r\n";                 // 11
  SmallProject p(balanced);
  LspSession lsp;
  const std::string uri = lsp.Open(p.tree.Native("A.PRG"));
  EXPECT_TRUE(DiagnosticLines(lsp).empty());
  const json folds = lsp.Call("textDocument/foldingRange", {{"textDocument", {{"uri", uri}}}});
  std::vector<std::pair<int, int>> got;
  for (const json& f : folds) got.emplace_back(f["startLine"], f["endLine"]);
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(3, 8)), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(4, 7)), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(0, 10)), got.end());
  // A missing ENDTRY, an ENDWITH without WITH, an #IF never closed.
  lsp.Sent.clear();
  DidChange(lsp.S, {{"textDocument", {{"uri", uri}, {"version", 2}}},
                    {"contentChanges", json::array({{{"text",
                                                      "#IF DEBUG\r\n"
                                                      "PROCEDURE One\r\n"
                                                      "TRY\r\n"
                                                      "  x = 1\r\n"
                                                      "PROCEDURE Two\r\n"
                                                      "ENDWITH\r\n"}}})}});
  EXPECT_EQ(DiagnosticLines(lsp), (std::vector<int>{0, 2, 5}));
  std::vector<std::string> messages;
  for (const json& m : lsp.Sent)
    if (m["method"] == "textDocument/publishDiagnostics")
      for (const json& d : m["params"]["diagnostics"]) messages.push_back(d["message"]);
  EXPECT_EQ(messages, (std::vector<std::string>{"#IF is not closed", "TRY is not closed",
                                                "ENDWITH closes no block opened before it"}));
}

TEST(Methods, DefinitionAndHoverFindTheMethodOfTheCursorsClassChain) {
  SmallProject p(
      "DEFINE CLASS cBase AS Custom\r\n"   // 0
      "PROCEDURE Area\r\n"                 // 1
      "RETURN 0\r\n"
      "ENDDEFINE\r\n"
      "DEFINE CLASS cSquare AS cBase\r\n"  // 4
      "PROCEDURE Show\r\n"                 // 5
      "x = THIS.Area()\r\n"                // 6
      "y = Area()\r\n"                     // 7
      "z = loObj.Show()\r\n"               // 8
      "ENDPROC\r\n"
      "ENDDEFINE\r\n"
      "PROCEDURE Area\r\n"                 // 11
      "w = Area()\r\n"                     // 12
      "v = m.Area\r\n");                   // 13
  LspSession lsp;
  const std::string uri = lsp.Open(p.tree.Native("A.PRG"));
  const auto definitionLine = [&](int line, int col) {
    const json d = lsp.Call("textDocument/definition", LspSession::At(uri, line, col));
    return d.is_array() && !d.empty() ? d[0]["range"]["start"]["line"].get<int>() : -1;
  };
  EXPECT_EQ(definitionLine(6, 10), 1);   // THIS.Area: inherited from cBase
  EXPECT_EQ(definitionLine(7, 5), 1);    // a bare Area inside the class: the method first
  EXPECT_EQ(definitionLine(8, 11), 5);   // obj.Show: the method of the chain
  EXPECT_EQ(definitionLine(12, 5), 11);  // outside the classes: the procedure, as before
  EXPECT_NE(definitionLine(13, 7), 11);  // m.Area is a variable, never a procedure
  const json hover = lsp.Call("textDocument/hover", LspSession::At(uri, 6, 10));
  ASSERT_TRUE(hover.is_object()) << hover;
  EXPECT_NE(hover["contents"]["value"].get<std::string>().find("PROCEDURE Area"), std::string::npos);
}

TEST(Outside, ADocumentWithoutAProjectGetsEmptyAnswers) {
  vemlo::test::TempTree tree;
  tree.Write("loose/X.PRG", "PROCEDURE X\r\nIF a\r\nRETURN\r\n");
  LspSession lsp;
  const std::string uri = lsp.Open(tree.Native("loose/X.PRG"));
  const auto before = vemlo::test::SnapshotTree(tree.Root);
  EXPECT_TRUE(lsp.Call("textDocument/completion", LspSession::At(uri, 1, 2))["items"].empty());
  EXPECT_TRUE(lsp.Call("textDocument/hover", LspSession::At(uri, 0, 2)).is_null());
  EXPECT_TRUE(lsp.Call("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}).empty());
  EXPECT_TRUE(lsp.Call("textDocument/formatting", {{"textDocument", {{"uri", uri}}}}).empty());
  EXPECT_TRUE(DiagnosticLines(lsp).empty());
  EXPECT_TRUE(vemlo::test::TreeDifferences(before, vemlo::test::SnapshotTree(tree.Root)).empty());
}

TEST(CodePages, A1251DocumentIsFormattedAndAnsweredInUtf8) {
  // "Привет" in 1251 bytes on disk; the client sends UTF-8.
  SmallProject p("PROCEDURE One\r\nIF a\r\n? \"\xCF\xF0\xE8\xE2\xE5\xF2\"\r\nENDIF\r\nRETURN\r\n");
  LspSession lsp(json{{"codePage", "1251"}});
  const std::string uri = lsp.OpenText(p.tree.Native("A.PRG"),
                                       "PROCEDURE One\nIF a\n? \"Привет\"\nENDIF\nRETURN\n");
  const json edits = lsp.Call("textDocument/formatting", {{"textDocument", {{"uri", uri}}}});
  ASSERT_EQ(edits.size(), 1u) << edits;
  EXPECT_EQ(edits[0]["newText"], "\t? \"Привет\"");
  EXPECT_EQ(edits[0]["range"]["end"]["character"], 10);  // UTF-16 units of the old line
  const json symbols = lsp.Call("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}});
  ASSERT_EQ(symbols.size(), 1u);
  EXPECT_EQ(symbols[0]["name"], "One");
  // An unknown code page is refused at initialize.
  Session s;
  EXPECT_THROW(Initialize(s, {{"initializationOptions", {{"codePage", "437"}}}}), ParamsError);
}

}  // namespace
}  // namespace vemlo::lsp
