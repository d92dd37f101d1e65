// vemlo-edit as an everyday editor, in a real terminal: undo and redo of a
// plug-in command, search and replace, blocks and the clipboard, go to, save
// as, files in UTF-8 and 1251, refused characters, pastes and the keys typed
// while a message box comes up. Every change is checked in the saved bytes.
#include <gtest/gtest.h>

#include "console.h"
#include "tmux_driver.h"

namespace {

using namespace vemlo::test::tmux;

class TmuxEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed: the terminal tests need it";
    ASSERT_TRUE(fs::exists(Program()));
    ASSERT_TRUE(fs::exists(fs::path(VEMLO_BINARY_DIR) / "demo" / "MAIN.PRG"));
  }
  static std::string Program() { return std::string(VEMLO_BINARY_DIR) + "/apps/vemlo-edit"; }
  // The program on `files` with the demo's options.
  static std::string Command(const DemoCopy& demo, const std::string& args) {
    return Quote(Program()) + " --registry " + Quote(demo.Registry().string()) + " " + args;
  }
  static void Write(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  // Saves with F2 and waits until the file holds `want` (true) or something new.
  static bool SaveAndWait(const Tmux& tmux, const fs::path& file, const std::string& want) {
    tmux.Keys("F2");
    return WaitFile(file, [&](const std::string& bytes) { return bytes == want; }) && tmux.WaitModified(false);
  }
};

// Every occurrence of `what` replaced, letters compared without regard to case.
std::string ReplaceEvery(const std::string& text, const std::string& what, const std::string& with) {
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  const std::string l = lower(text), w = lower(what);
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = l.find(w, at)) != std::string::npos; at = hit + w.size())
    out += text.substr(at, hit - at) + with;
  return out + text.substr(at);
}

// The screen column where `glyph` starts in a row (its characters counted, not
// its bytes), -1 when it is not there.
int CharsBefore(const std::string& row, const std::string& glyph) {
  const size_t at = row.find(glyph);
  if (at == std::string::npos) return -1;
  int chars = 0;
  for (size_t i = 0; i < at; ++i) chars += (static_cast<unsigned char>(row[i]) & 0xC0) != 0x80;
  return chars;
}

TEST_F(TmuxEditor, AFormatterRunIsUndoneAndRedoneWithOneKeyByteForByte) {
  DemoCopy demo;
  const std::string original = ReadFile(demo.Main());
  Tmux tmux;
  tmux.Start(demo.Command());
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  // Into the procedure LoadOptions, then Service, Indent the current procedure, Automatically.
  tmux.Keys("M-F8");
  ASSERT_TRUE(tmux.WaitForText("Go to")) << tmux.Screen();
  tmux.Type("125");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("Line 125/315")) << tmux.Screen();
  tmux.Keys("F11 Down Down Down Enter End Enter");
  ASSERT_TRUE(tmux.WaitForText("[ Automatically ]")) << tmux.Screen();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  tmux.Keys("F2");
  ASSERT_TRUE(WaitFile(demo.Main(), [&](const std::string& b) { return b != original; }));
  ASSERT_TRUE(tmux.WaitModified(false));
  const std::string formatted = ReadFile(demo.Main());
  ASSERT_NE(formatted.find("PROCEDURE LoadOptions"), std::string::npos);

  tmux.Keys("C-z");  // one key takes back the whole run
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, demo.Main(), original)) << "undo gives back every byte";
  tmux.Keys("C-M-z");  // redo (Ctrl+Shift+Z where the terminal sends it)
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, demo.Main(), formatted)) << "redo gives the formatted text again";
  tmux.Keys("F10");
  EXPECT_TRUE(tmux.WaitDead() || tmux.WaitGone("1Help"));
}

TEST_F(TmuxEditor, ReplaceAllOverTheDemoGoToLine120AndSaveAs) {
  DemoCopy demo;
  const std::string original = ReadFile(demo.Main());
  Tmux tmux;
  tmux.Start(demo.Command());
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  tmux.Keys("C-F7");
  ASSERT_TRUE(tmux.WaitForText("Replace with:")) << tmux.Screen();
  tmux.Type("ctable");
  tmux.Keys("Tab");
  tmux.Type("cTab2");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("[ All ]")) << tmux.Screen();
  tmux.Keys("Right Enter");
  ASSERT_TRUE(tmux.WaitGone("[ All ]")) << tmux.Screen();
  const std::string replaced = ReplaceEvery(original, "ctable", "cTab2");
  ASSERT_NE(replaced, original);
  EXPECT_TRUE(SaveAndWait(tmux, demo.Main(), replaced)) << tmux.Screen();

  tmux.Keys("M-F8");
  ASSERT_TRUE(tmux.WaitForText("Go to")) << tmux.Screen();
  tmux.Type("120");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("Line 120/315  Col 1\n")) << tmux.Screen();

  const fs::path copy = demo.Dir() / "demo" / "COPY.PRG";
  tmux.Keys("S-F2");
  ASSERT_TRUE(tmux.WaitForText("Save the file as:")) << tmux.Screen();
  tmux.Keys("C-y");
  tmux.Type(copy.string());
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("COPY.PRG")) << tmux.Screen();
  ASSERT_TRUE(WaitFile(copy, [&](const std::string& b) { return b == replaced; })) << tmux.Screen();
  // The editor goes on with the new file; the old one stays as it was.
  tmux.Type("z");
  ASSERT_TRUE(tmux.WaitModified(true));
  std::string withZ = replaced;
  size_t line120 = 0;
  for (int i = 0; i < 119; ++i) line120 = withZ.find('\n', line120) + 1;
  withZ.insert(line120, "z");
  EXPECT_TRUE(SaveAndWait(tmux, copy, withZ)) << tmux.Screen();
  EXPECT_EQ(ReadFile(demo.Main()), replaced);
  tmux.Keys("F10");
}

TEST_F(TmuxEditor, ABlockCopiedToTheClipboardsAndPastedAtTheEnd) {
  DemoCopy demo;
  const std::string original = ReadFile(demo.Main());
  Tmux tmux;
  tmux.Start(demo.Command());
  Shell(tmux.Cmd("set-option -s set-clipboard on"));
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  // The first two lines as a stream block, copied with Ctrl+Ins.
  tmux.Keys("S-Down S-Down C-IC");
  const size_t two = original.find('\n', original.find('\n') + 1) + 1;
  const std::string block = original.substr(0, two);
  std::string offered;
  for (char c : block)
    if (c == '\n') offered += c;
    else if (c != '\r') offered += vemlo::sim::Cp866ToUtf8(std::string(1, c));
  // The terminal's clipboard got it too (tmux keeps what OSC 52 gives as a buffer).
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  std::string buffer;
  while ((buffer = Shell(tmux.Cmd("show-buffer 2>/dev/null"))) != offered &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(buffer, offered);
  tmux.Keys("C-End S-IC");
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, demo.Main(), original + block)) << tmux.Screen();
  tmux.Keys("F10");
}

TEST_F(TmuxEditor, Utf8And1251FilesEditedAndSavedByteForByteAndARefusedCharacter) {
  DemoCopy demo;
  const fs::path utf8 = demo.Dir() / "u.prg", win = demo.Dir() / "w.prg";
  const std::string utf8Bytes = "* \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC\r\nx = 1\r\n";
  const std::string winBytes = "* \xCF\xF0\xE8\xE2\xE5\xF2 \x93q\x94\r\ny = 2\r\n";
  Write(utf8, utf8Bytes);
  Write(win, winBytes);
  Tmux tmux;
  tmux.Start(Command(demo, Quote(utf8.string()) + " " + Quote(win.string())));
  ASSERT_TRUE(tmux.WaitForText("* Привет €")) << tmux.Screen();
  EXPECT_NE(tmux.Row(0).find("UTF-8  Line 1/3"), std::string::npos) << tmux.Screen();
  tmux.Keys("Down");
  tmux.Type("Ёж");
  ASSERT_TRUE(tmux.WaitForText("Ёжx = 1")) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, utf8, "* \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC\r\n"
                                      "\xD0\x81\xD0\xB6x = 1\r\n"));

  // F12 to the second file, read as 866 at first; Shift+F8 chooses 1251.
  tmux.Keys("F12");
  ASSERT_TRUE(tmux.WaitForText("w.prg")) << tmux.Screen();
  tmux.Keys("Down Enter");
  ASSERT_TRUE(tmux.WaitFor([](const std::string& s) { return s.find("u.prg") == std::string::npos; }));
  tmux.Keys("S-F8");
  ASSERT_TRUE(tmux.WaitForText("1251    Windows, Cyrillic")) << tmux.Screen();
  tmux.Keys("Down Enter");
  ASSERT_TRUE(tmux.WaitForText("* Привет “q”")) << tmux.Screen();
  EXPECT_NE(tmux.Row(0).find("1251  Line 1/3"), std::string::npos) << tmux.Screen();
  // A box character 1251 lacks is refused with a message, not written as "?".
  tmux.Type("╬");
  ASSERT_TRUE(tmux.WaitForText("has no")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("character U+256C"), std::string::npos) << tmux.Screen();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitGone("has no")) << tmux.Screen();
  tmux.Type("Ы");
  ASSERT_TRUE(tmux.WaitForText("Ы* Привет")) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, win, "\xDB" + winBytes)) << tmux.Screen();
  tmux.Keys("F10");
  ASSERT_TRUE(tmux.WaitForText("u.prg")) << tmux.Screen();
  tmux.Keys("F10");
  EXPECT_TRUE(tmux.WaitDead() || tmux.WaitGone("1Help"));

  // --codepage reads a file in the code page named.
  Write(win, winBytes);
  Tmux again;
  again.Start(Command(demo, "--codepage 1251 " + Quote(win.string())));
  ASSERT_TRUE(again.WaitForText("* Привет “q”")) << again.Screen();
  // In a DOS file the euro sign is refused the same way.
  Write(utf8, "x\r\n");
  Tmux dos;
  dos.Start(Command(demo, "--codepage 866 " + Quote(utf8.string())));
  ASSERT_TRUE(dos.WaitForText("1Help")) << dos.Screen();
  dos.Type("€");
  ASSERT_TRUE(dos.WaitForText("The code page 866 of this file has no")) << dos.Screen();
  dos.Keys("Enter");
  ASSERT_TRUE(dos.WaitGone("has no"));
  // Nothing changed: F10 closes without a question, and the file is as it was.
  dos.Keys("F10");
  ASSERT_TRUE(dos.WaitDead()) << dos.Screen();
  EXPECT_EQ(ReadFile(utf8), "x\r\n");
}

// 2,000 characters with full stops, the text of a FoxPro program.
std::string PastedText() {
  std::string text;
  for (int i = 0; text.size() < 2000; ++i)
    text += "m.n" + std::to_string(i) + " = cust.amount * 1.5 + THIS.Value && " + std::to_string(i) + ".\n";
  return text;
}

TEST_F(TmuxEditor, APasteArrivesWholeInAFileOutsideAProjectAndInTheDemo) {
  DemoCopy demo;
  const fs::path outside = fs::temp_directory_path() / ("vemlo-e2e-free-" + std::to_string(getpid()) + ".prg");
  struct Remove {
    fs::path P;
    ~Remove() { fs::remove(P); }
  } remove{outside};
  Write(outside, "end\r\n");
  const std::string original = ReadFile(demo.Main());
  const std::string text = PastedText();
  ASSERT_GE(text.size(), 2000u);
  const fs::path paste = demo.Dir() / "paste.txt";
  Write(paste, text);
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

  Tmux tmux;
  tmux.Start(Command(demo, Quote(outside.string()) + " " + Quote(demo.Main().string())));
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  tmux.Paste(paste);
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, outside, crlf + "end\r\n")) << tmux.Screen();
  EXPECT_EQ(tmux.Screen().find("VEM-LO"), std::string::npos) << "no command of the plug-in ran";

  tmux.Keys("F12");
  ASSERT_TRUE(tmux.WaitForText("MAIN.PRG")) << tmux.Screen();
  tmux.Keys("Down Enter");
  ASSERT_TRUE(tmux.WaitForText("Line 1/315")) << tmux.Screen();
  tmux.Paste(paste);
  ASSERT_TRUE(tmux.WaitModified(true)) << tmux.Screen();
  EXPECT_TRUE(SaveAndWait(tmux, demo.Main(), crlf + original)) << tmux.Screen();
  tmux.Keys("F10");
  tmux.Keys("F10");
}

TEST_F(TmuxEditor, KeysTypedWhileTheSettingsWarningComesUpAreKeptInOrder) {
  DemoCopy demo;
  const fs::path outside = fs::temp_directory_path() / ("vemlo-e2e-dot-" + std::to_string(getpid()) + ".prg");
  struct Remove {
    fs::path P;
    ~Remove() { fs::remove(P); }
  } remove{outside};
  Write(outside, "x\r\n");
  Tmux tmux;
  tmux.Start(Command(demo, Quote(outside.string())));
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  // In one write, as fast typing or a terminal without bracketed paste sends them.
  tmux.Type("m.abc");
  ASSERT_TRUE(tmux.WaitForText("Cannot read the project settings file")) << tmux.Screen();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("m.abcx")) << tmux.Screen();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitForText("Line 2/3")) << "the Enter typed afterwards is no one's but the editor's";
  EXPECT_TRUE(SaveAndWait(tmux, outside, "m.abc\r\nx\r\n")) << tmux.Screen();
  tmux.Keys("F10");
}

TEST_F(TmuxEditor, AResizeWhileAMenuIsOpenRedrawsTheEditorAndCentresTheMenu) {
  DemoCopy demo;
  Tmux tmux;
  tmux.Start(demo.Command());
  ASSERT_TRUE(tmux.WaitForText("1Help")) << tmux.Screen();
  tmux.Keys("F11");
  ASSERT_TRUE(tmux.WaitForText("VEM-LO")) << tmux.Screen();
  Shell(tmux.Cmd("resize-window -x 100 -y 30"));
  // 52 columns by 17 rows, centred on 100 x 30 (from column 24 of row 6); the
  // editor behind it fills the new screen.
  ASSERT_TRUE(tmux.WaitFor([&](const std::string& s) {
    return s.find("11Plugin") != std::string::npos && CharsBefore(tmux.Row(6), "╔═") == 24;
  })) << tmux.Screen();
  EXPECT_EQ(CharsBefore(tmux.Row(22), "╚═"), 24) << tmux.Screen();
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitGone("VEM-LO")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("#DEFINE APP_TITLE"), std::string::npos) << tmux.Screen();
  EXPECT_EQ(tmux.Screen().find("╔═════════════════════ VEM"), std::string::npos) << "no menu left behind";
  tmux.Keys("F10");
}

}  // namespace
