// The same answers as the plug-in: at positions of the demo's src\ORDERS.PRG
// the server's completion names are the plug-in's candidates (computed as
// its completion command computes them, through the replacement host), and
// formatting the document gives the text the plug-in's formatter leaves when
// run over every procedure.
#include <gtest/gtest.h>

#include "demo_copy.h"
#include "fox/insight/completion.h"
#include "fox/views/formatter_run.h"
#include "host/editor_model.h"
#include "host/reader_reports.h"
#include "host/settings_file.h"
#include "host/xxfar.h"
#include "lib/codepage.h"
#include "lsp_session.h"
#include "plugin_host.h"

namespace vemlo::lsp {
namespace {

std::string Utf8Of(const std::string& oem) {
  return codepage::ToUtf8(codepage::DecodeBytes(oem, codepage::CodePage::Oem866));
}

class PluginAnswers : public ::testing::Test {
 protected:
  void SetUp() override {
    orders_ = test::ReadFile(std::string(VEMLO_BINARY_DIR) + "/demo/src/ORDERS.PRG");
    ASSERT_FALSE(orders_.empty()) << "the demo project is not built";
    host_ = std::make_unique<vemlo::test::PluginHost>(orders_, "demo/src/ORDERS.PRG");
    vemlo::test::CopyTree(std::string(VEMLO_BINARY_DIR) + "/demo", host_->Tree().Native("demo"));
    lines_ = SplitLines(orders_);
    path_ = host_->Tree().Native("demo/src/ORDERS.PRG");
    uri_ = lsp_.Open(path_);
  }

  // The first line holding mark, the column after cut of its characters.
  std::pair<int, int> Mark(const std::string& mark, size_t cut) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
      const size_t at = lines_[i].find(mark);
      if (at != std::string::npos) return {static_cast<int>(i), static_cast<int>(at + std::min(cut, mark.size()))};
    }
    ADD_FAILURE() << "no line holds " << mark;
    return {0, 0};
  }

  std::vector<std::string> PluginNames(int line, int col) {
    FarGotoLine(line, -1, -1, col, false);
    RefreshModel(false, false, false);
    FindInsightWord();
    std::vector<std::string> names;
    TxxInsight& in = Insight();
    if (!CollectCandidates(in, FoxProj(), IniFile(), LoadDBF)) return names;
    for (const TxxSymbToComplete& c : in.Candidates)
      if (c.Kind != skHeader && !c.Name.empty() && MatchesPrefix(c.Name, in.Prefix))  // the rows its list shows
        names.push_back(Utf8Of(c.Name));
    in.Candidates.clear();
    return names;
  }

  std::vector<std::string> ServerNames(int line, int col) {
    std::vector<std::string> names;
    const json result = lsp_.Call("textDocument/completion", test::LspSession::At(uri_, line, col));
    for (const json& item : result["items"]) names.push_back(item["label"]);
    return names;
  }

  std::string orders_, path_, uri_;
  std::vector<std::string> lines_;
  std::unique_ptr<vemlo::test::PluginHost> host_;
  test::LspSession lsp_;
};

TEST_F(PluginAnswers, CompletionNamesAtPositionsOfTheDemo) {
  const struct {
    const char* Mark;
    size_t Cut;
  } places[] = {
      {"NextOrderNo()", 5},                 // a procedure name being typed
      {"M.cOrderNo = NextOrderNo()", 2},    // after M.: the variables and options
      {"art_no WITH c_basket.art_no", 21},  // the fields of a cursor
      {"RELEASE WINDOW wOrder", 0},         // the start of a statement
      {"PROCEDURE CancelOrder", 10},        // another procedure
  };
  for (const auto& p : places) {
    const auto [line, col] = Mark(p.Mark, p.Cut);
    const std::vector<std::string> plugin = PluginNames(line, col);
    EXPECT_FALSE(plugin.empty()) << p.Mark;
    EXPECT_EQ(ServerNames(line, col), plugin) << p.Mark << " at " << line << ":" << col;
  }
}

TEST_F(PluginAnswers, FormattingTheDocumentGivesThePluginFormattersText) {
  // The plug-in formats the procedure at the cursor: every procedure in turn.
  RefreshModel(false, false, false);
  const TxxFoxProcArr procs = FoxProj().Progs[static_cast<size_t>(Insight().ProgIndex)].Procs;
  ASSERT_GT(procs.size(), 3u);
  for (const TxxFoxProc& proc : procs) {
    FarGotoLine(std::max(0, proc.DeclLine), -1, -1, 0, false);
    RefreshModel(false, false, false);
    RunFormatter(false);
  }
  const std::string plugin = Utf8Of(host_->Text());
  ASSERT_NE(plugin, Utf8Of(orders_).substr(0, plugin.size())) << "the plug-in's formatter changed nothing";
  const json edits = lsp_.Call("textDocument/formatting",
                               {{"textDocument", {{"uri", uri_}}}, {"options", {{"tabSize", 8}, {"insertSpaces", false}}}});
  ASSERT_TRUE(edits.is_array());
  EXPECT_FALSE(edits.empty());  // the demo is not laid out as the formatter lays it out
  std::string server = test::ApplyEdits(Utf8Of(orders_), edits);
  std::string want = plugin;
  while (!want.empty() && want.back() == '\n') want.pop_back();
  while (!server.empty() && server.back() == '\n') server.pop_back();
  EXPECT_EQ(server, want);
  EXPECT_EQ(test::ReadFile(path_), orders_) << "the server wrote the file";
}

}  // namespace
}  // namespace vemlo::lsp
