#include <gtest/gtest.h>

#include "host_fixture.h"

namespace vemlo::sim {
namespace {

using test::HostFixture;

TEST(EditorCommands, GetStringSelectionOfStreamBlock) {
  HostFixture f;
  EditorWindow& ed = f.Open("zero\r\none\r\ntwo\r\nthree\r\nfour\r\n");
  ed.Block = EditorBlock{BTYPE_STREAM, 1, 2, 3, 3};
  int s, e;
  f.Sel(0, s, e);
  EXPECT_EQ(s, -1); EXPECT_EQ(e, -1);
  f.Sel(1, s, e);
  EXPECT_EQ(s, 2); EXPECT_EQ(e, -1);  // runs past the end of the line
  f.Sel(2, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, -1);
  f.Sel(3, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, 3);
  f.Sel(4, s, e);
  EXPECT_EQ(s, -1); EXPECT_EQ(e, -1);

  // Inside one line; and a block that ends at the start of a line reports it empty.
  ed.Block = EditorBlock{BTYPE_STREAM, 2, 1, 2, 2};
  f.Sel(2, s, e);
  EXPECT_EQ(s, 1); EXPECT_EQ(e, 2);
  ed.Block = EditorBlock{BTYPE_STREAM, 1, 0, 2, 0};
  f.Sel(2, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, 0);

  // The cursor line (-1) and the block fields of the editor information.
  ed.CurLine = 1;
  f.Sel(-1, s, e);
  EXPECT_EQ(s, 0); EXPECT_EQ(e, -1);
  EditorInfo info = f.Info();
  EXPECT_EQ(info.BlockType, BTYPE_STREAM);
  EXPECT_EQ(info.BlockStartLine, 1);
}

TEST(EditorCommands, GetStringSelectionOfColumnBlockWithTabs) {
  HostFixture f;
  EditorWindow& ed = f.Open("abcdefghij\n\tXYZ\nab\n");
  ed.Block = EditorBlock{BTYPE_COLUMN, 0, 2, 2, 9};  // screen columns 2..8
  int s, e;
  f.Sel(0, s, e);
  EXPECT_EQ(s, 2); EXPECT_EQ(e, 9);
  f.Sel(1, s, e);  // the tab covers columns 0..7: column 2 is in it, column 9 is 'Y'
  EXPECT_EQ(s, 0); EXPECT_EQ(e, 2);
  f.Sel(2, s, e);  // a short line still reports the block's columns
  EXPECT_EQ(s, 2); EXPECT_EQ(e, 9);
  f.Sel(3, s, e);
  EXPECT_EQ(s, -1); EXPECT_EQ(e, -1);
  EXPECT_EQ(f.Info().BlockType, BTYPE_COLUMN);
}

TEST(EditorCommands, GetStringTextEolAndRange) {
  HostFixture f;
  f.Open("first\r\nsecond\nlast");
  EditorGetString gs;
  gs.StringNumber = 0;
  ASSERT_EQ(f.Ctl(ECTL_GETSTRING, &gs), 1);
  EXPECT_EQ(std::string(gs.StringText, gs.StringLength), "first");
  EXPECT_STREQ(gs.StringEOL, "\r\n");
  gs.StringNumber = 1;
  f.Ctl(ECTL_GETSTRING, &gs);
  EXPECT_STREQ(gs.StringEOL, "\n");
  gs.StringNumber = 2;
  f.Ctl(ECTL_GETSTRING, &gs);
  EXPECT_STREQ(gs.StringText, "last");
  EXPECT_STREQ(gs.StringEOL, "");
  gs.StringNumber = 3;
  EXPECT_EQ(f.Ctl(ECTL_GETSTRING, &gs), 0);
  gs.StringNumber = -5;
  EXPECT_EQ(f.Ctl(ECTL_GETSTRING, &gs), 0);
  EXPECT_EQ(f.Ctl(ECTL_GETSTRING, nullptr), 0);
}

TEST(EditorCommands, InsertTextAtAndPastTheEnd) {
  HostFixture f;
  EditorWindow& ed = f.Open("abc\r\nxyz");
  ed.CurPos = 1;
  f.Ctl(ECTL_INSERTTEXT, const_cast<char*>("12"));
  EXPECT_EQ(f.Line(0), "a12bc");
  EXPECT_EQ(f.Info().CurPos, 3);
  // Past the end of the line the gap is filled with blanks.
  EditorSetPosition sp;
  sp.CurLine = 1;
  sp.CurPos = 6;
  f.Ctl(ECTL_SETPOSITION, &sp);
  f.Ctl(ECTL_INSERTTEXT, const_cast<char*>("!"));
  EXPECT_EQ(f.Line(1), "xyz   !");
  // A line break in the text starts a new line.
  ed.CurLine = 0;
  ed.CurPos = 5;
  f.Ctl(ECTL_INSERTTEXT, const_cast<char*>("+\n-"));
  EXPECT_EQ(f.Line(0), "a12bc+");
  EXPECT_EQ(f.Line(1), "-");
  EXPECT_EQ(f.Info().CurLine, 1);
  EXPECT_EQ(f.Info().CurPos, 1);
  EXPECT_TRUE(ed.Modified);
}

TEST(EditorCommands, InsertStringSplitsAtCursor) {
  HostFixture f;
  EditorWindow& ed = f.Open("  hello world\r\nend");
  ed.CurPos = 8;
  f.Ctl(ECTL_INSERTSTRING, nullptr);
  EXPECT_EQ(f.Line(0), "  hello ");
  EXPECT_EQ(f.Line(1), "world");
  EditorInfo info = f.Info();
  EXPECT_EQ(info.CurLine, 1);
  EXPECT_EQ(info.CurPos, 0);
  EXPECT_EQ(info.TotalLines, 3);
  // With the indent flag the new line takes the indent of the line above.
  ed.CurLine = 0;
  ed.CurPos = 7;
  int indent = 1;
  f.Ctl(ECTL_INSERTSTRING, &indent);
  EXPECT_EQ(f.Line(0), "  hello");
  EXPECT_EQ(f.Line(1), "   ");
  EXPECT_EQ(f.Info().CurPos, 2);
  // Splitting the last line keeps it the one without a line end.
  ed.CurLine = 3;
  ed.CurPos = 10;
  f.Ctl(ECTL_INSERTSTRING, nullptr);
  EXPECT_EQ(EditorText(ed), "  hello\r\n   \r\nworld\r\nend\r\n");
}

TEST(EditorCommands, SetStringDeleteCharDeleteString) {
  HostFixture f;
  EditorWindow& ed = f.Open("one\r\ntwo\r\nthree");
  EditorSetString ss;
  ss.StringNumber = 1;
  ss.StringText = "TWO and more";
  ss.StringLength = 3;
  ASSERT_EQ(f.Ctl(ECTL_SETSTRING, &ss), 1);
  EXPECT_EQ(f.Line(1), "TWO");
  ss.StringNumber = 9;
  EXPECT_EQ(f.Ctl(ECTL_SETSTRING, &ss), 0);
  // Del at the end of a line joins the next one.
  ed.CurLine = 0;
  ed.CurPos = 3;
  f.Ctl(ECTL_DELETECHAR, nullptr);
  EXPECT_EQ(f.Line(0), "oneTWO");
  ed.CurPos = 0;
  f.Ctl(ECTL_DELETECHAR, nullptr);
  EXPECT_EQ(f.Line(0), "neTWO");
  f.Ctl(ECTL_DELETESTRING, nullptr);
  EXPECT_EQ(EditorText(ed), "three");
  f.Ctl(ECTL_DELETESTRING, nullptr);
  EXPECT_EQ(f.Info().TotalLines, 1);
  EXPECT_EQ(f.Line(0), "");
}

TEST(EditorCommands, SetPositionKeepsClampsAndFollows) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\n";
  HostFixture f;
  f.Open(text);  // 101 lines, 23 text rows
  EditorInfo info = f.Info();
  EXPECT_EQ(info.WindowSizeX, 80);
  EXPECT_EQ(info.WindowSizeY, 23);
  EXPECT_EQ(info.TotalLines, 101);

  EditorSetPosition sp;
  sp.CurLine = 50;
  sp.CurPos = 2;
  f.Ctl(ECTL_SETPOSITION, &sp);
  info = f.Info();
  EXPECT_EQ(info.CurLine, 50);
  EXPECT_EQ(info.TopScreenLine, 50 - 22);  // the view followed the cursor down

  EditorSetPosition keep;  // every field -1: nothing changes
  f.Ctl(ECTL_SETPOSITION, &keep);
  EXPECT_EQ(f.Info().CurLine, 50);
  EXPECT_EQ(f.Info().CurPos, 2);

  sp = EditorSetPosition{};
  sp.CurLine = 500;
  sp.TopScreenLine = 900;
  sp.LeftPos = -7;  // not -1: clamped to 0
  f.Ctl(ECTL_SETPOSITION, &sp);
  info = f.Info();
  EXPECT_EQ(info.CurLine, 100);
  EXPECT_EQ(info.TopScreenLine, 100);
  EXPECT_EQ(info.LeftPos, 0);

  sp = EditorSetPosition{};
  sp.CurLine = 10;
  sp.TopScreenLine = 8;
  sp.CurPos = 200;  // past the end of the line is allowed
  f.Ctl(ECTL_SETPOSITION, &sp);
  info = f.Info();
  EXPECT_EQ(info.TopScreenLine, 8);
  EXPECT_EQ(info.CurPos, 200);
  EXPECT_EQ(info.LeftPos, 200 - 79);  // horizontally the view follows too

  sp = EditorSetPosition{};
  sp.CurPos = 0;
  sp.Overtype = 1;
  f.Ctl(ECTL_SETPOSITION, &sp);
  EXPECT_EQ(f.Info().LeftPos, 0);
  EXPECT_EQ(f.Info().Overtype, 1);
}

TEST(EditorCommands, TabConversions) {
  HostFixture f;
  EditorWindow& ed = f.Open("\tab\tc\nplain");
  EditorConvertPos cp;
  cp.StringNumber = 0;
  int expected[] = {0, 8, 9, 10, 16, 17, 18};  // positions 0..6 (6 is past the end)
  for (int pos = 0; pos <= 6; ++pos) {
    cp.SrcPos = pos;
    ASSERT_EQ(f.Ctl(ECTL_REALTOTAB, &cp), 1);
    EXPECT_EQ(cp.DestPos, expected[pos]) << pos;
  }
  cp.SrcPos = 5;  // inside the first tab
  f.Ctl(ECTL_TABTOREAL, &cp);
  EXPECT_EQ(cp.DestPos, 0);
  cp.SrcPos = 12;  // inside the second tab
  f.Ctl(ECTL_TABTOREAL, &cp);
  EXPECT_EQ(cp.DestPos, 3);
  cp.SrcPos = 20;  // three columns past the 'c' at 16
  f.Ctl(ECTL_TABTOREAL, &cp);
  EXPECT_EQ(cp.DestPos, 8);
  // -1 is the cursor line; a line beyond the text is refused.
  ed.CurLine = 1;
  cp.StringNumber = -1;
  cp.SrcPos = 3;
  f.Ctl(ECTL_REALTOTAB, &cp);
  EXPECT_EQ(cp.DestPos, 3);
  cp.StringNumber = 2;
  EXPECT_EQ(f.Ctl(ECTL_REALTOTAB, &cp), 0);
  ed.CurLine = 0;
  ed.CurPos = 3;
  EXPECT_EQ(f.Info().CurTabPos, 10);
  int line = 0;
  f.Ctl(ECTL_EXPANDTABS, &line);
  EXPECT_EQ(f.Line(0), "        ab      c");
  EXPECT_EQ(f.Info().CurPos, 10);  // the cursor stays on the same character
}

TEST(EditorCommands, BookmarksUnsetSetAndFollowLines) {
  HostFixture f;
  EditorWindow& ed = f.Open("a\nb\nc\nd\ne\n");
  EditorInfo info = f.Info();
  ASSERT_EQ(info.BookMarkCount, 10);
  long lines[10], cols[10], rows[10], lefts[10];
  EditorBookMarks bm{lines, cols, rows, lefts};
  ASSERT_EQ(f.Ctl(ECTL_GETBOOKMARKS, &bm), 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(lines[i], -1) << i;

  ed.CurLine = 3;
  ed.CurPos = 1;
  SetBookmark(ed, 2);
  f.Ctl(ECTL_GETBOOKMARKS, &bm);
  EXPECT_EQ(lines[2], 3);
  EXPECT_EQ(cols[2], 1);
  EXPECT_EQ(rows[2], 3);
  EXPECT_EQ(lefts[2], 0);
  EXPECT_EQ(lines[1], -1);

  // A line inserted above moves the bookmark with its line.
  ed.CurLine = 0;
  ed.CurPos = 0;
  f.Ctl(ECTL_INSERTSTRING, nullptr);
  f.Ctl(ECTL_GETBOOKMARKS, &bm);
  EXPECT_EQ(lines[2], 4);
  // Only the arrays asked for are filled.
  EditorBookMarks onlyLines{lines, nullptr, nullptr, nullptr};
  EXPECT_EQ(f.Ctl(ECTL_GETBOOKMARKS, &onlyLines), 1);
}

TEST(EditorCommands, KeyBarTitleAndUnknownCommands) {
  HostFixture f;
  f.Open("text\n");
  KeyBarTitles titles;
  char help[] = "Help!", stop[] = "Stop";
  titles.Titles[0] = help;
  titles.Titles[9] = stop;
  ASSERT_EQ(f.Ctl(ECTL_SETKEYBAR, &titles), 1);
  EXPECT_NE(f.Row(24).find("1Help!"), std::string::npos);
  EXPECT_NE(f.Row(24).find("10Stop"), std::string::npos);
  EXPECT_EQ(f.Row(24).find("Save"), std::string::npos);
  f.Ctl(ECTL_SETKEYBAR, reinterpret_cast<void*>(-1));
  EXPECT_NE(f.Row(24).find("2Save"), std::string::npos);
  f.Ctl(ECTL_SETKEYBAR, &titles);
  f.Ctl(ECTL_SETKEYBAR, nullptr);
  EXPECT_NE(f.Row(24).find("10Quit"), std::string::npos);

  f.Ctl(ECTL_SETTITLE, const_cast<char*>("My title"));
  f.Ctl(ECTL_REDRAW, nullptr);
  EXPECT_EQ(f.Row(0).find(" My title"), 0u);
  EXPECT_EQ(f.Ctl(ECTL_SELECT, nullptr), 0);
  EXPECT_EQ(f.Ctl(999, nullptr), 0);
  EXPECT_EQ(f.Ctl(ECTL_GETINFO, nullptr), 0);
}

TEST(EditorCommands, InfoFileNameAndNoEditor) {
  HostFixture f;
  f.Open("x", 100, 30, "Sub/Prog.prg");
  EditorInfo info = f.Info();
  EXPECT_EQ(std::string(info.FileName), f.Tree.Dos("Sub/Prog.prg"));
  EXPECT_EQ(info.WindowSizeX, 100);
  EXPECT_EQ(info.WindowSizeY, 28);
  EXPECT_EQ(info.TabSize, 8);
  EXPECT_GT(info.EditorID, 0);

  SimHost bare;
  EditorInfo none;
  EXPECT_EQ(bare.EditorControl(ECTL_GETINFO, &none), 0);
}

}  // namespace
}  // namespace vemlo::sim
