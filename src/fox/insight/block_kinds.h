// The blocks of FoxPro source as data: the statement class that opens each,
// the ones that branch it and the one that closes it. The structure review and
// the block-balance check both read this table.
#pragma once

#include <vector>

namespace vemlo {

struct TxxBlockKind {
  unsigned char Open = 0;
  unsigned char Close = 0;
  unsigned char Branches[2] = {0, 0};  // 0: no branch
  const char* OpenWord = "";
  const char* CloseWord = "";
  bool Loop = false;
  bool Directive = false;  // #IF blocks nest apart from the code's blocks
};

// The block a statement class opens, closes (the first such block: ENDFOR
// closes FOR and FOR EACH) or branches; null when it does none of these.
const TxxBlockKind* BlockOpenedBy(unsigned char kind);
const TxxBlockKind* BlockClosedBy(unsigned char kind);
const TxxBlockKind* BlockBranchedBy(unsigned char kind);

// The openers of loops, which LOOP and EXIT belong to.
std::vector<unsigned char> LoopOpeners();
// The openers of the other blocks with branches on the same nesting as `block`:
// an open one of these hides `block` from a branch of it.
std::vector<unsigned char> OtherBranchedOpeners(const TxxBlockKind& block);

}  // namespace vemlo
