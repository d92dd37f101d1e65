#include "plugin_host.h"

#include <gtest/gtest.h>

#include "console.h"
#include "editor.h"
#include "platform/platform.h"
#include "script.h"
#include "shell/vemlo.h"

namespace vemlo::test {

PluginHost::PluginHost(const std::string& text, const std::string& fileName, sim::SimHostOptions options) {
  platform::SetRegistryFile(tree_.Native("registry.ini"));
  ResetPluginState();
  tree_.Write(fileName, text);
  edited_ = tree_.Dos(fileName);
  host_ = std::make_unique<sim::SimHost>(std::move(options));
  host_->SetInput(std::make_unique<sim::FunctionInput>([this](INPUT_RECORD& rec) {
    if (host_->EditorDepth() > 1 && host_->CurrentEditor()) {
      nestedText_.clear();
      for (char c : sim::EditorText(*host_->CurrentEditor()))
        if (c != '\r') nestedText_ += c;
    }
    if (queue_.empty()) return false;
    keyScreen_ = host_->Screen().DumpUtf8();
    rec = queue_.front();
    queue_.pop_front();
    return true;
  }));
  sim::StartLinkedPlugin(*host_);
  EXPECT_TRUE(host_->OpenEditor(tree_.Native(fileName)));
}

PluginHost::~PluginHost() { ResetPluginState(); }

void PluginHost::Keys(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name.rfind("type ", 0) == 0) {
      for (unsigned char c : name.substr(5)) {
        INPUT_RECORD rec;
        rec.EventType = KEY_EVENT;
        rec.KeyEvent = sim::TypedCharEvent(c);
        queue_.push_back(rec);
      }
      continue;
    }
    auto key = sim::ParseKeyName(name);
    EXPECT_TRUE(key.has_value()) << "unknown key " << name;
    if (!key) continue;
    INPUT_RECORD rec;
    rec.EventType = KEY_EVENT;
    rec.KeyEvent = *key;
    queue_.push_back(rec);
  }
}

std::string PluginHost::Row(int y) {
  std::string row = host_->Screen().RowText(y);
  while (!row.empty() && row.back() == ' ') row.pop_back();
  return sim::Cp866ToUtf8(row);
}

std::string PluginHost::RowAtLastKey(int y) const {
  size_t start = 0;
  for (int i = 0; i < y && start != std::string::npos; ++i) {
    start = keyScreen_.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return "";
  return keyScreen_.substr(start, keyScreen_.find('\n', start) - start);
}

std::string PluginHost::Text() {
  const sim::EditorWindow* ed = host_->LatestEditor();
  if (!ed) return "";
  std::string text = sim::EditorText(*ed);
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

std::vector<sim::ShownWindow> PluginHost::WindowsOf(const std::string& kind) const {
  std::vector<sim::ShownWindow> out;
  for (const sim::ShownWindow& w : host_->Transcript())
    if (w.Kind == kind) out.push_back(w);
  return out;
}

int PluginHost::TempFiles() { return CountFiles(platform::ToNativePath(platform::TempDirectory())); }

}  // namespace vemlo::test
