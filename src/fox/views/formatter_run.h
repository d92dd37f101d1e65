// The formatter of the procedure at the cursor (editor command 8).
#pragma once

namespace vemlo {

// The run over the editor after the question (automatic or line by line).
void RunFormatter(bool lineByLine);
void FormatProcedure();

}  // namespace vemlo
