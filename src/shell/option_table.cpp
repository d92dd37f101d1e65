// The option table: 34 records in three groups, with their defaults.
#include "shell/vemlocfg.h"

namespace vemlo {

namespace {

std::vector<TxxPluginOption> DefaultOptions() {
  auto opt = [](int group, unsigned char kind, unsigned char caption, int labelWidth,
                const char* name, const char* value, int editWidth = 0,
                const char* mask = nullptr) {
    TxxPluginOption o;
    o.Group = group;
    o.Kind = kind;
    o.Caption = caption;
    o.LabelWidth = labelWidth;
    o.Name = name;
    o.Value = value;
    o.EditWidth = editWidth;
    o.Mask = mask;
    return o;
  };
  return {
      opt(0, okGroupTitle, 78, 60, "", ""),
      opt(0, okCheck, 79, 56, "KeyPreview", "+"),
      opt(0, okCheck, 80, 56, "SoundSignals", "+"),
      opt(0, okCheck, 81, 56, "ShowBookmarks", "+"),
      opt(0, okEditBelow, 82, 60, "FileExtensions", ".prg;.spr;.mpr", 60),
      opt(0, okEditBelow, 83, 60, "DBFViewerName", "", 60),
      opt(0, okEditBelow, 84, 60, "FoxHelpBaseParams", "", 60),
      opt(0, okListButton, 85, 56, "FoxHelpBases", ""),
      opt(0, okSeparator, 86, 60, "", ""),
      opt(0, okCheck, 87, 56, "InsightAutoDropDown", ""),
      opt(0, okEdit, 88, 30, "InsightHeight", "40%", 10),
      opt(0, okEdit, 89, 30, "InsightWidth", "45", 10),
      opt(0, okEdit, 90, 30, "InsightWidth1", "15", 10),
      opt(1, okGroupTitle, 91, 60, "", ""),
      opt(1, okEdit, 92, 36, "FmtTextBaseIndent", "   t   s", 8, "###t###s"),
      opt(1, okEdit, 93, 36, "FmtTextAddIndentProc", "   t   s", 8, "###t###s"),
      opt(1, okEdit, 94, 36, "FmtTextStructIndentStep", "  1t   s", 8, "###t###s"),
      opt(1, okEdit, 95, 36, "FmtTextAddIndentCase", "   t   s", 8, "###t###s"),
      opt(1, okEdit, 96, 36, "FmtTextWrapedStrIndent", "   t  8s", 8, "###t###s"),
      opt(1, okEditBelow, 97, 50, "FmtTextInlineCommentPos", "", 50),
      opt(1, okCheck, 98, 46, "FmtTextIndentCommented", ""),
      opt(2, okGroupTitle, 99, 55, "", ""),
      opt(2, okEdit, 100, 35, "ReviewFoxStructStep", " 3", 2, "#9"),
      opt(2, okEdit, 101, 35, "ReviewBracketWidth", " 2", 2, "#9"),
      opt(2, okEdit, 102, 35, "ReviewBracketIndent", " 1", 2, "#9"),
      opt(2, okSeparator, 103, 55, "", ""),
      opt(2, okEdit, 104, 45, "ReviewCharSetCond", "\xDA\xB3\xC3\xC0\xC4", 5, "XXXXX"),
      opt(2, okEdit, 105, 45, "ReviewCharSetLoop", "\xD6\xBA\xC7\xC7\xD3\xC4", 6, "XXXXXX"),
      opt(2, okEdit, 106, 45, "ReviewCharSetExit", "\x3C\xCD", 2, "XX"),
      opt(2, okEdit, 107, 45, "ReviewCharSetPair", "/-\\-", 4, "XXXX"),
      opt(2, okSeparator, 108, 55, "", ""),
      opt(2, okText, 109, 55, "", ""),
      opt(2, okListButton, 110, 51, "ReviewAddKeyWords", "set\x0Cprivate\x0Cselect"),
      opt(2, okListButton, 111, 51, "ReviewAddPairList",
          "push key / pop key\x0C" "define wind / release wind"),
  };
}

std::vector<TxxPluginOption> g_options = DefaultOptions();

}  // namespace

std::vector<TxxPluginOption>& PluginOptions() { return g_options; }

void ResetOptions() { g_options = DefaultOptions(); }

}  // namespace vemlo
