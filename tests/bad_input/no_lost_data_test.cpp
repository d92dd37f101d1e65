// Every command run through to its end on the intact demo project (choices
// taken, previews and help topics opened, texts inserted): the project, the
// module folder and the options file are byte for byte what they were, and
// only temporary files were made, all of them removed again.
#include <gtest/gtest.h>

#include "demo_session.h"

namespace vemlo::test {
namespace {

struct DeepRun {
  const char* Name;
  const char* Keys;
  const char* Shows;     // a text the run shows (screens, windows) when the command did its work
  const char* Adds = "";  // a text the command puts into the edited text once more
  bool Changes = false;   // the command changes the edited text
};

const DeepRun kRuns[] = {
    {"completion", "goto 47 0\nCtrl+Space\ndump screen\nF3\nEsc\nEnter\n", "#defines"},
    {"completion-whole-file", "goto 47 0\nCtrl+Alt+Space\ndump screen\nEnd\nEnter\n", "#defines"},
    {"completion-table-fields", "goto 47 0\ntype article.\ndump screen\nF3\nEsc\nEnter\n", "PRICE"},
    {"completion-dictionary-fields", "goto 47 0\ntype ordhist.\ndump screen\nF3\nEsc\nDown\nEnter\n", "CUST_ID"},
    {"hint-procedure", "goto 86 22\nCtrl+Shift+Space\ndump screen\n", "cQuestion"},
    {"hint-function", "goto 71 25\nCtrl+Shift+Space\ndump screen\ntype x,\ndump screen\n", "<expN2>"},
    {"f1-procedure", "goto 94 10\nF1\ndump screen\nEsc\n", "PROCEDURE CloseDay"},
    {"f1-help", "goto 71 22\nF1\nEnter\nTab\nEnter\nBS\nEsc\nEsc\n", "help: "},
    {"f1-choose-base", "goto 71 22\nShift+F1\nEnter\nEnter\nEsc\n", "help: "},
    {"procedure-list", "goto 82 0\nCtrl+Shift+Up\nDown\nEnter\n", "menu: Procedures"},
    {"structure-review", "goto 82 0\nCtrl+Shift+Down\nGray+\nDown\nEnter\n", "menu: "},
    {"table-structure", "F11\ns\nEnter\ndump screen\nEsc\n", "CUST_ID"},
    {"formatter", "goto 225 0\nF11\ns\nEnd\nEnter\nEnter\n", "Indent the procedure", "", true},
    {"formatter-line-by-line", "goto 225 0\nF11\ns\nEnd\nEnter\nRight\nEnter\nEnter\nEnter\nEsc\n",
     "Indent the procedure"},
    {"alias-info", "goto 148 14\nF11\nd\nF\nEsc\nDown\nEnter\nEsc\nEnd\nEnter\nEsc\n", "Customer number"},
    {"procedure-report", "F11\nr\nEnter\ndump screen\nEsc\n", "---------------------"},
    {"dictionary-report", "F11\nr\nDown\nEnter\ndump screen\nEsc\n", "indexes"},
    {"audit-defines", "goto 22 0\nF11\ns\nDown\nEnter\nDown\nEnter\nSpace\nSpace\nEnter\n", "menu: ",
     "#DEFINE AUD_ORD_"},
    {"audit-call", "goto 22 0\nF11\ns\nDown\nDown\nEnter\nDown\nEnter\n", "menu: ", "DO AuditWrite WITH AUD_"},
    {"project-information", "F11\nn\n", "KDF_FIELDS.DBF"},
    {"insert-key", "F11\ni\nEnter\nEnter\nF11\ni\nDown\nEnter\nEnter\n", "menu: ", "28 &&--- F1"},
    {"comment-block", "select 46 0 48 0\nF11\nc\nEnter\n", "input: ", "*** "},
    {"options-cancelled", "Alt+Shift+F9\nEnter\nEsc\nEsc\n", "dialog: "},
    {"ruler", "LCtrl+RCtrl+Space\nRight\ndump screen\nEsc\n", "--- screen"},
};

// The output without the text dumps, so that what the edited text already
// holds does not count as shown.
std::string Visible(std::string out) {
  for (size_t at; (at = out.find("--- text\n")) != std::string::npos;) {
    size_t end = out.find("--- end\n", at);
    out.erase(at, end == std::string::npos ? std::string::npos : end + 8 - at);
  }
  return out;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(NoLostData, NoCommandWritesAnyFileButItsTemporaryOnes) {
  DemoProject project;
  const TreeSnapshot before = SnapshotTree(project.tree.Root);
  const DemoRun baseline = project.Run("");
  ASSERT_TRUE(baseline.Parsed) << baseline.Process.Output.substr(0, 2000);
  for (const DeepRun& r : kRuns) {
    SCOPED_TRACE(r.Name);
    const DemoRun run = project.Run(r.Keys);
    EXPECT_EQ(run.Process.Status, 0) << run.Process.Output.substr(0, 3000);
    EXPECT_FALSE(HasSanitizerReport(run.Process.Output)) << run.Process.Output.substr(0, 4000);
    EXPECT_NE(Visible(run.Process.Output).find(r.Shows), std::string::npos)
        << "the command did not do its work:\n" << Visible(run.Process.Output).substr(0, 6000);
    if (r.Changes) {
      EXPECT_NE(run.FinalText, baseline.FinalText);
    }
    if (*r.Adds) {
      EXPECT_GT(Count(run.FinalText, r.Adds), Count(baseline.FinalText, r.Adds)) << run.FinalText.substr(0, 3000);
    }
    EXPECT_TRUE(run.Changed.empty()) << run.Changed.front();
    EXPECT_EQ(run.TempFilesLeft, 0);
  }
  // Nothing accumulated over the runs either (and the edited file was never saved).
  const std::vector<std::string> changed = TreeDifferences(before, SnapshotTree(project.tree.Root));
  EXPECT_TRUE(changed.empty()) << changed.front();
}

}  // namespace
}  // namespace vemlo::test
