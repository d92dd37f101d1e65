#include "script_run.h"

#include <algorithm>

namespace vemlo::sim {

namespace {

// OEM text as UTF-8; tabs and other control bytes stay what they are.
std::string TextToUtf8(const std::string& oem) {
  std::string out;
  for (char c : oem)
    out += static_cast<unsigned char>(c) < 0x20 ? std::string(1, c) : Cp866ToUtf8(std::string(1, c));
  return out;
}

// An editor line as UTF-8, shown as the OEM text of a DOS file is shown: control
// characters as they are, DEL as its DOS glyph, bytes no character as U+FFFD.
std::string LineToUtf8(const std::u32string& line) {
  std::string out;
  for (char32_t c : line) {
    if (c == 0x7F) c = Cp866ToUnicode(0x7F);
    else if (IsByteStandIn(c)) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace

std::string ScreenDump(SimHost& host) { return "--- screen\n" + host.Screen().DumpUtf8() + "--- end\n"; }

std::string TextDump(SimHost& host) {
  std::string out = "--- text\n";
  if (const EditorWindow* ed = host.LatestEditor()) {
    const auto& lines = ed->Lines;
    for (size_t i = 0; i < lines.size(); ++i) {
      // The empty line after a final line break is not a line of the text.
      if (i + 1 == lines.size() && i > 0 && lines[i].Text.empty()) break;
      out += LineToUtf8(lines[i].Text) + "\n";
    }
  }
  return out + "--- end\n";
}

std::string TranscriptDump(SimHost& host) {
  std::string out = "--- windows\n";
  for (const ShownWindow& w : host.Transcript()) {
    out += w.Kind + ": " + TextToUtf8(w.Title);
    for (const std::string& line : w.Lines) out += " | " + TextToUtf8(line);
    out += "\n";
  }
  out += "--- beeps " + std::to_string(host.BeepCount()) + "\n";
  return out + TextDump(host);
}

void RunDirective(SimHost& host, const ScriptStep& step, std::ostream& out) {
  EditorWindow* ed = host.CurrentEditor();
  const int* a = step.Args;
  switch (step.Kind) {
    case StepKind::DumpScreen: out << ScreenDump(host); return;
    case StepKind::DumpText: out << TextDump(host); return;
    case StepKind::Key: return;
    default: break;
  }
  if (!ed) return;
  int last = static_cast<int>(ed->Lines.size()) - 1;
  switch (step.Kind) {
    case StepKind::Goto: MoveCursor(*ed, a[0], a[1]); break;
    case StepKind::Select: {
      int l1 = std::clamp(a[0], 0, last), l2 = std::clamp(a[2], 0, last);
      int c1 = std::max(0, a[1]), c2 = std::max(0, a[3]);
      if (step.Column) {
        ed->Block = EditorBlock{BTYPE_COLUMN, std::min(l1, l2), std::min(c1, c2), std::max(l1, l2),
                                std::max(c1, c2)};
      } else {
        std::pair<int, int> from{l1, c1}, to{l2, c2};
        if (to < from) std::swap(from, to);
        ed->Block = EditorBlock{BTYPE_STREAM, from.first, from.second, to.first, to.second};
      }
      break;
    }
    case StepKind::Bookmark: {
      int line = std::clamp(a[1], 0, last);
      ed->Bookmarks[a[0]] =
          Bookmark{line, std::max(0, a[2]), std::max(0, line - ed->TopLine), ed->LeftPos};
      break;
    }
    default: break;
  }
  // Between keys of the editor itself the change shows at once.
  if (host.AtEditorPrompt()) host.RedrawCurrentEditor();
}

int RunScript(SimHost& host, std::vector<ScriptStep> steps, const std::vector<std::string>& files,
              std::ostream& out, std::string& error, std::vector<KeyTime>* keyTimes) {
  auto input = std::make_unique<ScriptInput>(
      std::move(steps), [&host, &out](const ScriptStep& step) { RunDirective(host, step, out); });
  ScriptInput* script = input.get();
  if (keyTimes) script->TimeKeys();
  host.SetInput(std::move(input));
  int status = kScriptDone;
  try {
    for (const std::string& file : files) {
      if (!host.OpenEditor(file)) {
        error = "cannot open " + file;
        status = kScriptOpenError;
        break;
      }
    }
    if (status == kScriptDone && host.FileCount() > 1 && !files.empty()) host.SwitchTo(0);
    if (status == kScriptDone) host.RunEditor();
  } catch (const InputExhausted& e) {
    error = e.what();
    status = kScriptInputExhausted;
  }
  if (status == kScriptDone) {
    // Dumps after the last window closed still see the final screen.
    script->RunPendingDirectives();
    if (!script->Finished()) {
      error = "every window closed before the script ended (script line " +
              std::to_string(script->NextSourceLine()) + ")";
      status = kScriptNotFinished;
    }
  }
  if (keyTimes) *keyTimes = script->KeyTimes();
  host.SetInput(nullptr);  // the script writes to `out`, which the caller owns
  return status;
}

}  // namespace vemlo::sim
