// Key scripts of the script runner: one step a line.
//   key names   F1..F12, Enter, Esc, Up, Down, Left, Right, Home, End, PgUp, PgDn, Ins,
//               Del, BS, Tab, Space, Gray+, Gray-, Gray*, Ctrl, Alt, letters, digits, "."
//               with prefixes Shift+ Ctrl+ Alt+ (left keys) LCtrl+ RCtrl+ LAlt+ RAlt+
//   type TEXT   one key event per character of TEXT (UTF-8 in the script)
//   paste TEXT  TEXT as one paste, as a terminal pastes it (\n a line break,
//               \t a tab, \\ a backslash)
//   goto LINE COL                 move the cursor (0-based)
//   select L1 C1 L2 C2 [column]   a stream block up to, not including, (L2, C2); a
//                                 column block over the screen columns C1..C2-1
//   bookmark N LINE COL           set bookmark N at that place
//   dump screen / dump text       print the screen or the editor text
//   # comment
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input.h"

namespace vemlo::sim {

enum class StepKind { Key, Paste, Goto, Select, Bookmark, DumpScreen, DumpText };

struct ScriptStep {
  StepKind Kind = StepKind::Key;
  int SourceLine = 0;  // 1-based line of the script
  KEY_EVENT_RECORD Key;
  int Args[4] = {0, 0, 0, 0};
  bool Column = false;
  std::u32string Text;  // of a paste
};

std::optional<KEY_EVENT_RECORD> ParseKeyName(const std::string& name);
// The key event that types one OEM byte.
KEY_EVENT_RECORD TypedCharEvent(unsigned char ch);
// The key event that types a character: its Unicode, and its OEM byte ('?'
// where 866 has none, as the conversion to 866 gives it).
KEY_EVENT_RECORD TypedUnicodeEvent(char32_t ch);

// Parses a whole script; on a bad line returns false with a message naming it.
bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);

// Replays the steps: key steps are the events read; the other steps run through
// `directive` when the reader reaches them, i.e. when the host next reads input.
// How long the host took over one key of a script: from the key's delivery to
// the host's next read of input (the directives read between them not counted).
struct KeyTime {
  int SourceLine = 0;
  double Ms = 0;
};

class ScriptInput : public InputSource {
 public:
  using Directive = std::function<void(const ScriptStep&)>;
  ScriptInput(std::vector<ScriptStep> steps, Directive directive)
      : steps_(std::move(steps)), directive_(std::move(directive)) {}
  bool Read(INPUT_RECORD& rec) override;
  std::u32string PastedText() const override { return pasted_; }
  // Runs the directives up to the next key step without reading it.
  void RunPendingDirectives();
  bool Finished() const { return next_ >= steps_.size(); }
  int NextSourceLine() const { return Finished() ? 0 : steps_[next_].SourceLine; }
  // Times every key delivered from now on.
  void TimeKeys() { timing_ = true; }
  // The times of the keys delivered so far; that of the last one ends now.
  std::vector<KeyTime> KeyTimes();

 private:
  void StopKeyClock();
  std::vector<ScriptStep> steps_;
  Directive directive_;
  size_t next_ = 0;
  std::u32string pasted_;
  bool timing_ = false, clockRunning_ = false;
  double keyStart_ = 0;
  std::vector<KeyTime> times_;
};

}  // namespace vemlo::sim
