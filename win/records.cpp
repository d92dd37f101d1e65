// Field-by-field conversions: the native records have other sizes and widths
// (std::string, int for WORD), so nothing is copied as a block.
#include "records.h"

#include <cstring>

namespace vemlo::win {

namespace {

// Copies a fixed text field, always NUL-terminated and zero-filled behind the text.
template <size_t N, size_t M>
void CopyText(char (&out)[N], const char (&in)[M]) {
  const size_t n = strnlen(in, M < N ? M : N - 1);
  std::memset(out, 0, N);
  std::memcpy(out, in, n < N - 1 ? n : N - 1);
}

// The item's union holds a selected state or a pointer (history, mask, list);
// it is pointer-wide in both layouts, so it is carried over whole, whichever
// it holds.
template <typename Out, typename In>
void CopyParam(Out& out, const In& in) {
  static_assert(sizeof(Out) == sizeof(In) && sizeof(In) == sizeof(void*));
  std::memcpy(&out, &in, sizeof out);
}

// A dialog item has the same fields in both layouts.
template <typename In, typename Out>
void CopyDialogItem(const In& in, Out& out) {
  out.Type = in.Type;
  out.X1 = in.X1;
  out.Y1 = in.Y1;
  out.X2 = in.X2;
  out.Y2 = in.Y2;
  out.Focus = in.Focus;
  CopyParam(out.Param, in.Param);
  out.Flags = in.Flags;
  out.DefaultButton = in.DefaultButton;
  CopyText(out.Data, in.Data);
}

}  // namespace

void ToReal(const FarMenuItem& in, abi::FarMenuItem& out) {
  CopyText(out.Text, in.Text);
  out.Selected = in.Selected;
  out.Checked = in.Checked;
  out.Separator = in.Separator;
}

void ToReal(const FarDialogItem& in, abi::FarDialogItem& out) {
  std::memset(&out, 0, sizeof out);
  CopyDialogItem(in, out);
}

void FromReal(const abi::FarDialogItem& in, FarDialogItem& out) { CopyDialogItem(in, out); }

void FromReal(const abi::EditorInfo& in, EditorInfo& out) {
  out.EditorID = in.EditorID;
  out.FileName = in.FileName;
  out.WindowSizeX = in.WindowSizeX;
  out.WindowSizeY = in.WindowSizeY;
  out.TotalLines = in.TotalLines;
  out.CurLine = in.CurLine;
  out.CurPos = in.CurPos;
  out.CurTabPos = in.CurTabPos;
  out.TopScreenLine = in.TopScreenLine;
  out.LeftPos = in.LeftPos;
  out.Overtype = in.Overtype;
  out.BlockType = in.BlockType;
  out.BlockStartLine = in.BlockStartLine;
  out.AnsiMode = in.AnsiMode;
  out.TableNum = in.TableNum;
  out.Options = in.Options;
  out.TabSize = in.TabSize;
  out.BookMarkCount = in.BookMarkCount;
  out.CurState = in.CurState;
}

void FromReal(const abi::EditorGetString& in, EditorGetString& out) {
  out.StringNumber = in.StringNumber;
  out.StringText = in.StringText;
  out.StringEOL = in.StringEOL;
  out.StringLength = in.StringLength;
  out.SelStart = in.SelStart;
  out.SelEnd = in.SelEnd;
}

void ToReal(const EditorSetString& in, abi::EditorSetString& out) {
  out.StringNumber = in.StringNumber;
  out.StringText = in.StringText;
  out.StringEOL = in.StringEOL;
  out.StringLength = in.StringLength;
}

void ToReal(const EditorSetPosition& in, abi::EditorSetPosition& out) {
  out.CurLine = in.CurLine;
  out.CurPos = in.CurPos;
  out.CurTabPos = in.CurTabPos;
  out.TopScreenLine = in.TopScreenLine;
  out.LeftPos = in.LeftPos;
  out.Overtype = in.Overtype;
}

void ToReal(const EditorConvertPos& in, abi::EditorConvertPos& out) {
  out.StringNumber = in.StringNumber;
  out.SrcPos = in.SrcPos;
  out.DestPos = in.DestPos;
}

void FromReal(const abi::EditorConvertPos& in, EditorConvertPos& out) {
  out.StringNumber = in.StringNumber;
  out.SrcPos = in.SrcPos;
  out.DestPos = in.DestPos;
}

void ToReal(const KeyBarTitles& in, abi::KeyBarTitles& out) {
  for (int i = 0; i < 12; ++i) {
    out.Titles[i] = in.Titles[i];
    out.CtrlTitles[i] = in.CtrlTitles[i];
    out.AltTitles[i] = in.AltTitles[i];
    out.ShiftTitles[i] = in.ShiftTitles[i];
    out.CtrlShiftTitles[i] = in.CtrlShiftTitles[i];
    out.AltShiftTitles[i] = in.AltShiftTitles[i];
    out.CtrlAltTitles[i] = in.CtrlAltTitles[i];
  }
}

void ToReal(const INPUT_RECORD& in, abi::INPUT_RECORD& out) {
  std::memset(&out, 0, sizeof out);
  out.EventType = static_cast<abi::WORD>(in.EventType);
  abi::KEY_EVENT_RECORD& k = out.Event.KeyEvent;
  k.bKeyDown = in.KeyEvent.bKeyDown;
  k.wRepeatCount = static_cast<abi::WORD>(in.KeyEvent.wRepeatCount);
  k.wVirtualKeyCode = static_cast<abi::WORD>(in.KeyEvent.wVirtualKeyCode);
  k.wVirtualScanCode = static_cast<abi::WORD>(in.KeyEvent.wVirtualScanCode);
  k.uChar.UnicodeChar = static_cast<unsigned char>(in.KeyEvent.AsciiChar);
  k.dwControlKeyState = in.KeyEvent.dwControlKeyState;
}

void FromReal(const abi::INPUT_RECORD& in, INPUT_RECORD& out) {
  out = INPUT_RECORD{};
  out.EventType = in.EventType;
  if (in.EventType != KEY_EVENT) return;  // the plug-in reads key events only
  const abi::KEY_EVENT_RECORD& k = in.Event.KeyEvent;
  out.KeyEvent.bKeyDown = k.bKeyDown;
  out.KeyEvent.wRepeatCount = k.wRepeatCount;
  out.KeyEvent.wVirtualKeyCode = k.wVirtualKeyCode;
  out.KeyEvent.wVirtualScanCode = k.wVirtualScanCode;
  out.KeyEvent.AsciiChar = k.uChar.AsciiChar;
  out.KeyEvent.dwControlKeyState = k.dwControlKeyState;
}

void FromReal(const abi::SMALL_RECT& in, SMALL_RECT& out) {
  out.Left = in.Left;
  out.Top = in.Top;
  out.Right = in.Right;
  out.Bottom = in.Bottom;
}

void FromReal(const abi::PluginPanelItem& in, PluginPanelItem& out) {
  CopyText(out.FileName, in.FindData.cFileName);
  out.FileSize = (static_cast<uint64_t>(in.FindData.nFileSizeHigh) << 32) | in.FindData.nFileSizeLow;
  out.FileAttributes = in.FindData.dwFileAttributes;
}

void FromReal(const abi::PanelInfo& in, PanelInfo& out) {
  out.PanelType = in.PanelType;
  out.Plugin = in.Plugin;
  out.ItemsNumber = in.ItemsNumber;
  out.PanelItems = nullptr;
  out.CurrentItem = in.CurrentItem;
  out.TopPanelItem = in.TopPanelItem;
  out.Visible = in.Visible;
  out.Focus = in.Focus;
  CopyText(out.CurDir, in.CurDir);
}

void ToReal(const PluginInfo& in, abi::PluginInfo& out) {
  std::memset(&out, 0, sizeof out);
  out.StructSize = sizeof(abi::PluginInfo);
  out.Flags = in.Flags;
  out.DiskMenuStrings = in.DiskMenuStrings;
  out.DiskMenuNumbers = in.DiskMenuNumbers;
  out.DiskMenuStringsNumber = in.DiskMenuStringsNumber;
  out.PluginMenuStrings = in.PluginMenuStrings;
  out.PluginMenuStringsNumber = in.PluginMenuStringsNumber;
  out.PluginConfigStrings = in.PluginConfigStrings;
  out.PluginConfigStringsNumber = in.PluginConfigStringsNumber;
  out.CommandPrefix = in.CommandPrefix;
  out.Reserved = in.Reserved;
}

}  // namespace vemlo::win
