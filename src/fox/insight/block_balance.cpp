// Unbalanced blocks: a stack of the open blocks of each procedure, one of the
// open #IF directives of the file, and the class being defined.
#include "fox/insight/block_balance.h"

#include <algorithm>

#include "fox/insight/block_kinds.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

// A class is a block of its own: the procedures inside it end its code blocks, not it.
constexpr TxxBlockKind kClass{stDefineClass, stEndDefine, {0, 0}, "DEFINE CLASS", "ENDDEFINE", false, false};

struct OpenBlock {
  const TxxBlockKind* Kind;
  int Line, Col;
};

class Checker {
 public:
  explicit Checker(const TxxLineReader& read) : read_(read) {}

  void Statement(const TxxFoxString& st) {
    const unsigned char kind = st.Kind;
    switch (kind) {
      case stProcedure:
        EndOfProcedure();
        inProcedure_ = true;
        return;
      case stEndProc:
        if (!inProcedure_) {
          const std::string word = FirstWord(st);
          Problem(At(st), word + (word.compare(0, 4, "ENDF") == 0 ? " without FUNCTION" : " without PROCEDURE"),
                  TxxBlockFault::StrayCloser);
        }
        EndOfProcedure();
        return;
      case stDefineClass:
        EndOfProcedure();
        for (const OpenBlock& c : class_) LeftOpen(c);
        class_.clear();
        Open(class_, st, kClass);
        return;
      case stEndDefine:
        EndOfProcedure();
        Close(class_, st, kClass);
        return;
      default: break;
    }
    if (const TxxBlockKind* open = BlockOpenedBy(kind)) {
      Open(open->Directive ? directives_ : code_, st, *open);
      return;
    }
    if (const TxxBlockKind* close = BlockClosedBy(kind)) {
      Close(close->Directive ? directives_ : code_, st, *close);
      return;
    }
    if (const TxxBlockKind* branched = BlockBranchedBy(kind)) {
      const std::vector<OpenBlock>& open = branched->Directive ? directives_ : code_;
      if (open.empty() || open.back().Kind->Open != branched->Open)
        Problem(At(st), FirstWord(st) + " without " + branched->OpenWord, TxxBlockFault::StrayBranch);
      return;
    }
    if (kind == stLoop || kind == stExit) {
      if (std::none_of(code_.begin(), code_.end(), [](const OpenBlock& b) { return b.Kind->Loop; }))
        Problem(At(st), FirstWord(st) + " outside a loop", TxxBlockFault::JumpOutsideLoop);
    }
  }

  TxxBlockBalance Done() {
    EndOfProcedure();
    for (const OpenBlock& c : class_) LeftOpen(c);
    for (const OpenBlock& d : directives_) LeftOpen(d);
    std::stable_sort(result_.Problems.begin(), result_.Problems.end(),
                     [](const TxxBlockProblem& a, const TxxBlockProblem& b) {
                       return a.Line != b.Line ? a.Line < b.Line : a.Col < b.Col;
                     });
    std::stable_sort(result_.Blocks.begin(), result_.Blocks.end(),
                     [](const TxxBlockSpan& a, const TxxBlockSpan& b) { return a.First < b.First; });
    return std::move(result_);
  }

 private:
  struct Place {
    int Line, Col;
    std::string Text;
  };

  Place At(const TxxFoxString& st) const {
    Place p{st.FirstLine, 0, {}};
    if (!read_ || !read_(st.FirstLine, p.Text)) return p;
    while (p.Col < static_cast<int>(p.Text.size()) && (p.Text[p.Col] == ' ' || p.Text[p.Col] == '\t')) ++p.Col;
    return p;
  }

  // The statement's first word as written, in upper case (NEXT closes a FOR as ENDFOR does).
  std::string FirstWord(const TxxFoxString& st) const {
    const Place p = At(st);
    size_t end = static_cast<size_t>(p.Col);
    while (end < p.Text.size() && p.Text[end] != ' ' && p.Text[end] != '\t' && p.Text[end] != ';') ++end;
    return UpperCase(p.Text.substr(static_cast<size_t>(p.Col), end - static_cast<size_t>(p.Col)));
  }

  void Problem(const Place& p, std::string message, TxxBlockFault fault) {
    result_.Problems.push_back({p.Line, p.Col, std::move(message), fault});
  }

  void LeftOpen(const OpenBlock& b) {
    result_.Problems.push_back(
        {b.Line, b.Col, std::string(b.Kind->OpenWord) + " without " + b.Kind->CloseWord, TxxBlockFault::LeftOpen});
  }

  void Open(std::vector<OpenBlock>& stack, const TxxFoxString& st, const TxxBlockKind& kind) {
    const Place p = At(st);
    stack.push_back({&kind, p.Line, p.Col});
  }

  // A closer ends the innermost block it closes (ENDFOR a FOR or a FOR EACH);
  // blocks opened inside it and not closed are reported. A closer of no open
  // block is reported and changes nothing.
  void Close(std::vector<OpenBlock>& stack, const TxxFoxString& st, const TxxBlockKind& kind) {
    auto match = std::find_if(stack.rbegin(), stack.rend(),
                              [&](const OpenBlock& b) { return b.Kind->Close == kind.Close; });
    if (match == stack.rend()) {
      Problem(At(st), FirstWord(st) + " without " + kind.OpenWord, TxxBlockFault::StrayCloser);
      return;
    }
    const size_t at = stack.size() - 1 - static_cast<size_t>(match - stack.rbegin());
    for (size_t i = at + 1; i < stack.size(); ++i) LeftOpen(stack[i]);
    result_.Blocks.push_back({stack[at].Line, st.FirstLine});
    stack.resize(at);
  }

  void EndOfProcedure() {
    for (const OpenBlock& b : code_) LeftOpen(b);
    code_.clear();
    inProcedure_ = false;
  }

  const TxxLineReader& read_;
  std::vector<OpenBlock> code_;
  std::vector<OpenBlock> directives_;
  std::vector<OpenBlock> class_;  // at most one: classes do not nest
  bool inProcedure_ = false;
  TxxBlockBalance result_;
};

}  // namespace

TxxBlockBalance CheckBlockBalance(const TxxFoxStringArr& statements, const TxxLineReader& read) {
  Checker checker(read);
  for (const TxxFoxString& st : statements) checker.Statement(st);
  return checker.Done();
}

TxxBlockProblems FindUnbalancedBlocks(const TxxFoxStringArr& statements, const TxxLineReader& read) {
  return CheckBlockBalance(statements, read).Problems;
}

}  // namespace vemlo
