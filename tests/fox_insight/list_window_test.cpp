// The completion list window: sizes, placement, rows, filtering and moves.
#include <gtest/gtest.h>

#include "host/editor_model.h"
#include "host/settings_file.h"
#include "plugin_host.h"
#include "script.h"
#include "input.h"
#include <functional>
#include <memory>
#include "fox/insight/completion.h"
#include "fox/views/list_window.h"
#include "fox/model/project.h"
#include "host/xxfar.h"

namespace vemlo {
namespace {

TEST(SizeOption, NumbersPercentagesFallbacksAndTheTotal) {
  EXPECT_EQ(SizeOption("abc", "40%", 25), 10);   // not a number: the fallback
  EXPECT_EQ(SizeOption("200", "40%", 25), 25);   // cut to the total
  EXPECT_EQ(SizeOption("1", "40%", 25), 1);      // raised to 3 by the caller
  EXPECT_EQ(SizeOption(" 50% ", "40%", 25), 12);
  EXPECT_EQ(SizeOption("50 %", "", 25), 12);     // blanks before the sign are trimmed
  EXPECT_EQ(SizeOption("", "45", 80), 45);
  EXPECT_EQ(SizeOption("", " ", 80), 0);
  EXPECT_EQ(SizeOption("x", "y", 80), 0);        // a bad fallback has no fallback
  EXPECT_EQ(SizeOption("-4", "45", 80), -4);
  EXPECT_EQ(SizeOption("300%", "", 80), 80);
}

TEST(PlaceInsightList, BelowAboveAndSqueezed) {
  TxxInsightList l;
  // Below: 40% of 25 is 10 rows, starting one row under the cursor's screen row.
  PlaceInsightList(l, 80, 25, 5, 10, "", "", "");
  EXPECT_EQ(l.Height, 10);
  EXPECT_EQ(l.ListTop, 7);
  EXPECT_EQ(l.Width, 45);
  EXPECT_EQ(l.NameWidth, 15);
  EXPECT_EQ(l.ListLeft, 9);
  // The size examples.
  PlaceInsightList(l, 80, 25, 0, 0, "1", "2", "99");
  EXPECT_EQ(l.Height, 3);
  EXPECT_EQ(l.Width, 6);
  EXPECT_EQ(l.NameWidth, 6);
  EXPECT_EQ(l.ListLeft, 0);
  PlaceInsightList(l, 80, 25, 0, 0, "50%", "", "");
  EXPECT_EQ(l.Height, 12);
  PlaceInsightList(l, 80, 25, 0, 0, "200", "", "");
  EXPECT_EQ(l.Height, 24);  // the whole window below the cursor row
  // Below but shortened to the window's bottom: the upper two thirds.
  PlaceInsightList(l, 80, 25, 15, 0, "", "", "");
  EXPECT_EQ(l.ListTop, 17);
  EXPECT_EQ(l.Height, 9);
  EXPECT_EQ(l.ListTop + l.Height - 1, 25);
  // Above: the last row is r - 1.
  PlaceInsightList(l, 80, 25, 20, 0, "", "", "");
  EXPECT_EQ(l.ListTop, 10);
  EXPECT_EQ(l.ListTop + l.Height - 1, 19);
  // Squeezed between the top and the cursor.
  PlaceInsightList(l, 80, 25, 18, 0, "20", "", "");
  EXPECT_EQ(l.ListTop, 1);
  EXPECT_EQ(l.Height, 17);
  // Near the right edge the list moves left.
  PlaceInsightList(l, 80, 25, 0, 79, "", "", "");
  EXPECT_EQ(l.ListLeft, 80 - 45 - 1);
}

TxxSymbToComplete H(const std::string& t) { return {t, "", 0, skHeader, 0}; }
TxxSymbToComplete I(const std::string& n, const std::string& d = "") { return {n, d, 0, skElement, 0}; }

TEST(InsightList, RowTextsOfItemsHeadersAndBlanks) {
  TxxSymbToCompleteArr rows = {H("var"), I("cName", "PRIVATE cName"), {"", "", 0, skNone, 0}};
  TxxInsightList l;
  l.Rows = &rows;
  l.Width = 20;
  l.NameWidth = 6;
  l.Height = 5;
  FilterInsightList(l, "");
  EXPECT_EQ(InsightRowText(l, 0, 0), std::string(7, '\xC4') + "\xC5" + std::string(12, '\xC4'));
  EXPECT_EQ(InsightRowText(l, 1, 0), " cName \xB3PRIVATE cNam");
  EXPECT_EQ(InsightRowText(l, 1, 3), " cName \xB3VATE cName  ");
  EXPECT_EQ(InsightRowText(l, 2, 0), "       \xB3            ");  // no name: blank
  EXPECT_EQ(InsightRowText(l, 9, 0), "       \xB3            ");  // past the end
  EXPECT_EQ(l.Sel, 1);
  // Scrolling: steps of two, up to length + N - W + 4.
  ListScrollRight(l);
  EXPECT_EQ(l.HScroll, 2);
  for (int k = 0; k < 5; ++k) ListScrollRight(l);
  EXPECT_EQ(l.HScroll, 13 + 6 - 20 + 4);
  ListScrollLeft(l);
  EXPECT_EQ(l.HScroll, 1);
  ListScrollLeft(l);
  EXPECT_EQ(l.HScroll, 0);
}

TEST(InsightList, FilteringKeepsHeadersAndComparesUpperCase) {
  TxxSymbToCompleteArr rows = {H("a"), I("abc"), I("ABD"), I("x"), H("b"), I("ab")};
  TxxInsightList l;
  l.Rows = &rows;
  l.Height = 4;
  FilterInsightList(l, "aB");
  EXPECT_EQ(l.V, (std::vector<int>{0, 1, 2, 4, 5}));
  EXPECT_EQ(l.Sel, 1);
  FilterInsightList(l, "abc ");  // padding the name with blanks never matches a longer prefix
  EXPECT_EQ(l.V, (std::vector<int>{0, 1, 4}));
  FilterInsightList(l, "q");
  EXPECT_EQ(l.V, (std::vector<int>{0, 4}));
  EXPECT_EQ(l.Sel, -1);  // only headers: nothing selected, and moves do nothing
  ListNextItem(l);
  ListLastItem(l);
  EXPECT_EQ(l.Sel, -1);
}

TEST(InsightList, MovesOverItemsPagesAndGroups) {
  // 0 H, 1..5 items, 6 H, 7..8 items, 9 H (empty group), 10 H, 11 item
  TxxSymbToCompleteArr rows = {H("g1"), I("a"), I("b"), I("c"), I("d"), I("e"), H("g2"),
                               I("f"),  I("g"), H("g3"), H("g4"), I("h")};
  TxxInsightList l;
  l.Rows = &rows;
  l.Height = 4;
  FilterInsightList(l, "");
  EXPECT_EQ(l.Sel, 1);
  ListPrevItem(l);  // before the first item: stays on the first
  EXPECT_EQ(l.Sel, 1);
  ListNextItem(l);
  ListNextItem(l);
  ListNextItem(l);
  ListNextItem(l);
  EXPECT_EQ(l.Sel, 5);
  EXPECT_EQ(l.Top, 2);
  ListNextItem(l);  // over the header
  EXPECT_EQ(l.Sel, 7);
  EXPECT_EQ(l.Top, 4);
  ListPrevItem(l);
  EXPECT_EQ(l.Sel, 5);
  EXPECT_EQ(l.Top, 4);
  ListPrevItem(l);
  EXPECT_EQ(l.Top, 4);
  EXPECT_EQ(l.Sel, 4);
  // Group down: the first item of the next group; empty groups are passed.
  ListGroupDown(l);
  EXPECT_EQ(l.Sel, 7);
  EXPECT_EQ(l.Top, 5);
  ListGroupDown(l);
  EXPECT_EQ(l.Sel, 11);
  ListGroupDown(l);  // no further group: the last item
  EXPECT_EQ(l.Sel, 11);
  // Group up: to the first item of the group, then of the group before.
  ListGroupUp(l);
  EXPECT_EQ(l.Sel, 7);
  ListNextItem(l);
  ListGroupUp(l);
  EXPECT_EQ(l.Sel, 7);
  ListGroupUp(l);
  EXPECT_EQ(l.Sel, 1);
  EXPECT_EQ(l.Top, 0);
  // Pages.
  ListPageDown(l);  // to Top + h - 2, then the next item
  EXPECT_EQ(l.Sel, 3);
  ListPageDown(l);
  EXPECT_EQ(l.Sel, 6 - 0 + 1);  // from 3: 3 + 2 = 5, Top 3, next item is 7
  EXPECT_EQ(l.Sel, 7);
  ListPageUp(l);
  EXPECT_GE(l.Sel, 1);
  EXPECT_LE(l.Top, l.Sel);
  ListLastItem(l);
  EXPECT_EQ(l.Sel, 11);
  EXPECT_EQ(l.Top, 9);
  ListFirstItem(l);
  EXPECT_EQ(l.Sel, 1);
  EXPECT_EQ(l.Top, 0);
}

const char* const kText =
    "PROCEDURE Main\r\n"
    "M.cAlpha = 1\r\n"
    "M.cBeta = 2\r\n"
    "x = M.\r\n"
    "M.cGamma = 3\r\n";

// Serves key names one by one and runs `look` when the key numbered `at` is due.
struct Watched {
  std::vector<std::string> Keys;
  size_t At = 0;
  std::function<void()> Look;
};

void Feed(test::PluginHost& ph, Watched w) {
  auto next = std::make_shared<size_t>(0);
  ph.Host().SetInput(std::make_unique<sim::FunctionInput>([w, next](INPUT_RECORD& rec) {
    if (*next >= w.Keys.size()) return false;
    if (*next == w.At && w.Look) w.Look();
    auto key = sim::ParseKeyName(w.Keys[(*next)++]);
    if (!key) return false;
    rec = INPUT_RECORD{};
    rec.EventType = KEY_EVENT;
    rec.KeyEvent = *key;
    return true;
  }));
}

TEST(ShowInsightList, ColoursKeyBarTypingAndClosing) {
  test::PluginHost ph(kText);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
  FarGotoLine(3, -1, -1, 6, false);
  RefreshModel(false, false, false);
  FindInsightWord();
  TxxInsight& in = Insight();
  ASSERT_TRUE(CollectCandidates(in, FoxProj(), IniFile()));
  // Cursor row 3: the list starts at row 5, column 5; cBeta selected after one Down.
  std::vector<std::string> rows;
  std::vector<int> attrs;
  Feed(ph, {{"Down", "Esc"}, 1, [&] {
              for (int y = 5; y <= 9; ++y) rows.push_back(ph.Row(y));
              rows.push_back(ph.Row(ph.Host().Screen().Height() - 1));
              auto& s = ph.Host().Screen();
              attrs = {s.At(5, 5).Attr, s.At(47, 5).Attr, s.At(6, 6).Attr, s.At(6, 7).Attr, s.At(6, 8).Attr};
            }});
  EXPECT_EQ(ShowInsightList(in.Candidates), "");
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], "     ────────────────┼────────────────────────var─");
  EXPECT_EQ(rows[1], "      cAlpha         │= 1");
  EXPECT_EQ(rows[3], "      cGamma         │= 3");
  EXPECT_EQ(rows[4], std::string(21, ' ') + "│");  // blank rows to the list's height
  EXPECT_NE(rows[5].find("1Help"), std::string::npos);
  EXPECT_NE(rows[5].find("3View"), std::string::npos);
  EXPECT_EQ(rows[5].find("Save"), std::string::npos);
  // Header line, title, item, selected, later.
  EXPECT_EQ(attrs, (std::vector<int>{0x30, 0x3F, 0x30, 0x0F, 0x38}));
  EXPECT_EQ(ph.Row(6).find("cAlpha"), std::string::npos);  // the editor painted over the list
  EXPECT_NE(ph.Row(ph.Host().Screen().Height() - 1).find("Save"), std::string::npos);

  // Typing keeps the list, filtered; Enter returns the selected name.
  // (the filter ignores case; the typed letters stay as typed)
  Feed(ph, {{"c", "g", "Enter"}, 99, nullptr});
  EXPECT_EQ(ShowInsightList(in.Candidates), "cGamma");
  EXPECT_EQ(in.Prefix, "cg");
  std::string line;
  FarGetLine(3, line);
  EXPECT_EQ(line, "x = M.cg");

  // A separator closes the list with no result and stays in the text.
  FarSetString(3, "x = M.");
  FarGotoLine(3, -1, -1, 6, false);
  FindInsightWord();
  Feed(ph, {{"c", "Space", "Enter"}, 99, nullptr});
  EXPECT_EQ(ShowInsightList(in.Candidates), "");
  FarGetLine(3, line);
  EXPECT_EQ(line, "x = M.c ");

  // Another line closes it too; F4 on a variable jumps to its statement.
  FarGotoLine(3, -1, -1, 6, false);
  FindInsightWord();
  Feed(ph, {{"Down", "F4", "Enter"}, 99, nullptr});
  EXPECT_EQ(ShowInsightList(in.Candidates), "");
  EXPECT_EQ(FarEditorInfo().CurLine, 2);
}

}  // namespace
}  // namespace vemlo
