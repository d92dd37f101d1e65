#include "palette.h"

#include "host/far_api.h"

namespace vemlo::sim {

namespace {

struct Entry {
  int Index;
  int Attr;
};

// A blue and cyan scheme: menus black on cyan, dialogs black on grey, warnings
// white on red, the editor aqua on blue, disabled menu items dark grey on cyan.
const Entry kPalette[] = {
    {COL_MENUTEXT, 0x30}, {COL_MENUSELECTEDTEXT, 0x0F}, {COL_MENUHIGHLIGHT, 0x3F},
    {COL_MENUSELECTEDHIGHLIGHT, 0x0E}, {COL_MENUBOX, 0x3F}, {COL_MENUTITLE, 0x3F},
    {6, 0x30}, {7, 0x0F}, {8, 0x3F}, {9, 0x0E},                        // horizontal menu
    {10, 0x1B}, {11, 0x1E}, {12, 0x1F}, {13, 0x1B}, {14, 0x30}, {15, 0x3E},  // panels
    {16, 0x1B}, {17, 0x30}, {18, 0x1E}, {19, 0x1B}, {20, 0x3E},
    {COL_DIALOGTEXT, 0x70}, {COL_DIALOGHIGHLIGHTTEXT, 0x7E}, {COL_DIALOGBOX, 0x70},
    {COL_DIALOGBOXTITLE, 0x70}, {25, 0x7E}, {COL_DIALOGEDIT, 0x30}, {COL_DIALOGBUTTON, 0x70},
    {COL_DIALOGSELECTEDBUTTON, 0x30}, {29, 0x7E}, {30, 0x3E}, {31, 0x70}, {32, 0x0F},
    {33, 0x7E}, {34, 0x0E},
    {COL_WARNDIALOGTEXT, 0x4F}, {36, 0x4E}, {COL_WARNDIALOGBOX, 0x4F}, {38, 0x4F}, {39, 0x4E},
    {40, 0x30}, {COL_WARNDIALOGBUTTON, 0x4F}, {COL_WARNDIALOGSELECTEDBUTTON, 0x70}, {43, 0x4E},
    {44, 0x7E},
    {COL_KEYBARNUM, 0x07}, {COL_KEYBARTEXT, 0x30}, {47, 0x07}, {48, 0x07}, {49, 0x30},
    {COL_VIEWERTEXT, 0x1B}, {51, 0x30}, {COL_VIEWERSTATUS, 0x30},
    {COL_EDITORTEXT, 0x1B}, {COL_EDITORSELECTEDTEXT, 0x30}, {COL_EDITORSTATUS, 0x30},
    {COL_HELPTEXT, 0x30}, {COL_HELPHIGHLIGHTTEXT, 0x3F}, {COL_HELPTOPIC, 0x34},
    {COL_HELPSELECTEDTOPIC, 0x0F}, {COL_HELPBOX, 0x30}, {COL_HELPBOXTITLE, 0x30},
    {63, 0x30}, {64, 0x1B}, {65, 0x30}, {66, 0x1B}, {68, 0x0F}, {72, 0x70}, {73, 0x3F},
    {74, 0x1B}, {76, 0x78}, {77, 0x78}, {78, 0x78}, {79, 0x48}, {80, 0x48}, {81, 0x48},
    {COL_MENUDISABLEDTEXT, 0x38},
};

}  // namespace

int PaletteColor(int index) {
  for (const Entry& e : kPalette)
    if (e.Index == index) return e.Attr;
  return 0x07;
}

}  // namespace vemlo::sim
