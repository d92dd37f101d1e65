// A replacement host over a file in a temporary tree, for the host's own tests.
#pragma once

#include <memory>
#include <string>

#include "session.h"
#include "temp_tree.h"

namespace vemlo::sim::test {

struct HostFixture {
  vemlo::test::TempTree Tree;
  std::unique_ptr<Session> S;

  // Writes `text` to a file of the tree and opens it in a fresh host.
  EditorWindow& Open(const std::string& text, int width = 80, int height = 25,
                     const std::string& name = "A.PRG") {
    Tree.Write(name, text);
    SimHostOptions options;
    options.Width = width;
    options.Height = height;
    options.ModuleDir = Tree.Native("module");
    S = std::make_unique<Session>(options);
    if (!S->Open(Tree.Native(name))) throw std::runtime_error("cannot open " + name);
    return *S->Host().CurrentEditor();
  }
  int Ctl(int command, void* param) { return S->Host().EditorControl(command, param); }
  EditorInfo Info() {
    EditorInfo info;
    Ctl(ECTL_GETINFO, &info);
    return info;
  }
  void Sel(int line, int& start, int& end) {
    EditorGetString gs;
    gs.StringNumber = line;
    Ctl(ECTL_GETSTRING, &gs);
    start = gs.SelStart;
    end = gs.SelEnd;
  }
  std::string Line(int n) {
    EditorGetString gs;
    gs.StringNumber = n;
    if (!Ctl(ECTL_GETSTRING, &gs)) return "<none>";
    return std::string(gs.StringText, gs.StringLength);
  }
  std::string Row(int y) {
    std::string row = S->Host().Screen().RowText(y);
    while (!row.empty() && row.back() == ' ') row.pop_back();
    return row;
  }
};

}  // namespace vemlo::sim::test
