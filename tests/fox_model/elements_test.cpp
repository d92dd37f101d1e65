#include <gtest/gtest.h>

#include "fox/model/scanner.h"
#include "text_lines.h"

namespace vemlo {
namespace {

using test::ElementsOf;

struct Expected {
  std::string Name;
  unsigned char Kind;
  std::string Source;
};

void ExpectElements(const std::string& text, const std::vector<Expected>& expected) {
  SCOPED_TRACE(text);
  const TxxFoxElementArr got = ElementsOf(text);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].Name, expected[i].Name) << i;
    EXPECT_EQ(got[i].Kind, expected[i].Kind) << i;
    EXPECT_EQ(got[i].Source, expected[i].Source) << i;
  }
}

TEST(NameTests, VarAndAliasNames) {
  std::string n = "  m.Total ";
  EXPECT_TRUE(IsVarName(n));
  EXPECT_EQ(n, "Total");
  n = "M.x";
  EXPECT_TRUE(IsVarName(n));
  EXPECT_EQ(n, "x");
  for (std::string bad : {"", "M.", "1c", "o.p", "m.o.p", "  "}) {
    EXPECT_FALSE(IsVarName(bad)) << bad;
  }
  n = " cust ";
  EXPECT_TRUE(IsAliasName(n));
  EXPECT_EQ(n, "cust");
  std::string ten = "abcdefghij";
  EXPECT_TRUE(IsAliasName(ten));
  for (std::string bad : {"abcdefghijk", "1abc", "a.b", "a-b", "", "(x)"}) {
    EXPECT_FALSE(IsAliasName(bad)) << bad;
  }
  std::string underscore = "_x1";
  EXPECT_TRUE(IsAliasName(underscore));
}

TEST(ExtractElements, Variables) {
  ExpectElements("M.x = 5", {{"x", ekVariable, "= 5"}});
  ExpectElements("m.lnCount=m.lnCount+1 && add", {{"lnCount", ekVariable, "=m.lnCount+1"}});
  ExpectElements("@ 1,2 SAY 'Name' GET m.lcName PICTURE '@!'",
                 {{"lcName", ekVariable, "@ 1,2 SAY 'Name' GET m.lcName PICTURE '@!'"}});
  ExpectElements("@ 1,2 get x", {{"x", ekVariable, "@ 1,2 get x"}});
  ExpectElements("@ 1,2 SAY x", {});
  ExpectElements("PARAMETERS a, m.b", {{"a", ekVariable, "parameter"}, {"b", ekVariable, "parameter"}});
  ExpectElements("LPARA x", {{"x", ekVariable, "parameter"}});  // LPARAMETERS reads like PARAMETERS
  ExpectElements("PRIVATE a, m.b, 1c, o.p", {{"a", ekVariable, "private"}, {"b", ekVariable, "private"}});
  ExpectElements("PRIVATE ALL LIKE x", {});
  ExpectElements("private all", {});
  ExpectElements("PRIVATE allx", {{"allx", ekVariable, "private"}});
  ExpectElements("PUBLIC gnA,gnB", {{"gnA", ekVariable, "public"}, {"gnB", ekVariable, "public"}});
  ExpectElements("STORE 0 TO a, b", {{"a", ekVariable, "STORE 0 TO"}, {"b", ekVariable, "STORE 0 TO"}});
  ExpectElements("store 0 to x", {{"x", ekVariable, "store 0 to"}});
  ExpectElements("STORE 0", {});
  ExpectElements("COUNT FOR x > 1 TO lnN", {{"lnN", ekVariable, "COUNT FOR x > 1 TO"}});
  ExpectElements("SUM amt TO lnSum", {{"lnSum", ekVariable, "SUM amt TO"}});
  ExpectElements("CALCULATE MAX(a), MIN(b) TO lnMax, lnMin",
                 {{"lnMax", ekVariable, "CALCULATE MAX(a), MIN(b) TO"},
                  {"lnMin", ekVariable, "CALCULATE MAX(a), MIN(b) TO"}});
  ExpectElements("FOR i = 1 TO 10", {{"i", ekVariable, "FOR i = 1 TO 10"}});
  ExpectElements("FOR m.j=1 TO 2", {{"j", ekVariable, "FOR m.j=1 TO 2"}});
  ExpectElements("x = 1", {});
}

TEST(ExtractElements, DimensionDeclarators) {
  ExpectElements("DIMENSION a(10), b(2,3)",
                 {{"a", ekArray, "DIMENSION (10),"}, {"b", ekArray, "DIMENSION (2,3)"}});
  ExpectElements("DIME laX[5]", {{"laX", ekArray, "DIME [5]"}});
  ExpectElements("dimension c(1,2), d(3)",
                 {{"c", ekArray, "dimension (1,2),"}, {"d", ekArray, "dimension (3)"}});
  ExpectElements("DIMENSION", {});
  // Continued over two lines, with a comment after the first.
  ExpectElements("DIMENSION a(1), ;\r\n   b(2) && two",
                 {{"a", ekArray, "DIMENSION (1),"}, {"b", ekArray, "DIMENSION (2)"}});
}

TEST(ExtractElements, CursorsAndTables) {
  ExpectElements("CREATE CURSOR c (f1 C(10), f2 N(5,2))",
                 {{"c", ekAlias, "CREATE CURSOR"}, {"f1", ekField, "C(10),"},
                  {"f2", ekField, "N(5,2)"}});
  ExpectElements("create table Orders (id I, name C(20))",
                 {{"Orders", ekAlias, "create table"}, {"id", ekField, "I,"},
                  // with no comma left the declarator runs to the end of the text
                  {"name", ekField, "C(20))"}});
  ExpectElements("CREATE CURSOR c FROM ARRAY laStru", {{"c", ekAlias, "CREATE CURSOR"}});
  ExpectElements("CREATE CURSOR abcdefghijk (f C(1))", {});  // an alias of 11 characters
  ExpectElements("CREATE CURSOR (lcName) (f C(1))", {});
  ExpectElements("CREATE newtab FROM stru", {{"newtab", ekAlias, "CREATE"}});
  ExpectElements("USE customers", {});
  ExpectElements("USE customers ALIAS cust", {{"cust", ekAlias, "USE customers ALIAS cust"}});
  ExpectElements("use c:\\data\\x.dbf alias x2 again",
                 {{"x2", ekAlias, "use c:\\data\\x.dbf alias x2 again"}});
  ExpectElements("USE t ALIAS toolongalias", {});
  ExpectElements("SELECT customers", {{"customers", ekAlias, "SELECT customers"}});
  ExpectElements("SELECT 0", {});
  ExpectElements("SELECT * FROM t INTO CURSOR ..\\tmp\\res.dbf",
                 {{"res", ekAlias, "SELECT ... INTO CURSOR ..\\tmp\\res.dbf"}});
  ExpectElements("sele a, b from t where x = 1 into table out",
                 {{"out", ekAlias, "sele ... into table out"}});
  ExpectElements("SELECT * FROM t INTO DBF c:\\x\\y.z.dbf", {{"y", ekAlias, "SELECT ... INTO DBF c:\\x\\y.z.dbf"}});
  ExpectElements("SELECT * FROM t INTO ARRAY a", {});
  ExpectElements("SELECT * FROM t INTO CURSOR", {});
  ExpectElements("COPY TO ARRAY laData FIELDS a", {{"laData", ekArray, "COPY TO ARRAY laData FIELDS a"}});
  ExpectElements("copy to array x.y", {{"x.y", ekArray, "copy to array x.y"}});  // no name test
  ExpectElements("COPY TO backup.dbf", {});
  ExpectElements("COPY TO ARRAY", {});
}

TEST(ExtractElements, AdirCalls) {
  ExpectElements("M.n = ADIR(laFiles)",
                 {{"n", ekVariable, "= ADIR(laFiles)"}, {"laFiles", ekArray, "M.n = ADIR(laFiles)"}});
  ExpectElements("n = ADIR(laFiles)", {});  // class 45 statements are not looked at
  ExpectElements("= adir (m.laA, '*.prg')", {{"laA", ekArray, "= adir (m.laA, '*.prg')"}});
  ExpectElements("IF ADIR(a) > 0 AND ADIR(b) > 0", {{"a", ekArray, "IF ADIR(a) > 0 AND ADIR(b) > 0"}});
  ExpectElements("IF MYADIR(a) > 0", {});
  ExpectElements("IF ADIRX(a) > 0", {});
  // The first ADIR that qualifies is taken.
  ExpectElements("IF xADIR(a) > 0 OR ADIR(b) > 0", {{"b", ekArray, "IF xADIR(a) > 0 OR ADIR(b) > 0"}});
  ExpectElements("STORE ADIR(la) TO n",
                 {{"n", ekVariable, "STORE ADIR(la) TO"}, {"la", ekArray, "STORE ADIR(la) TO n"}});
  ExpectElements("DO WHILE ADIR(lb) > 0", {{"lb", ekArray, "DO WHILE ADIR(lb) > 0"}});
  ExpectElements("? ADIR(lc)", {});
  ExpectElements("= ADIR(", {});
  ExpectElements("= ADIR", {});
  ExpectElements("= ADIR(o.arr)", {});  // refused by the variable-name test
}

}  // namespace
}  // namespace vemlo
