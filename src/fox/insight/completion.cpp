// Symbol completion: which identifier the cursor stands on, what precedes it, and
// the groups of names that fit there.
#include "fox/insight/completion.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "dbf/dbc.h"
#include "dbf/xxdbf.h"
#include "fox/model/scanner.h"
#include "lib/xxlib.h"
#include "platform/platform.h"

namespace vemlo {

namespace {

// Records of a loaded table (the length of its first column).
int RecordCount(const TxxDBF& table) {
  if (table.State != dsLoaded || table.Fields.empty()) return 0;
  return static_cast<int>(table.Fields[0].Values.size());
}

// The column of a loaded table that the settings file names; -1 without one.
int ColumnOf(const TxxIniFile& ini, const TxxDBF& table, const std::string& section, const std::string& key) {
  if (table.State != dsLoaded) return -1;
  std::string name;
  LookupIni(ini, section, key, name);
  return FindDBFField(table, name);
}

// Opens a group; CloseGroup drops the header again when no row followed it.
size_t OpenGroup(TxxSymbToCompleteArr& list, const std::string& title, unsigned char later = 0) {
  list.push_back(TxxSymbToComplete{title, "", later, skHeader, 0});
  return list.size() - 1;
}

void CloseGroup(TxxSymbToCompleteArr& list, size_t header) {
  if (list.size() == header + 1) list.pop_back();
}

void AddDefines(TxxInsight& in) {
  const size_t h = OpenGroup(in.Candidates, "#defines");
  for (size_t i = 0; i < in.Defines.size(); ++i) {
    const TxxFoxDefine& d = in.Defines[i];
    in.Candidates.push_back(
        TxxSymbToComplete{d.Name, d.Value + " " + d.Rest, 0, skDefine, static_cast<int32_t>(i)});
  }
  CloseGroup(in.Candidates, h);
}

// With no statement under the cursor (it stands below the last one) every
// statement lies before it.
unsigned char LaterThanCursor(const TxxInsight& in, int index) {
  return in.CursorStatement >= 0 && index > in.CursorStatement ? 1 : 0;
}

// Elements of one kind from every statement but the cursor's own.
void AddElements(TxxInsight& in, unsigned char kind, const std::string& title) {
  const size_t h = OpenGroup(in.Candidates, title);
  for (size_t i = 0; i < in.Statements.size(); ++i) {
    const int index = static_cast<int>(i);
    if (index == in.CursorStatement) continue;
    const unsigned char later = LaterThanCursor(in, index);
    for (const TxxFoxElement& e : in.Statements[i].Elements) {
      if (e.Kind != kind) continue;
      in.Candidates.push_back(TxxSymbToComplete{e.Name, e.Source, later, skElement, index});
    }
  }
  CloseGroup(in.Candidates, h);
}

void AddProcedures(TxxInsight& in, const TxxFoxProj& proj) {
  const size_t h = OpenGroup(in.Candidates, "procedures");
  for (size_t p = 0; p < proj.Progs.size(); ++p) {
    const TxxFoxProg& prog = proj.Progs[p];
    const size_t count = prog.IsLibrary ? prog.Procs.size() : Min(1, static_cast<int>(prog.Procs.size()));
    for (size_t i = 0; i < count; ++i) {
      const TxxFoxProc& proc = prog.Procs[i];
      if (IsBlank(proc.Name)) continue;
      std::string descr = proc.IsFunction ? "function " : "procedure";
      if (prog.FileName == in.FileName) {
        descr = "local " + descr;
      } else if (prog.IsLibrary) {
        descr += " in " + ExtractFileName(prog.FileName);
      } else {
        descr.clear();
      }
      in.Candidates.push_back(TxxSymbToComplete{proc.Name, descr, 0, skProc, static_cast<int32_t>(p)});
    }
  }
  CloseGroup(in.Candidates, h);
}

void AddBases(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini) {
  const TxxDBF& t = proj.KdfBases;
  const int base = ColumnOf(ini, t, "KDF_BASES", "FieldName_BASE");
  const int rem = ColumnOf(ini, t, "KDF_BASES", "FieldName_REM");
  if (base < 0 || rem < 0) return;
  const size_t h = OpenGroup(in.Candidates, platform::ExpandFileName(t.FileName));
  const int n = RecordCount(t);
  for (int r = 0; r < n; ++r)
    in.Candidates.push_back(
        TxxSymbToComplete{DBFValueRef(t, base, r), DBFValueRef(t, rem, r), 0, skBase, r});
  CloseGroup(in.Candidates, h);
}

void AddTables(TxxInsight& in, const TxxFoxProj& proj) {
  const size_t h = OpenGroup(in.Candidates, "DBF");
  for (const std::string& file : proj.Bases) {
    const std::string name = ExtractFileName(file);
    const std::string ext = ExtractFileExt(name);
    in.Candidates.push_back(
        TxxSymbToComplete{name.substr(0, name.size() - ext.size()), file, 0, skTable, -1});
  }
  CloseGroup(in.Candidates, h);
}

// Both option tables share one structure: the columns are found in the local one.
void AddOptions(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini) {
  const int id = ColumnOf(ini, proj.LocalOptions, "OPTIONS", "FieldName_ID");
  if (id < 0) return;
  const int desc = ColumnOf(ini, proj.LocalOptions, "OPTIONS", "FieldName_DESC");
  const struct {
    const TxxDBF* Table;
    const char* Title;
    unsigned char Kind;
  } groups[] = {{&proj.LocalOptions, "local options", skLocalOption},
                {&proj.GlobalOptions, "global options", skGlobalOption}};
  for (const auto& g : groups) {
    const size_t h = OpenGroup(in.Candidates, g.Title);
    const int n = RecordCount(*g.Table);
    for (int r = 0; r < n; ++r)
      in.Candidates.push_back(TxxSymbToComplete{DBFValueRef(*g.Table, id, r),
                                                DBFValueRef(*g.Table, desc, r), 0, g.Kind, r});
    CloseGroup(in.Candidates, h);
  }
}

// The dictionary compares base names on eight characters, upper case.
std::string Key8(const std::string& s) { return UpperCase(PadRightTo(s, 8)); }

void AddDictionaryFields(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini, std::string& a8) {
  const TxxDBF& bases = proj.KdfBases;
  const int base = ColumnOf(ini, bases, "KDF_BASES", "FieldName_BASE");
  const int cross = ColumnOf(ini, bases, "KDF_BASES", "FieldName_CROSS");
  if (base >= 0 && cross >= 0) {
    const int n = RecordCount(bases);
    for (int r = 0; r < n; ++r) {
      if (Key8(DBFValueRef(bases, base, r)) != a8) continue;
      const std::string& to = DBFValueRef(bases, cross, r);
      if (!IsBlank(to)) a8 = Key8(to);
    }
  }
  const TxxDBF& t = proj.KdfFields;
  const int fBase = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_BASE");
  const int fName = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_FNAME");
  if (fBase < 0 || fName < 0) return;
  const int fType = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_FTYPE");
  const int fLen = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_FLEN");
  const int fDec = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_FDEC");
  const int fRem = ColumnOf(ini, t, "KDF_FIELDS", "FieldName_REM");
  const int n = RecordCount(t);
  for (int r = 0; r < n; ++r) {
    if (Key8(DBFValueRef(t, fBase, r)) != a8) continue;
    std::string descr = DBFValueRef(t, fType, r);
    descr += " (";
    descr += DBFValueRef(t, fLen, r);
    descr += ",";
    descr += DBFValueRef(t, fDec, r);
    descr += ") ";
    descr += DBFValueRef(t, fRem, r);
    in.Candidates.push_back(TxxSymbToComplete{DBFValueRef(t, fName, r), std::move(descr), 0, skBaseField, r});
  }
}

// The last resort: the header of the project's table file of that name, or
// of the table a database container of the project knows by that long name.
// (The dictionary's eight characters are too few for a long name: it is
// looked for as written.)
void AddHeaderFields(TxxInsight& in, const TxxFoxProj& proj, const std::string& a8, const std::string& alias,
                     const TxxTableLoader& loadTable) {
  const std::string wanted = Trim(a8) + ".DBF";
  const std::string named = UpperCase(DbcTablePath(proj.Databases, alias));
  for (const std::string& file : proj.Bases) {
    if (UpperCase(ExtractFileName(file)) != wanted && UpperCase(file) != named) continue;
    const size_t h = OpenGroup(in.Candidates, file);
    TxxDBF table;
    LoadTableWith(loadTable, table, true, file);
    // A table of a database container is known by its fields' long names.
    const std::optional<TxxDbcTable> entry = FindDbcTable(table, proj.Databases);
    for (size_t f = 0; f < table.Fields.size(); ++f) {
      const TxxDBFField& field = table.Fields[f];
      char buf[32];
      const char type[2] = {field.FieldType, 0};
      std::snprintf(buf, sizeof buf, "%1s (%3d,%1d)", type, field.Len, field.Dec);
      std::string descr = buf;
      if (entry && !entry->Fields[f].Comment.empty()) descr += " " + entry->Fields[f].Comment;
      in.Candidates.push_back(TxxSymbToComplete{entry ? entry->Fields[f].Name : field.Name, std::move(descr), 0,
                                                skTableField, static_cast<int32_t>(f)});
    }
    CloseDBF(table);
    CloseGroup(in.Candidates, h);
    return;
  }
}

}  // namespace

bool MatchesPrefix(const std::string& name, const std::string& prefix) {
  const auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (size_t k = 0; k < prefix.size(); ++k) {
    const char c = k < name.size() ? name[k] : ' ';
    if (up(c) != up(prefix[k])) return false;
  }
  return true;
}

void FindInsightWordIn(TxxInsight& in, const std::string& line, int cursorLine, int cursorCol) {
  const int length = static_cast<int>(line.size());
  const int c = cursorCol + 1;
  in.CursorLine = cursorLine;
  in.CursorPos = c;
  int anchor = c;
  if ((c > 1 && c == length + 1) || (c > 1 && c <= length && !InSet(IdentChars, line[c - 1])))
    anchor = c - 1;
  int right = 0;
  int left = 0;
  in.Word = WordAt(line, IdentChars, anchor, right, left);
  in.WordLeft = left;
  in.WordRight = right;
  in.Prefix.clear();
  if (!in.Word.empty() && c - 1 > left) in.Prefix = line.substr(static_cast<size_t>(left), static_cast<size_t>(c - 1 - left));
  in.Context.clear();
  const int wl = in.WordLeft;
  if (wl > 0 && wl <= length && (line[wl - 1] == '&' || line[wl - 1] == '@')) {
    in.Context = std::string(1, line[wl - 1]);
  } else if (wl >= 2 && wl <= length && line[wl - 1] == '.') {
    int r = wl;
    int l = 0;
    in.Context = WordAt(line, WithChars(IdentChars, "."), wl, r, l);
  }
}

void AppendAliasFields(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini, const std::string& alias,
                       const TxxTableLoader& loadTable) {
  TxxSymbToCompleteArr& list = in.Candidates;
  const size_t m = list.size();
  const std::string wanted = UpperCase(Trim(alias));
  for (size_t i = 0; i < in.Statements.size(); ++i) {
    const TxxFoxString& st = in.Statements[i];
    if (st.Kind != stCreateCursor || st.Elements.empty()) continue;
    const TxxFoxElement& first = st.Elements[0];
    if (first.Kind != ekAlias || UpperCase(Trim(first.Name)) != wanted) continue;
    list.resize(m);
    const int index = static_cast<int>(i);
    OpenGroup(list, Trim(first.Source), LaterThanCursor(in, index));
    for (size_t e = 1; e < st.Elements.size(); ++e)
      if (st.Elements[e].Kind == ekField)
        list.push_back(TxxSymbToComplete{st.Elements[e].Name, st.Elements[e].Source, 0, skElement, index});
  }
  if (list.size() >= m + 2) return;
  list.resize(m);
  OpenGroup(list, platform::ExpandFileName(proj.KdfFields.FileName));
  std::string a8 = Key8(alias);
  AddDictionaryFields(in, proj, ini, a8);
  if (list.size() > m + 1) return;
  list.resize(m);
  AddHeaderFields(in, proj, a8, alias, loadTable);
}

namespace {

// THIS.: the properties and methods of the cursor's class and of the classes it
// inherits from, where the project defines them (a parent's HIDDEN members are
// not seen). False outside classes.
bool AddClassMembers(TxxInsight& in, const TxxFoxProj& proj) {
  const std::vector<TxxClassRef> chain = ClassChain(proj, in.ProgIndex, in.ProcIndex);
  if (chain.empty()) return false;
  const size_t h = OpenGroup(in.Candidates, "members");
  std::vector<std::string> seen;
  for (size_t depth = 0; depth < chain.size(); ++depth) {
    const TxxFoxProcArr& procs = proj.Progs[static_cast<size_t>(chain[depth].File)].Procs;
    const size_t cls = static_cast<size_t>(chain[depth].Entry);
    const std::string& owner = procs[cls].Name;
    const auto add = [&](const std::string& name, unsigned char visibility, const char* what,
                         unsigned char kind) {
      if (depth > 0 && visibility == vsHidden) return;
      for (const std::string& s : seen)
        if (UpperCase(s) == UpperCase(name)) return;
      seen.push_back(name);
      in.Candidates.push_back(TxxSymbToComplete{name, std::string(what) + owner, 0, kind, 0});
    };
    for (const TxxFoxMember& m : procs[cls].Members) add(m.Name, m.Visibility, "property of ", skNone);
    for (size_t k = cls + 1; k < procs.size() && procs[k].Kind == pkMethod; ++k) {
      const std::string& name = procs[k].Name;
      add(name.substr(name.find('.') + 1), procs[k].Visibility, "method of ", skMethod);
    }
  }
  CloseGroup(in.Candidates, h);
  return true;
}

}  // namespace

bool CollectCandidates(TxxInsight& in, const TxxFoxProj& proj, const TxxIniFile& ini,
                       const TxxTableLoader& loadTable) {
  in.Candidates.clear();
  const std::string& context = in.Context;
  const bool programs = !proj.Progs.empty();
  if (context == ".") return false;
  if (context.empty()) {
    if (programs) {
      AddDefines(in);
      AddElements(in, ekArray, "arrays");
    }
    AddProcedures(in, proj);
    if (programs) AddElements(in, ekAlias, "aliases");
    AddBases(in, proj, ini);
    AddTables(in, proj);
  } else if (UpperCase(context) == "M.") {
    if (programs) AddElements(in, ekVariable, "var");
    AddOptions(in, proj, ini);
  } else if (context == "&" || context == "@") {
    if (programs) {
      AddElements(in, ekVariable, "var");
      AddElements(in, ekArray, "arrays");
    }
    AddOptions(in, proj, ini);
  } else if (UpperCase(context) == "THIS." && AddClassMembers(in, proj)) {
    return true;
  } else {
    const std::string alias = context.substr(0, context.size() - 1);
    if (alias.find('.') != std::string::npos) return false;
    AppendAliasFields(in, proj, ini, alias, loadTable);
  }
  return true;
}

}  // namespace vemlo
