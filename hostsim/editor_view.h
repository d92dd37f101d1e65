// Drawing an editor window on the virtual console: the title row, the text area
// (tabs expanded, left position applied, the block in the selected colour) and
// the key bar.
#pragma once

#include <string>
#include <vector>

#include "console.h"
#include "editor.h"

namespace vemlo::sim {

// The host's own key bar labels of the editor (F1..F12).
const std::vector<std::string>& DefaultEditorKeyBar();

void RenderEditor(const EditorWindow& ed, Console& screen);
void RenderEditorKeyBar(const EditorWindow& ed, Console& screen);

}  // namespace vemlo::sim
