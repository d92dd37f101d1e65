// Source preview: placement, procedures from the editor and from disk, statements.
#include <gtest/gtest.h>

#include "fox/views/preview.h"
#include "fox/model/project.h"
#include "host/editor_model.h"
#include "host/xxfar.h"
#include "lib/xxlib.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "shell/vemlo.h"

namespace vemlo {
namespace {

TEST(Preview, Placement) {
  // 30 lines with the cursor on row 19 of 25: the window would run off, max(4, 25 - 31).
  EXPECT_EQ(PreviewTop(19, 100, 129, 25), 4);
  // 3 lines with the cursor on row 5: just below the cursor line.
  EXPECT_EQ(PreviewTop(5, 10, 12, 25), 7);
  // The last placement that still fits below, and the first that does not.
  EXPECT_EQ(PreviewTop(10, 0, 10, 25), 12);  // 10 + 12 + 2 = 24
  EXPECT_EQ(PreviewTop(11, 0, 10, 25), 13);  // 11 + 12 + 2 = 25
  EXPECT_EQ(PreviewTop(12, 0, 10, 25), 13);  // 25 - 12
}

const char* kMain =
    "* main\r\n"
    "DO Helper\r\n"
    "x = 1 + ;\r\n"
    "  2\r\n"
    "PROCEDURE Local\r\n"
    "RETURN\r\n";

struct Project {
  test::PluginHost ph{kMain};
  Project() {
    ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\nLibSearchMask=>\\lib\\*.prg\r\n");
    ph.Tree().Write("lib/UTIL.PRG",
                    "* library\r\n"
                    "* Helper: does nothing\r\n"
                    "PROCEDURE Helper\r\n"
                    "PARAMETERS a\r\n"
                    "RETURN\r\n"
                    "PROCEDURE Other\r\n"
                    "RETURN\r\n");
    RefreshModel(false, true, false);
  }
  // The screen as each modal window waits for a key.
  std::vector<std::string> screens;
  void WatchScreens() {
    auto read = ph.Host().Ui().ReadInput;
    ph.Host().Ui().ReadInput = [this, read](INPUT_RECORD& rec) {
      screens.push_back(ph.Screen());
      return read(rec);
    };
  }
};

std::vector<std::string> Rows(const std::string& screen) {
  std::vector<std::string> rows;
  size_t from = 0, nl;
  while ((nl = screen.find('\n', from)) != std::string::npos) {
    rows.push_back(screen.substr(from, nl - from));
    from = nl + 1;
  }
  rows.push_back(screen.substr(from));
  return rows;
}

int RowOf(const std::vector<std::string>& rows, const std::string& text) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

TEST(Preview, ProcedureFromALibraryFileAndFromTheEditor) {
  Project p;
  p.WatchScreens();
  p.ph.Keys({"Esc"});
  EXPECT_TRUE(PreviewProc("HELPER"));
  auto viewers = p.ph.WindowsOf("viewer");
  ASSERT_EQ(viewers.size(), 1u);
  EXPECT_EQ(viewers[0].Title, ShortenPath(UpperCase(p.ph.Tree().Dos("lib/UTIL.PRG")), 35));
  // From the comment lines above the head to the procedure's end; with the cursor
  // on row 0 the window starts at row 4 (never higher), its title row first.
  ASSERT_FALSE(p.screens.empty());
  std::vector<std::string> rows = Rows(p.screens.back());
  EXPECT_EQ(RowOf(rows, "UTIL.PRG"), 4) << p.screens.back();
  EXPECT_EQ(RowOf(rows, "* library"), 5);
  EXPECT_EQ(RowOf(rows, "* Helper: does nothing"), 6);
  EXPECT_EQ(RowOf(rows, "PROCEDURE Helper"), 7);
  EXPECT_EQ(RowOf(rows, "PARAMETERS a"), 8);
  EXPECT_EQ(RowOf(rows, "PROCEDURE Other"), -1);
  EXPECT_EQ(p.ph.TempFiles(), 0);

  // A procedure of the edited file comes from the editor text; the cursor stays.
  p.ph.Keys({"Esc"});
  const EditorInfo before = FarEditorInfo();
  EXPECT_TRUE(PreviewProc("local"));
  rows = Rows(p.screens.back());
  EXPECT_GE(RowOf(rows, "PROCEDURE Local"), 0);
  EXPECT_EQ(RowOf(rows, "PROCEDURE Local") + 1, RowOf(rows, "RETURN"));
  const EditorInfo after = FarEditorInfo();
  EXPECT_EQ(after.CurLine, before.CurLine);
  EXPECT_EQ(after.CurPos, before.CurPos);
  EXPECT_EQ(after.TopScreenLine, before.TopScreenLine);
  EXPECT_EQ(p.ph.WindowsOf("viewer").size(), 2u);

  // Not a procedure (a FoxPro command word): false, nothing shown.
  EXPECT_FALSE(PreviewProc("REPLACE"));
  EXPECT_EQ(p.ph.WindowsOf("viewer").size(), 2u);
  EXPECT_EQ(p.ph.TempFiles(), 0);
}

TEST(Preview, ProcedureRangePastTheEndOfItsFile) {
  Project p;
  // The library shrinks after the project was read: the recorded range runs past the end.
  p.ph.Tree().Write("lib/UTIL.PRG", "* library\r\n");
  p.WatchScreens();
  p.ph.Keys({"Esc"});
  EXPECT_TRUE(PreviewProc("OTHER"));
  EXPECT_EQ(p.ph.TempFiles(), 0);
  // Lines 5-6 are gone from the file: the preview is empty, not an error.
  ASSERT_EQ(p.ph.WindowsOf("viewer").size(), 1u);
  ASSERT_FALSE(p.screens.empty());
  EXPECT_EQ(RowOf(Rows(p.screens.back()), "* library"), -1);
  EXPECT_EQ(RowOf(Rows(p.screens.back()), "UTIL.PRG"), 4);
  // The library is gone: nothing shown, still a procedure.
  std::remove(p.ph.Tree().Native("lib/UTIL.PRG").c_str());
  EXPECT_TRUE(PreviewProc("HELPER"));
  EXPECT_EQ(p.ph.TempFiles(), 0);
}

TEST(Preview, StatementTitledWithItsLines) {
  Project p;
  TxxInsight& insight = Insight();
  TxxFoxString st;
  st.FirstLine = 2;
  st.LastLine = 3;
  insight.Statements = {st};
  p.ph.Keys({"Esc"});
  PreviewStatement(0);
  PreviewStatement(5);  // no such statement
  auto viewers = p.ph.WindowsOf("viewer");
  ASSERT_EQ(viewers.size(), 1u);
  EXPECT_EQ(viewers[0].Title, "line 3..4");
  EXPECT_EQ(p.ph.TempFiles(), 0);
  st.FirstLine = 9;
  st.LastLine = 11;
  EXPECT_EQ("line " + std::to_string(st.FirstLine + 1) + ".." + std::to_string(st.LastLine + 1), "line 10..12");
}

}  // namespace
}  // namespace vemlo

namespace vemlo {
namespace {

// A program on disk that fails part way shows no viewer; the failure is told.
TEST(Preview, ReadErrorOfTheProgramIsToldAndNothingShown) {
  const std::string unreadable = "Z:\\proc\\self\\mem";
  {
    platform::InFile probe;
    if (!probe.Open(unreadable)) GTEST_SKIP() << "no /proc/self/mem";
  }
  test::PluginHost ph("x = 1\r\n");
  const auto toldErrors = [&ph, &unreadable] {
    int n = 0;
    for (const auto& w : ph.WindowsOf("message"))
      n += w.Lines == std::vector<std::string>{"A read error stopped the reading of the file", UpperCase(unreadable)};
    return n;
  };
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=" + unreadable + "\r\n");
  ph.Keys({"Enter"});  // the refresh tells the failed parse
  RefreshModel(false, true, false);
  ASSERT_EQ(toldErrors(), 1);
  ph.Keys({"Enter"});
  EXPECT_TRUE(PreviewProc("MEM"));  // the main entry of the program
  EXPECT_EQ(toldErrors(), 2);
  EXPECT_TRUE(ph.WindowsOf("viewer").empty());
  EXPECT_EQ(ph.TempFiles(), 0);
}

}  // namespace
}  // namespace vemlo
