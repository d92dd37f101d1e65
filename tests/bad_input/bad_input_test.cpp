// Every command run on the demo project with one of its tables, settings or
// program files damaged: each run ends with the reader's message or silently,
// leaves the edited text and every file as they were and no temporary file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "demo_session.h"
#include "lib/xxlib.h"

namespace vemlo::test {
namespace {

bool Is(const std::string& command, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (command == n) return true;
  return false;
}

// Commands that load the project first (and so read the settings file and the
// dictionary and option tables). The procedure list and the formatter refresh
// the edited file only; the others named here do not refresh at all.
bool Refreshes(const std::string& command) {
  return !Is(command, {"table-structure", "insert-key", "comment-block", "procedure-list", "formatter"});
}

struct Damage {
  const char* Name;
  std::function<void(const DemoProject&)> Apply;
  int Message = -1;            // the reader's message the affected commands show
  const char* FileName = "";   // the file that message names
  std::function<bool(const std::string&)> Shows = [](const std::string&) { return false; };
  const char* Edited = "MAIN.PRG";
  // The message comes while the project loads, before the command's own windows.
  bool AtLoad = false;
  const char* Answer = "Esc\n";  // how the user answers it
  // Further messages one command shows besides the reader's.
  std::function<std::vector<int>(const std::string&)> Extra = [](const std::string&) {
    return std::vector<int>{};
  };
};

std::string Junk(size_t size, unsigned seed) {
  std::string s(size, '\0');
  for (char& c : s) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return s;
}

std::string OneLongLine(size_t size) {
  std::string s = "x = ";
  while (s.size() < size) s += "Fn(a, \"b;\", [c]) + ";
  return s + "1\r\n";
}

Damage AtLoad(Damage d) {
  d.AtLoad = true;
  return d;
}

// Messages a command shows of its own besides the reader's.
std::function<std::vector<int>(const std::string&)> Also(const char* command, std::vector<int> messages) {
  return [command, messages](const std::string& c) { return c == command ? messages : std::vector<int>{}; };
}

std::vector<Damage> Damages() {
  std::vector<Damage> d;
  d.push_back(AtLoad({"dictionary_truncated",
                      [](const DemoProject& p) { TruncateFile(p.Path("dict/KDF_FIELDS.DBF"), 0.6); }, 31,
                      "KDF_FIELDS.DBF", Refreshes}));
  // Ignore: the records the file still holds are read.
  Damage ignored = AtLoad({"dictionary_truncated_ignored",
                           [](const DemoProject& p) { TruncateFile(p.Path("dict/KDF_FIELDS.DBF"), 0.6); }, 31,
                           "KDF_FIELDS.DBF", Refreshes});
  ignored.Answer = "Right\nRight\nEnter\n";
  d.push_back(ignored);
  Damage version{"dictionary_version_byte", [](const DemoProject& p) { PatchByte(p.Path("dict/KDF_BASES.DBF"), 0, 0x02); },
                 30, "KDF_BASES.DBF", Refreshes};
  // Without the table the report has no table-name column.
  version.Extra = Also("dictionary-report", {28});
  d.push_back(AtLoad(version));
  d.push_back(AtLoad({"options_header_length_0",
               [](const DemoProject& p) {
                 PatchByte(p.Path("options/LOPTIONS.DBF"), 8, 0);
                 PatchByte(p.Path("options/LOPTIONS.DBF"), 9, 0);
               },
               31, "LOPTIONS.DBF", Refreshes}));
  d.push_back(AtLoad({"options_missing",
                      [](const DemoProject& p) { std::remove(p.Path("options/GOPTIONS.DBF").c_str()); }, 34,
                      "GOPTIONS.DBF", Refreshes}));
  // A catalogue that did not load is then reported as unreadable.
  Damage audit{"audit_catalogue_truncated",
               [](const DemoProject& p) { TruncateFile(p.Path("audit/PROCEDRS.DBF"), 0.5); }, 31, "PROCEDRS.DBF",
               [](const std::string& c) { return c == "audit-defines"; }};
  audit.Extra = Also("audit-defines", {32});
  d.push_back(audit);
  d.push_back({"project_table_header_length_0",
               [](const DemoProject& p) {
                 PatchByte(p.Path("data/CUSTOMER.DBF"), 8, 0);
                 PatchByte(p.Path("data/CUSTOMER.DBF"), 9, 0);
               },
               31, "CUSTOMER.DBF", [](const std::string& c) { return c == "table-structure"; }});
  d.push_back({"help_base_truncated", [](const DemoProject& p) { TruncateFile(p.Path("help/FOXHELP.DBF"), 0.5); },
               31, "FOXHELP.DBF",
               [](const std::string& c) { return Is(c, {"f1-help", "f1-choose-base", "hint-function"}); }});
  d.push_back({"help_memo_missing", [](const DemoProject& p) { std::remove(p.Path("help/FOXHELP.FPT").c_str()); },
               32, "FOXHELP.FPT", [](const std::string& c) { return Is(c, {"f1-help", "f1-choose-base"}); }});
  d.push_back({"help_memo_truncated", [](const DemoProject& p) { TruncateFile(p.Path("help/FOXHELP.FPT"), 0.3); }});
  // Junk names no table: the report misses its table-name column.
  Damage junk{"settings_binary_junk", [](const DemoProject& p) {
                p.tree.Write("demo/vemlo.ini", Junk(4096, 7) + "\n[PROJ]\nPrgSearchMask=" + std::string(100000, '\xff'));
              }};
  junk.Extra = Also("dictionary-report", {28});
  d.push_back(junk);
  Damage unreadable{"settings_unreadable", [](const DemoProject& p) { MakeUnreadable(p.Path("vemlo.ini")); }, 27,
                     "", Refreshes};
  unreadable.Extra = Also("dictionary-report", {28});
  d.push_back(AtLoad(unreadable));
  d.push_back({"program_unreadable", [](const DemoProject& p) { MakeUnreadable(p.Path("src/ORDERS.PRG")); }});
  d.push_back({"program_1mb_single_line",
               [](const DemoProject& p) { p.tree.Write("demo/lib/UTILS.PRG", OneLongLine(1 << 20)); }});
  Damage bigEdited{"edited_1mb_single_line",
                   [](const DemoProject& p) { p.tree.Write("demo/src/BIG.PRG", OneLongLine(1 << 20)); }};
  bigEdited.Edited = "src/BIG.PRG";
  bigEdited.Extra = Also("audit-call", {36});  // the file has no audit #DEFINE
  d.push_back(bigEdited);
  Damage junkEdited{"edited_binary_junk", [](const DemoProject& p) { p.tree.Write("demo/src/JUNK.PRG", Junk(65536, 3)); }};
  junkEdited.Edited = "src/JUNK.PRG";
  junkEdited.Extra = Also("audit-call", {36});
  d.push_back(junkEdited);
  d.push_back({"key_table_truncated", [](const DemoProject& p) { TruncateFile(p.ModuleDir() + "/FoxKeys.dbf", 0.5); },
               31, "FOXKEYS.DBF", [](const std::string& c) { return c == "insert-key"; }});
  d.push_back({"key_table_missing", [](const DemoProject& p) { std::remove((p.ModuleDir() + "/FoxKeys.dbf").c_str()); },
               34, "FOXKEYS.DBF", [](const std::string& c) { return c == "insert-key"; }});
  return d;
}

std::string Describe(const DemoRun& run) {
  std::string s = "status " + std::to_string(run.Process.Status) + ", windows:\n";
  for (const std::string& w : run.Windows) s += "  " + w.substr(0, 300) + "\n";
  if (!run.Parsed) s += run.Process.Output.substr(0, 3000);
  return s;
}

void PrintTo(const Damage& d, std::ostream* os) { *os << d.Name; }

class BadInput : public ::testing::TestWithParam<Damage> {};

TEST_P(BadInput, EveryCommandEndsCleanly) {
  const Damage& damage = GetParam();
  DemoProject project;
  damage.Apply(project);
  const DemoRun baseline = project.Run("", damage.Edited);
  ASSERT_TRUE(baseline.Parsed) << baseline.Process.Output.substr(0, 2000);

  for (const DemoCommand& command : DemoCommands()) {
    SCOPED_TRACE(command.Name);
    // The user answers a message of the project load, then goes on.
    const bool loadMessage = damage.AtLoad && Refreshes(command.Name);
    const DemoRun run = project.Run(std::string(command.Start) + (loadMessage ? damage.Answer : "") + command.Then,
                                    damage.Edited);
    EXPECT_EQ(run.Process.Status, 0) << Describe(run);
    EXPECT_FALSE(HasSanitizerReport(run.Process.Output)) << run.Process.Output.substr(0, 4000);
    ASSERT_TRUE(run.Parsed) << run.Process.Output.substr(0, 4000);
    EXPECT_EQ(run.TempFilesLeft, 0);
    EXPECT_TRUE(run.Changed.empty()) << run.Changed.front();
    if (!command.Edits) {
      EXPECT_TRUE(run.FinalText == baseline.FinalText) << "the edited text changed";
    }

    std::vector<int> expected = damage.Extra(command.Name);
    if (damage.Shows(command.Name)) expected.insert(expected.begin(), damage.Message);
    std::vector<int> shown = ProblemMessages(run);
    // A reader's message comes once per failed load; the same table may be asked
    // for more than once in a run, so repeated numbers count once here.
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    EXPECT_EQ(shown, expected) << Describe(run);
    if (damage.Shows(command.Name) && *damage.FileName) {
      bool named = false;
      for (const std::string& w : run.Windows) named = named || UpperCase(w).find(damage.FileName) != std::string::npos;
      EXPECT_TRUE(named) << "no message names " << damage.FileName << "\n" << Describe(run);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Demo, BadInput, ::testing::ValuesIn(Damages()),
                         [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace vemlo::test
