// Drawing and key helpers shared by the modal windows: frames, shadows, hot-key
// captions, colours with fallbacks, and the screen guard that puts back what a
// window covered.
#pragma once

#include <string>

#include "console.h"
#include "ui.h"

namespace vemlo::sim {

// Code page 866 box characters.
namespace box {
constexpr unsigned char kDblH = 0xCD, kDblV = 0xBA, kDblTL = 0xC9, kDblTR = 0xBB, kDblBL = 0xC8,
                        kDblBR = 0xBC;
constexpr unsigned char kSglH = 0xC4, kSglV = 0xB3, kSglTL = 0xDA, kSglTR = 0xBF, kSglBL = 0xC0,
                        kSglBR = 0xD9;
constexpr unsigned char kDblSepL = 0xC7, kDblSepR = 0xB6, kSglSepL = 0xC3, kSglSepR = 0xB4;
constexpr unsigned char kCheck = 0xFB;
}  // namespace box

// Palette colour from the host, or the usual default when the host gives none.
unsigned char UiColor(const UiEnv& env, int index);

void DrawBox(Console& con, int x1, int y1, int x2, int y2, unsigned char attr, bool dbl);
// " title " centred in a horizontal border row between x1 and x2 (corners excluded).
void DrawBorderText(Console& con, int x1, int x2, int y, const std::string& text,
                    unsigned char attr);
// A separator row across a frame: ╟───╢ (double) or ├───┤ (single).
void DrawSeparator(Console& con, int x1, int x2, int y, unsigned char attr, bool dbl);
// Darkens the two columns right of and the row below a box.
void DrawShadow(Console& con, int x1, int y1, int x2, int y2);

// Saves a rectangle (with room for its shadow) and the cursor; puts both back when
// it goes out of scope.
class ScreenGuard {
 public:
  ScreenGuard(Console& con, int x1, int y1, int x2, int y2);
  // The same for a window of `env`: after a resize the editors are drawn again
  // instead (the saved cells belong to the old screen).
  ScreenGuard(UiEnv& env, int x1, int y1, int x2, int y2);
  ~ScreenGuard();
  ScreenGuard(const ScreenGuard&) = delete;
  ScreenGuard& operator=(const ScreenGuard&) = delete;

 private:
  Console& con_;
  UiEnv* env_ = nullptr;
  int resizes_ = 0;
  Console::Saved saved_;
  int cursorX_, cursorY_;
  bool cursorVisible_;
};

// Next key-down event; other events are skipped. False when the input has ended.
bool NextKey(UiEnv& env, KEY_EVENT_RECORD& key);
// The same, but a resize of the screen also returns (`resized` set; the editors
// are drawn again already).
bool NextKeyOrResize(UiEnv& env, KEY_EVENT_RECORD& key, bool& resized);

// Remembers an entry of an input line's history (newest first, no repeats).
void RememberHistory(std::vector<std::string>& list, const std::string& text);

// PKF_* bits of a control-key state (either Ctrl counts as Ctrl, either Alt as Alt).
int ModifierBits(unsigned controlState);
// The character a key types, or, with Alt held, the letter or digit of its key.
unsigned char KeyChar(const KEY_EVENT_RECORD& key);
// Upper case for Latin and code page 866 Cyrillic letters.
unsigned char UpperOem(unsigned char c);

// A caption whose '&' marks the hot key: the text shown and where its hot key is.
struct HotText {
  std::string Shown;
  int HotPos = -1;  // index into Shown, -1 for none
  unsigned char Hot = 0;
};
HotText ParseHotText(const std::string& text, bool showAmpersand);
// Draws at most `width` bytes of the caption; the hot character in `hotAttr`.
void PutHotText(Console& con, int x, int y, const HotText& text, int width, unsigned char attr,
                unsigned char hotAttr);

// `text` cut to `width` bytes (nothing for a width below 1).
std::string CutTo(const std::string& text, int width);

}  // namespace vemlo::sim
