// Parameter hints: the open calls before the cursor, wrapping and highlighting.
#include <gtest/gtest.h>

#include "host/editor_model.h"
#include "input.h"
#include "plugin_host.h"
#include "script.h"
#include <memory>
#include "fox/views/param_hint.h"
#include "fox/model/project.h"
#include "host/xxfar.h"

namespace vemlo {
namespace {

std::string Calls(const std::string& text) {
  std::string out;
  for (const TxxParam& p : OpenCallsIn(text)) out += p.Name + ":" + std::to_string(p.ParamNo) + " ";
  return out;
}

TEST(OpenCalls, CallsCommasStringsCommentsAndMembers) {
  EXPECT_EQ(Calls("DO proc WITH a, "), "proc:2 ");
  EXPECT_EQ(Calls("DO proc with"), "proc:1 ");
  EXPECT_EQ(Calls("x = foo(a, bar(1, 2), c"), "foo:3 ");
  EXPECT_EQ(Calls("x = foo(a, bar(1, "), "foo:2 bar:2 ");
  EXPECT_EQ(Calls("x = foo (a"), "foo:1 ");              // blanks before the parenthesis
  EXPECT_EQ(Calls("x = foo(\"a,(b\", 'c)', [d,e"), "foo:3 ");  // quotes hide commas and parentheses
  EXPECT_EQ(Calls("x = foo(a) && bar(b"), "");           // a comment: nothing
  EXPECT_EQ(Calls("x = obj.method(a"), "");              // a member is no call
  EXPECT_EQ(Calls("x = M.fn(a"), "");
  EXPECT_EQ(Calls("IF (a"), "IF:1 ");                    // keywords count as calls
  EXPECT_EQ(Calls("x = foo(a))"), "");                   // a stray ")" on an empty stack
  EXPECT_EQ(Calls("foo"), "");
  EXPECT_EQ(Calls("foo   "), "");                        // the text ends after the name
}

TEST(OpenCalls, ThisDotMethodIsACallOfTheClassAtTheCursor) {
  EXPECT_EQ(Calls("x = THIS.Helper(a, "), "THIS.Helper:2 ");
  EXPECT_EQ(Calls("this.Load(1"), "this.Load:1 ");
  EXPECT_EQ(Calls("x = foo(THIS.Bar(1), "), "foo:2 ");
  EXPECT_EQ(Calls("x = obj.THIS.m(a"), "");    // a member of another object
  EXPECT_EQ(Calls("x = MYTHIS.m(a"), "");
  EXPECT_EQ(Calls("x = THISFORM.m(a"), "");
}

TEST(OpenCalls, ContinuedLinesAboveTheCursor) {
  const std::vector<std::string> lines = {"x = 1", "DO proc WITH a, ;  \t", "  b, ;", "  c", "y"};
  const TxxLineReader read = [&](int n, std::string& t) {
    if (n < 0 || n >= static_cast<int>(lines.size())) return false;
    t = lines[static_cast<size_t>(n)];
    return true;
  };
  EXPECT_EQ(TextBeforeCursor(read, 3, 3), "DO proc WITH a, ;  \t  b, ;  c");
  EXPECT_EQ(Calls(TextBeforeCursor(read, 3, 3)), "proc:3 ");
  EXPECT_EQ(TextBeforeCursor(read, 4, 3), "y  ");  // padded beyond the end of the line
  EXPECT_EQ(TextBeforeCursor(read, 1, 5), "DO pr");
}

TEST(ParamHintBox, WrappingAtTheLastSpaceCommaOrSemicolon) {
  // Width 20: at most 17 characters a line before trimming.
  EXPECT_EQ(WrapParamText("(cName, nCount)", 20), (std::vector<std::string>{" (cName, nCount) "}));
  EXPECT_EQ(WrapParamText("(aaaa, bbbb, cccc, dddd)", 20),
            (std::vector<std::string>{" (aaaa, bbbb, ", " cccc, dddd) "}));
  EXPECT_EQ(WrapParamText("(aaaa,bbbb,cccc,dddd)", 20),
            (std::vector<std::string>{" (aaaa,bbbb,cccc, ", " dddd) "}));
  EXPECT_EQ(WrapParamText("(aaaa;bbbbbbbbbbbbbbbb)", 20),
            (std::vector<std::string>{" (aaaa; ", " bbbbbbbbbbbbbbbb) ", "  "}));
  // No break character: cut at the limit.
  EXPECT_EQ(WrapParamText("(abcdefghijklmnopqrstuvwxyz)", 20),
            (std::vector<std::string>{" (abcdefghijklmnop ", " qrstuvwxyz) "}));
  // A window narrower than three columns still ends.
  EXPECT_EQ(WrapParamText("(ab)", 2).size(), 5u);
}

std::string Pieces(const std::vector<std::string>& lines, int n) {
  std::string out;
  for (const TxxHintPiece& p : HighlightPieces(lines, n))
    out += std::to_string(p.Line) + "@" + std::to_string(p.Col) + "=" + p.Text + " ";
  return out;
}

TEST(ParamHintBox, HighlightFollowsTheParameterAcrossLines) {
  const std::vector<std::string> one = {" (cName, nCount, [lFlag]) "};
  EXPECT_EQ(Pieces(one, 1), "0@2=cName ");
  EXPECT_EQ(Pieces(one, 2), "0@9=nCount ");
  EXPECT_EQ(Pieces(one, 3), "0@18=lFlag ");
  EXPECT_EQ(Pieces(one, 4), "");
  // A parameter split over two lines is highlighted in both parts.
  const std::vector<std::string> two = {" (aaaa, bb ", " cc, dddd) "};
  EXPECT_EQ(Pieces(two, 2), "0@8=bb 1@1=cc ");
  EXPECT_EQ(Pieces(two, 3), "1@5=dddd ");
  EXPECT_EQ(Pieces({" () "}, 1), "");
}

const char* const kProgram =
    "x = 1\r\n"                                  // 0
    "DO Work WITH 1, \r\n"                       // 1
    "y = Fn(a, \r\n"                             // 2
    "RETURN\r\n"                                 // 3
    "PROCEDURE Work\r\n"                         // 4
    "PARAMETERS m.cFirst, nSecond\r\n"           // 5
    "RETURN\r\n"                                 // 6
    "FUNCTION Fn\r\n"                            // 7
    "PARA a, ;\r\n"                              // 8
    "  b\r\n"                                    // 9
    "RETURN 1\r\n";                              // 10

// Feeds keys to the hint's loop and records screen row `row` before each one.
struct Recorder {
  std::vector<std::string> Rows;
  std::vector<std::vector<int>> Attrs;
};

void Feed(test::PluginHost& ph, std::vector<std::string> keys, int row, std::vector<int> cols,
          Recorder& rec) {
  auto next = std::make_shared<size_t>(0);
  ph.Host().SetInput(std::make_unique<sim::FunctionInput>([&ph, &rec, keys, row, cols, next](INPUT_RECORD& r) {
    if (*next >= keys.size()) return false;
    rec.Rows.push_back(ph.Row(row));
    std::vector<int> a;
    for (int c : cols) a.push_back(ph.Host().Screen().At(c, row).Attr);
    rec.Attrs.push_back(a);
    r = INPUT_RECORD{};
    r.EventType = KEY_EVENT;
    const std::string& k = keys[(*next)++];
    r.KeyEvent = k.size() == 1 ? sim::TypedCharEvent(static_cast<unsigned char>(k[0])) : *sim::ParseKeyName(k);
    return true;
  }));
}

TEST(ShowParamHint, BoxFollowsTheCursorAndClosesOutsideTheCall) {
  test::PluginHost ph(kProgram);
  ph.Tree().Write("vemlo.ini", "[PROJ]\r\nPrgSearchMask=>\\*.prg\r\n");
  // DO Work WITH 1, | : the second parameter.
  FarGotoLine(1, -1, -1, 16, false);
  RefreshModel(false, false, false);
  Recorder a;
  Feed(ph, {"Esc"}, 3, {15, 17, 25}, a);
  ShowParamHint();
  ASSERT_EQ(a.Rows.size(), 1u);
  // Cursor on screen row 2, column 16: the box on row 3 from column 15.
  EXPECT_EQ(a.Rows[0], "y = Fn(a,       (cFirst, nSecond)");
  EXPECT_EQ(a.Attrs[0], (std::vector<int>{0x70, 0x70, 0x7E}));  // box, first, second highlighted
  EXPECT_EQ(ph.Row(3), "y = Fn(a,");                              // closed: the editor repainted

  // y = Fn(a, | then a nested call of another name, its ")", a comma, the closing ")".
  FarGotoLine(2, -1, -1, 10, false);
  RefreshModel(false, false, false);
  Recorder b;
  Feed(ph, {"O", "(", "1", ")", ",", ")", "x"}, 4, {}, b);
  ShowParamHint();
  ASSERT_EQ(b.Rows.size(), 6u);  // the last key comes after the box closed
  EXPECT_EQ(b.Rows[0], "RETURN    (a, b)");  // the box follows the cursor to the right
  EXPECT_EQ(b.Rows[1], "RETURN     (a, b)");
  EXPECT_NE(b.Rows[3].find("(a, b)"), std::string::npos);  // inside o(1: still the outer hint
  EXPECT_NE(b.Rows[5].find("(a, b)"), std::string::npos);  // after the comma: third parameter
  std::string line;
  FarGetLine(2, line);
  EXPECT_EQ(line, "y = Fn(a, O(1),)");
  EXPECT_EQ(ph.Row(4), "RETURN");

  // An unknown name beeps and shows nothing.
  const int beeps = ph.Host().BeepCount();
  FarSetString(2, "y = Unknown(");
  FarGotoLine(2, -1, -1, 12, false);
  ShowParamHint();
  EXPECT_EQ(ph.Host().BeepCount(), beeps + 1);
}

}  // namespace
}  // namespace vemlo
