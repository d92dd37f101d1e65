// The core without the host: the demo project loaded, the procedures of a file
// listed, completion candidates computed at a position and a procedure
// formatted, through the core layers alone. This program links no host
// interface and no replacement host (tests/core/CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/options.h"
#include "fox/insight/completion.h"
#include "fox/insight/formatter.h"
#include "fox/insight/proc_param_text.h"
#include "fox/model/project.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {
namespace {

std::vector<std::string> FileLines(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::vector<std::string> lines;
  std::string line;
  for (char c : s.str()) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The demo project loaded for the folder of src\ORDERS.PRG, the edited text.
class CoreTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string demo = std::string(VEMLO_BINARY_DIR) + "/demo";
    dir_ = UpperCase(IncludeTrailingBackslash(platform::ToDosPath(demo)));
    orders_ = FileLines(demo + "/src/ORDERS.PRG");
  }

  void SetUp() override {
    ASSERT_FALSE(orders_.empty()) << "the demo project is not built";
    // The settings file is found in the folder above, and the project is that
    // of the edited file's folder.
    const std::string settings = FindSettingsFile(dir_ + "SRC\\", "");
    ASSERT_EQ(settings, dir_ + "vemlo.ini");
    problems_ = LoadProject(proj_, ini_, dir_ + "SRC\\", settings);
  }

  // The edited text with the cursor at the first line that holds `mark`,
  // after the characters of `mark` up to `cut` (all of them by default).
  TxxEditedText Edit(const std::string& mark, size_t cut = std::string::npos) {
    TxxEditedText text;
    text.FileName = dir_ + "SRC\\ORDERS.PRG";
    text.LineCount = static_cast<int>(orders_.size());
    text.Read = [this](int n, std::string& line) {
      if (n < 0 || n >= static_cast<int>(orders_.size())) return false;
      line = orders_[static_cast<size_t>(n)];
      return true;
    };
    for (size_t i = 0; i < orders_.size(); ++i) {
      const size_t at = orders_[i].find(mark);
      if (at == std::string::npos) continue;
      text.CursorLine = static_cast<int>(i);
      text.CursorCol = static_cast<int>(at + std::min(cut, mark.size()));
      return text;
    }
    ADD_FAILURE() << "no line holds " << mark;
    return text;
  }

  // Refreshes the model at the text's cursor and computes the candidates there.
  void CompleteAt(const TxxEditedText& text) {
    TxxRefreshRequest request;
    EXPECT_FALSE(NeedsProjectLoad(proj_, text, request));
    EXPECT_TRUE(RefreshInsight(proj_, in_, text, request, true, {}).empty());
    std::string line;
    ASSERT_TRUE(text.Read(text.CursorLine, line));
    FindInsightWordIn(in_, line, text.CursorLine, text.CursorCol);
    ASSERT_TRUE(CollectCandidates(in_, proj_, ini_));
  }

  const TxxSymbToComplete* Candidate(const std::string& name, unsigned char kind) const {
    for (const TxxSymbToComplete& c : in_.Candidates)
      if (c.Name == name && c.Kind == kind) return &c;
    return nullptr;
  }

  const TxxFoxProg& Prog(const std::string& rel) const {
    const std::string name = dir_ + rel;
    for (const TxxFoxProg& p : proj_.Progs)
      if (p.FileName == name) return p;
    ADD_FAILURE() << "no program " << name;
    static const TxxFoxProg none;
    return none;
  }

  static std::string dir_;
  static std::vector<std::string> orders_;
  TxxFoxProj proj_;
  TxxIniFile ini_;
  TxxInsight in_;
  TxxProjectProblems problems_;
};

std::string CoreTest::dir_;
std::vector<std::string> CoreTest::orders_;

std::vector<std::string> ProcNames(const TxxFoxProg& prog) {
  std::vector<std::string> names;
  for (const TxxFoxProc& p : prog.Procs) names.push_back(p.Name);
  return names;
}

TEST_F(CoreTest, LoadsTheDemoProjectWithItsDictionary) {
  EXPECT_TRUE(problems_.empty());
  EXPECT_EQ(proj_.State, 1);
  EXPECT_EQ(proj_.Dir, dir_ + "SRC\\");
  EXPECT_EQ(ini_.State, isLoaded);
  std::vector<std::string> progs;
  for (const TxxFoxProg& p : proj_.Progs) progs.push_back(p.FileName.substr(dir_.size()));
  std::sort(progs.begin(), progs.end());
  EXPECT_EQ(progs, (std::vector<std::string>{"LIB\\UTILS.PRG", "MAIN.PRG", "SRC\\ORDERS.PRG", "SRC\\REPORTS.PRG"}));
  EXPECT_EQ(proj_.KdfBases.State, dsLoaded);
  EXPECT_EQ(proj_.KdfFields.State, dsLoaded);
  EXPECT_EQ(proj_.LocalOptions.State, dsLoaded);
  EXPECT_GT(proj_.KdfFields.RecCount, 10);
  std::vector<std::string> bases;
  for (const std::string& b : proj_.Bases) bases.push_back(UpperCase(ExtractFileName(b)));
  EXPECT_NE(std::find(bases.begin(), bases.end(), "CUSTOMER.DBF"), bases.end());
}

TEST_F(CoreTest, ListsTheProceduresOfAFileAndTheirParameters) {
  const TxxEditedText text = Edit("M.cOrderNo = NextOrderNo()");
  ASSERT_TRUE(RefreshInsight(proj_, in_, text, {}, true, {}).empty());
  // The edited file is parsed from its text, its main entry named with the extension.
  const TxxFoxProg& orders = proj_.Progs[static_cast<size_t>(in_.ProgIndex)];
  EXPECT_EQ(orders.FileName, text.FileName);
  EXPECT_EQ(ProcNames(orders), (std::vector<std::string>{"ORDERS.PRG", "NewOrder", "OrderLines", "ShowLines",
                                                         "EditOrder", "CancelOrder", "CheckCust"}));
  EXPECT_EQ(in_.ProcIndex, 1);  // the cursor stands in NewOrder
  EXPECT_EQ(orders.Procs[1].DeclLine, 16);
  // A library read from disk: every procedure, the main entry without a name.
  const TxxFoxProg& utils = Prog("LIB\\UTILS.PRG");
  EXPECT_EQ(utils.IsLibrary, 1);
  EXPECT_EQ(ProcNames(utils), (std::vector<std::string>{"", "AuditWrite", "YesNo", "CenterCol", "PadCode", "FmtMoney",
                                                        "NextOrderNo", "CheckPass", "OpenTable", "ErrorHandler"}));
  EXPECT_EQ(ProcParamText(orders, 2, text), "(cCursor)");
  EXPECT_EQ(ProcParamText(orders, 1, text), "()");
}

TEST_F(CoreTest, CompletionCandidatesAtAPosition) {
  CompleteAt(Edit("NextOrderNo()", 5));  // the cursor after "NextO"
  EXPECT_EQ(in_.Word, "NextOrderNo");
  EXPECT_EQ(in_.Prefix, "NextO");
  EXPECT_EQ(in_.Context, "");
  const TxxSymbToComplete* next = Candidate("NextOrderNo", skProc);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Descr, "function  in UTILS.PRG");
  const TxxSymbToComplete* local = Candidate("CheckCust", skProc);
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(local->Descr, "local function ");
  ASSERT_NE(Candidate("AUD_ORD_NEW", skDefine), nullptr);  // a #DEFINE above the cursor
  ASSERT_NE(Candidate("CUSTOMER", skBase), nullptr);       // a base of the dictionary
  ASSERT_NE(Candidate("CUSTOMER", skTable), nullptr);      // a table file of the project
  // Aliases of the procedure: a cursor created above the cursor, a table selected below it.
  const TxxSymbToComplete* basket = Candidate("c_basket", skElement);
  ASSERT_NE(basket, nullptr);
  EXPECT_EQ(basket->Later, 0);
  const TxxSymbToComplete* orders = Candidate("orders", skElement);
  ASSERT_NE(orders, nullptr);
  EXPECT_EQ(orders->Later, 1);
}

TEST_F(CoreTest, CompletionOfAliasFields) {
  // A cursor created in the procedure: its fields.
  CompleteAt(Edit("art_no WITH c_basket.art_no", 21));
  EXPECT_EQ(in_.Context, "c_basket.");
  ASSERT_NE(Candidate("qty", skElement), nullptr);
  ASSERT_NE(Candidate("price", skElement), nullptr);
  // A base of the dictionary: its fields from KDF_FIELDS.
  in_.Context = "customer.";
  ASSERT_TRUE(CollectCandidates(in_, proj_, ini_));
  const TxxSymbToComplete* credit = Candidate("CREDIT", skBaseField);
  ASSERT_NE(credit, nullptr);
  EXPECT_NE(credit->Descr.find("Credit limit"), std::string::npos);
  // ORDHIST shares the fields of ORDERS; ARTICLE is described by its table's header only.
  in_.Context = "ordhist.";
  ASSERT_TRUE(CollectCandidates(in_, proj_, ini_));
  ASSERT_NE(Candidate("ORDER_NO", skBaseField), nullptr);
  in_.Context = "article.";
  ASSERT_TRUE(CollectCandidates(in_, proj_, ini_));
  ASSERT_FALSE(in_.Candidates.empty());
  EXPECT_EQ(in_.Candidates[0].Kind, skHeader);
  EXPECT_NE(UpperCase(in_.Candidates[0].Name).find("ARTICLE.DBF"), std::string::npos);
  EXPECT_EQ(in_.Candidates[1].Kind, skTableField);
  in_.Context = ".";
  EXPECT_FALSE(CollectCandidates(in_, proj_, ini_));
}

TEST_F(CoreTest, FormatsAProcedureWithTheDefaultOptions) {
  const TxxEditedText text = Edit("RELEASE WINDOW wOrder");
  ASSERT_TRUE(RefreshInsight(proj_, in_, text, {}, true, {}).empty());
  ASSERT_EQ(proj_.Progs[static_cast<size_t>(in_.ProgIndex)].Procs[static_cast<size_t>(in_.ProcIndex)].Name,
            "NewOrder");
  std::vector<std::string> lines = orders_;
  int written = 0;
  TxxFmtLines io;
  io.Read = [&lines](int n, std::string& line) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    line = lines[static_cast<size_t>(n)];
    return true;
  };
  io.Write = [&](int n, const std::string& line) {
    lines[static_cast<size_t>(n)] = line;
    ++written;
    return true;
  };
  io.ScreenCol = [&lines](int n, int pos) {  // tabs of eight columns
    int col = 0;
    const std::string& l = lines[static_cast<size_t>(n)];
    for (int i = 0; i < pos && i < static_cast<int>(l.size()); ++i)
      col = l[static_cast<size_t>(i)] == '\t' ? (col / 8 + 1) * 8 : col + 1;
    return col;
  };
  ASSERT_TRUE(FormatStatements(in_.Statements, ReadFmtOptions(DefaultOptions()), io));
  EXPECT_GT(written, 30);
  const auto at = [&](const std::string& mark) {
    for (size_t i = 16; i < lines.size(); ++i)
      if (lines[i].find(mark) != std::string::npos) return lines[i];
    return std::string("<none>");
  };
  // The procedure's head and body at the base indent, a block one tab in, a
  // continuation line eight blanks further; the lines of other procedures stay.
  EXPECT_EQ(at("PROCEDURE NewOrder"), "PROCEDURE NewOrder");
  EXPECT_EQ(at("DEFINE WINDOW wOrder"), "DEFINE WINDOW wOrder FROM 2,2 TO 22,77 DOUBLE TITLE \" New order \" ;");
  EXPECT_EQ(at("COLOR SCHEME 5"), "        COLOR SCHEME 5");
  EXPECT_EQ(at("IF LASTKEY() = K_ESC"), "IF LASTKEY() = K_ESC");
  EXPECT_EQ(at("RELEASE WINDOW wOrder"), "\tRELEASE WINDOW wOrder");
  EXPECT_EQ(at("REPL order_no"), "\t\tREPL order_no WITH M.cOrderNo, line_no WITH RECNO(\"c_basket\"), ;");
  EXPECT_EQ(at("PROCEDURE OrderLines"), "PROCEDURE OrderLines");
  const int first = in_.Statements.front().FirstLine, last = in_.Statements.back().LastLine;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (i >= first && i <= last) continue;
    EXPECT_EQ(lines[i], orders_[i]) << "line " << i << " is outside the procedure";
  }
}

}  // namespace
}  // namespace vemlo
