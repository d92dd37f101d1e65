// The replacement host's colour palette, indexed as the host's palette (ACTL_GETCOLOR).
#pragma once

namespace vemlo::sim {

// Palette indexes the host's own windows use beyond those of far_api.h.
enum : int {
  COL_MENUHIGHLIGHT = 2, COL_MENUSELECTEDHIGHLIGHT = 3,
  COL_DIALOGBOX = 23, COL_DIALOGBOXTITLE = 24, COL_DIALOGEDIT = 26, COL_DIALOGBUTTON = 27,
  COL_DIALOGSELECTEDBUTTON = 28, COL_WARNDIALOGTEXT = 35, COL_WARNDIALOGBOX = 37,
  COL_WARNDIALOGBUTTON = 41, COL_WARNDIALOGSELECTEDBUTTON = 42, COL_KEYBARNUM = 45,
  COL_KEYBARTEXT = 46, COL_VIEWERTEXT = 50, COL_VIEWERSTATUS = 52, COL_EDITORTEXT = 53,
  COL_EDITORSELECTEDTEXT = 54, COL_EDITORSTATUS = 55, COL_HELPTEXT = 56,
  COL_HELPHIGHLIGHTTEXT = 57, COL_HELPTOPIC = 58, COL_HELPSELECTEDTOPIC = 59,
  COL_HELPBOX = 60, COL_HELPBOXTITLE = 61, COL_PALETTESIZE = 128,
};

// The colour attribute of a palette index (low nibble foreground, high background);
// 0x07 for an index outside the palette.
int PaletteColor(int index);

}  // namespace vemlo::sim
