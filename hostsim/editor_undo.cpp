// The editor's undo history: steps of line changes, undone and redone whole.
#include <algorithm>

#include "editor.h"

namespace vemlo::sim {

namespace {

CursorPlace PlaceOf(const EditorWindow& ed) { return {ed.CurLine, ed.CurPos, ed.TopLine, ed.LeftPos}; }

void PutPlace(EditorWindow& ed, const CursorPlace& p) {
  ed.CurLine = std::clamp(p.Line, 0, static_cast<int>(ed.Lines.size()) - 1);
  ed.CurPos = std::max(0, p.Pos);
  ed.TopLine = p.Top;
  ed.LeftPos = p.Left;
  FollowCursor(ed);
}

void OpenStep(EditorWindow& ed) {
  if (ed.Undo.Open) return;
  UndoStep step;
  step.Before = PlaceOf(ed);
  step.CpBefore = ed.Cp;
  step.BomBefore = ed.Bom;
  ed.Undo.Open = std::move(step);
}

// The one line a step changed in place, or -1.
int SingleLineOf(const UndoStep& s) {
  int line = -1;
  for (const UndoOp& op : s.Ops) {
    if (op.What != UndoOp::Kind::Set || (line >= 0 && op.Line != line)) return -1;
    line = op.Line;
  }
  return line;
}

bool SamePlace(const CursorPlace& a, const CursorPlace& b) { return a.Line == b.Line && a.Pos == b.Pos; }

void Commit(EditorWindow& ed) {
  EditorUndo& u = ed.Undo;
  UndoStep step = std::move(*u.Open);
  u.Open.reset();
  step.After = PlaceOf(ed);
  step.CpAfter = ed.Cp;
  step.BomAfter = ed.Bom;
  if (step.Ops.empty() && step.CpBefore == step.CpAfter && step.BomBefore == step.BomAfter) return;
  u.Undone.clear();
  if (u.SavedAt > static_cast<long>(u.Done.size())) u.SavedAt = -1;  // it was in the redo branch
  if (step.Typing && !step.Saved && !u.Done.empty() && u.Done.back().Typing &&
      u.SavedAt != static_cast<long>(u.Done.size()) && SamePlace(u.Done.back().After, step.Before)) {
    UndoStep& last = u.Done.back();
    const int line = SingleLineOf(last);
    if (line >= 0 && line == SingleLineOf(step)) {
      last.Ops.back().New = step.Ops.back().New;
      last.After = step.After;
      return;
    }
  }
  const bool saved = step.Saved;
  u.Done.push_back(std::move(step));
  if (saved) u.SavedAt = static_cast<long>(u.Done.size());
}

// Applies one change forwards or backwards, without recording it.
void Apply(EditorWindow& ed, const UndoOp& op, bool forward) {
  const std::vector<EditorLine>& put = forward ? op.New : op.Old;
  const bool insert = (op.What == UndoOp::Kind::Insert) == forward;
  switch (op.What) {
    case UndoOp::Kind::Set: SetLine(ed, op.Line, put[0]); break;
    case UndoOp::Kind::Insert:
    case UndoOp::Kind::Erase:
      if (insert)
        InsertLines(ed, op.Line, op.What == UndoOp::Kind::Insert ? op.New : op.Old);
      else
        EraseLines(ed, op.Line, static_cast<int>((op.What == UndoOp::Kind::Insert ? op.New : op.Old).size()));
      break;
  }
}

void AfterReplay(EditorWindow& ed) {
  ed.Block = {};
  ed.Modified = ed.Undo.SavedAt != static_cast<long>(ed.Undo.Done.size());
}

// Undo and redo come as keys, inside the step of their key: that step, still
// empty, is dropped; one that changed something already blocks them.
bool DropEmptyOpenStep(EditorUndo& u) {
  if (!u.Open) return true;
  if (!u.Open->Ops.empty()) return false;
  u.Open.reset();
  return true;
}

// Sets a flag for the time of a replay.
struct Replaying {
  explicit Replaying(EditorUndo& u) : U(u) { U.Replaying = true; }
  ~Replaying() { U.Replaying = false; }
  EditorUndo& U;
};

}  // namespace

UndoStepGuard::UndoStepGuard(EditorWindow& ed) : ed_(ed), active_(!ed.Undo.Replaying) {
  if (active_ && ed_.Undo.Depth++ == 0) OpenStep(ed_);
}

UndoStepGuard::~UndoStepGuard() {
  if (active_ && --ed_.Undo.Depth == 0 && ed_.Undo.Open) Commit(ed_);
}

void RecordOp(EditorWindow& ed, UndoOp op) {
  EditorUndo& u = ed.Undo;
  if (u.Replaying) return;
  const bool alone = !u.Open;
  if (alone) OpenStep(ed);
  std::vector<UndoOp>& ops = u.Open->Ops;
  // Changes of one line in a row are one change.
  if (op.What == UndoOp::Kind::Set && !ops.empty() && ops.back().What == UndoOp::Kind::Set &&
      ops.back().Line == op.Line)
    ops.back().New = std::move(op.New);
  else
    ops.push_back(std::move(op));
  if (alone && u.Depth == 0) Commit(ed);
}

void MarkTyping(EditorWindow& ed) {
  if (ed.Undo.Open) ed.Undo.Open->Typing = true;
}

namespace {

// Takes the newest step of one list back (undo) or forward (redo) and puts it
// on the other list.
bool Replay(EditorWindow& ed, bool forward) {
  EditorUndo& u = ed.Undo;
  std::vector<UndoStep>& from = forward ? u.Undone : u.Done;
  std::vector<UndoStep>& to = forward ? u.Done : u.Undone;
  if (from.empty() || !DropEmptyOpenStep(u)) return false;
  UndoStep step = std::move(from.back());
  from.pop_back();
  {
    Replaying r(u);
    if (forward)
      for (const UndoOp& op : step.Ops) Apply(ed, op, true);
    else
      for (auto op = step.Ops.rbegin(); op != step.Ops.rend(); ++op) Apply(ed, *op, false);
    ed.Cp = forward ? step.CpAfter : step.CpBefore;
    ed.Bom = forward ? step.BomAfter : step.BomBefore;
    PutPlace(ed, forward ? step.After : step.Before);
  }
  to.push_back(std::move(step));
  AfterReplay(ed);
  return true;
}

}  // namespace

bool UndoStepBack(EditorWindow& ed) { return Replay(ed, false); }

bool RedoStepForward(EditorWindow& ed) { return Replay(ed, true); }

void ForgetUndo(EditorWindow& ed) {
  const int depth = ed.Undo.Depth;
  ed.Undo = EditorUndo{};
  ed.Undo.Depth = depth;
  if (depth > 0) OpenStep(ed);
}

void MarkSaved(EditorWindow& ed) {
  ed.Undo.SavedAt = static_cast<long>(ed.Undo.Done.size());
  // A save in the middle of a step saved what the step changed so far.
  if (ed.Undo.Open && !ed.Undo.Open->Ops.empty()) ed.Undo.Open->Saved = true;
}

}  // namespace vemlo::sim
