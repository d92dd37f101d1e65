// The table of FoxPro blocks.
#include "fox/insight/block_kinds.h"

#include "fox/model/scanner.h"

namespace vemlo {

namespace {

constexpr TxxBlockKind kBlocks[] = {
    {stIf, stEndIf, {stElse, 0}, "IF", "ENDIF", false, false},
    {stDoCase, stEndCase, {stCase, stOtherwise}, "DO CASE", "ENDCASE", false, false},
    {stFor, stEndFor, {0, 0}, "FOR", "ENDFOR", true, false},
    {stForEach, stEndFor, {0, 0}, "FOR EACH", "ENDFOR", true, false},
    {stScan, stEndScan, {0, 0}, "SCAN", "ENDSCAN", true, false},
    {stDoWhile, stEndDo, {0, 0}, "DO WHILE", "ENDDO", true, false},
    {stText, stEndText, {0, 0}, "TEXT", "ENDTEXT", false, false},
    {stTry, stEndTry, {stCatch, stFinally}, "TRY", "ENDTRY", false, false},
    {stWith, stEndWith, {0, 0}, "WITH", "ENDWITH", false, false},
    {stDirIf, stDirEndIf, {stDirElse, 0}, "#IF", "#ENDIF", false, true},
};

template <typename Pred>
const TxxBlockKind* FirstBlock(Pred pred) {
  for (const TxxBlockKind& b : kBlocks)
    if (pred(b)) return &b;
  return nullptr;
}

}  // namespace

const TxxBlockKind* BlockOpenedBy(unsigned char kind) {
  return FirstBlock([kind](const TxxBlockKind& b) { return b.Open == kind; });
}

const TxxBlockKind* BlockClosedBy(unsigned char kind) {
  return FirstBlock([kind](const TxxBlockKind& b) { return b.Close == kind; });
}

const TxxBlockKind* BlockBranchedBy(unsigned char kind) {
  return FirstBlock([kind](const TxxBlockKind& b) {
    return kind != 0 && (b.Branches[0] == kind || b.Branches[1] == kind);
  });
}

std::vector<unsigned char> LoopOpeners() {
  std::vector<unsigned char> out;
  for (const TxxBlockKind& b : kBlocks)
    if (b.Loop) out.push_back(b.Open);
  return out;
}

std::vector<unsigned char> OtherBranchedOpeners(const TxxBlockKind& block) {
  std::vector<unsigned char> out;
  for (const TxxBlockKind& b : kBlocks)
    if (&b != &block && b.Branches[0] != 0 && b.Directive == block.Directive) out.push_back(b.Open);
  return out;
}

}  // namespace vemlo
