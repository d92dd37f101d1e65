#include "fake_editor.h"

#include "host/xxfar.h"

namespace vemlo::test {

FakeEditorHost::FakeEditorHost(const std::string& moduleName) {
  for (int i = 0; i < 128; ++i) msgTexts_.push_back("M" + std::to_string(i));
  PluginStartupInfo info;
  info.ModuleName = moduleName;
  info.ModuleNumber = 1;
  info.Api = this;
  FarSetInfo(info);
}

FakeEditorHost::~FakeEditorHost() { FarSetInfo(PluginStartupInfo{}); }

std::vector<ShownMessage> FakeEditorHost::Warnings() const {
  std::vector<ShownMessage> out;
  for (const ShownMessage& m : Messages) {
    if (m.Flags & FMSG_WARNING) out.push_back(m);
  }
  return out;
}

const char* FakeEditorHost::GetMsg(int, int msgId) {
  return msgId >= 0 && msgId < static_cast<int>(msgTexts_.size()) ? msgTexts_[msgId].c_str() : "";
}

int FakeEditorHost::Message(int, unsigned flags, const char* helpTopic, const char* const* items,
                            int itemsNumber, int) {
  ShownMessage m;
  m.Flags = flags;
  m.HelpTopic = helpTopic ? helpTopic : "";
  for (int i = 0; i < itemsNumber; ++i) m.Lines.push_back(items[i] ? items[i] : "");
  Messages.push_back(std::move(m));
  return 0;
}

HANDLE FakeEditorHost::SaveScreen(int, int, int, int) {
  ++progressOpened_;  // only the progress box saves the screen in the model's code
  return &screenHandle_;
}

int FakeEditorHost::EditorControl(int command, void* param) {
  switch (command) {
    case ECTL_GETINFO: {
      auto* ei = static_cast<EditorInfo*>(param);
      *ei = EditorInfo{};
      ei->EditorID = EditorId;
      ei->FileName = FileName.c_str();
      ei->WindowSizeX = 80;
      ei->WindowSizeY = 23;
      ei->TotalLines = static_cast<int>(Lines.size());
      ei->CurLine = CurLine;
      ei->CurPos = CurPos;
      ei->TopScreenLine = TopLine;
      ei->LeftPos = LeftPos;
      return 1;
    }
    case ECTL_GETSTRING: {
      auto* gs = static_cast<EditorGetString*>(param);
      const int n = gs->StringNumber < 0 ? CurLine : gs->StringNumber;
      if (n < 0 || n >= static_cast<int>(Lines.size())) return 0;
      ++LinesRead;
      lineBuffer_ = Lines[n];
      gs->StringText = lineBuffer_.c_str();
      gs->StringEOL = "\r\n";
      gs->StringLength = static_cast<int>(lineBuffer_.size());
      gs->SelStart = -1;
      gs->SelEnd = -1;
      return 1;
    }
    case ECTL_SETPOSITION: {
      const auto* sp = static_cast<const EditorSetPosition*>(param);
      if (sp->CurLine >= 0) CurLine = sp->CurLine;
      if (sp->CurPos >= 0) CurPos = sp->CurPos;
      if (sp->TopScreenLine >= 0) TopLine = sp->TopScreenLine;
      if (sp->LeftPos >= 0) LeftPos = sp->LeftPos;
      return 1;
    }
    case ECTL_REDRAW:
      return 1;
    default:
      return 0;
  }
}

}  // namespace vemlo::test
