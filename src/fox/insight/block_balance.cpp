// Unbalanced blocks: a stack of the open blocks of each procedure.
#include "fox/insight/block_balance.h"

#include <algorithm>

#include "fox/model/scanner.h"
#include "lib/xxlib.h"

namespace vemlo {

namespace {

struct BlockKind {
  unsigned char Open, Close;
  const char* OpenWord;
  const char* CloseWord;
  bool Loop;
};

constexpr BlockKind kBlocks[] = {
    {stIf, stEndIf, "IF", "ENDIF", false},
    {stDoCase, stEndCase, "DO CASE", "ENDCASE", false},
    {stFor, stEndFor, "FOR", "ENDFOR", true},
    {stScan, stEndScan, "SCAN", "ENDSCAN", true},
    {stDoWhile, stEndDo, "DO WHILE", "ENDDO", true},
    {stText, stEndText, "TEXT", "ENDTEXT", false},
};

const BlockKind* Opening(unsigned char kind) {
  for (const BlockKind& b : kBlocks)
    if (b.Open == kind) return &b;
  return nullptr;
}

const BlockKind* Closing(unsigned char kind) {
  for (const BlockKind& b : kBlocks)
    if (b.Close == kind) return &b;
  return nullptr;
}

struct OpenBlock {
  const BlockKind* Kind;
  int Line, Col;
};

class Checker {
 public:
  explicit Checker(const TxxLineReader& read) : read_(read) {}

  void Statement(const TxxFoxString& st) {
    const unsigned char kind = st.Kind;
    if (kind == stProcedure) {
      EndOfProcedure();
      return;
    }
    if (const BlockKind* open = Opening(kind)) {
      const Place p = At(st);
      open_.push_back({open, p.Line, p.Col});
      return;
    }
    if (const BlockKind* close = Closing(kind)) {
      Close(st, *close);
      return;
    }
    switch (kind) {
      case stElse: Branch(st, stIf, "IF"); break;
      case stCase:
      case stOtherwise: Branch(st, stDoCase, "DO CASE"); break;
      case stLoop:
      case stExit:
        if (std::none_of(open_.begin(), open_.end(), [](const OpenBlock& b) { return b.Kind->Loop; }))
          Problem(At(st), FirstWord(st) + " outside a loop");
        break;
      default: break;
    }
  }

  TxxBlockProblems Done() {
    EndOfProcedure();
    std::stable_sort(problems_.begin(), problems_.end(), [](const TxxBlockProblem& a, const TxxBlockProblem& b) {
      return a.Line != b.Line ? a.Line < b.Line : a.Col < b.Col;
    });
    return std::move(problems_);
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

  void Problem(const Place& p, std::string message) { problems_.push_back({p.Line, p.Col, std::move(message)}); }

  void LeftOpen(const OpenBlock& b) {
    problems_.push_back({b.Line, b.Col, std::string(b.Kind->OpenWord) + " without " + b.Kind->CloseWord});
  }

  void Branch(const TxxFoxString& st, unsigned char opener, const char* openWord) {
    if (open_.empty() || open_.back().Kind->Open != opener) Problem(At(st), FirstWord(st) + " without " + openWord);
  }

  // A closer ends its own block; blocks opened inside it and not closed are
  // reported. A closer of no open block is reported and changes nothing.
  void Close(const TxxFoxString& st, const BlockKind& kind) {
    auto match = std::find_if(open_.rbegin(), open_.rend(), [&](const OpenBlock& b) { return b.Kind == &kind; });
    if (match == open_.rend()) {
      Problem(At(st), FirstWord(st) + " without " + kind.OpenWord);
      return;
    }
    const size_t at = open_.size() - 1 - static_cast<size_t>(match - open_.rbegin());
    for (size_t i = at + 1; i < open_.size(); ++i) LeftOpen(open_[i]);
    open_.resize(at);
  }

  void EndOfProcedure() {
    for (const OpenBlock& b : open_) LeftOpen(b);
    open_.clear();
  }

  const TxxLineReader& read_;
  std::vector<OpenBlock> open_;
  TxxBlockProblems problems_;
};

}  // namespace

TxxBlockProblems FindUnbalancedBlocks(const TxxFoxStringArr& statements, const TxxLineReader& read) {
  Checker checker(read);
  for (const TxxFoxString& st : statements) checker.Statement(st);
  return checker.Done();
}

}  // namespace vemlo
