// Visual FoxPro tables written by Debian's python3-dbf: every field type it
// writes, nullable fields, memo and general fields, deleted records. What the
// loader shows must agree with what python3-dbf and python3-dbfread read.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dbf_test_env.h"
#include "host/reader_reports.h"
#include "platform/platform.h"
#include "python_run.h"

namespace vemlo::test {
namespace {

// Every field is nullable: python3-dbf numbers a field's null bit by its
// position among all fields, Visual FoxPro among the nullable ones only, and
// the two agree when all fields are nullable. The expected text of each value
// is made from what the python modules read (dbf for nulls, dbfread for the
// values and memo lengths), in hex; "-" for an empty value.
constexpr const char* kScript = R"PY(
import sys, os, datetime, decimal, struct
try:
    import dbf, dbfread
except ImportError as e:
    print("missing module:", e)
    sys.exit(77)
out = sys.argv[1]
D = decimal.Decimal
path = os.path.join(out, 'vfp.dbf')
layout = ('name C(12) null; qty N(9,2) null; born D null; ok L null; note M null; cnt I null; '
        'ratio B null; price Y null; stamp T null; f F(10,3) null; pic G null; raw M binary null')
t = dbf.Table(path, layout, dbf_type='vfp', codepage='cp866')
t.open(dbf.READ_WRITE)
N = dbf.Null
rows = [
    ('Ann', 1.5, datetime.date(1999, 1, 2), True, 'first memo\r\nline two', 42, 3.25, D('12.5'),
     datetime.datetime(2020, 5, 6, 7, 8, 9), 1.5, b'\x00\x01\x02', b'bin'),
    (N, N, N, N, N, N, N, N, N, N, N, N),
    ('\u0416\u0443\u043a', -20, datetime.date(2020, 12, 31), False, 'x' * 700, -2147483647, -0.1,
     D('-922337203685477.5807'), datetime.datetime(1899, 12, 30, 12, 0, 0), -7.25, N, b''),
    ('gone', 1, None, None, 'deleted', 1, 1.0, D('1'), datetime.datetime(2000, 1, 1), 1, b'g', b'r'),
    ('Max', 0, None, None, '', 2147483646, 1e300, D('922337203685477.5807'),
     datetime.datetime(9999, 12, 31, 23, 59, 59), 0, b'', N),
    ('Min', N, None, True, N, 0, 0.0, D('0.0001'), datetime.datetime(1, 1, 1, 0, 0, 0), N, b'pic', b'\xff'),
]
for i in range(30):
    rows.append(('n%02d' % i, i, None, i % 2 == 0, 'memo %d' % i if i % 3 == 0 else '', i * 1000, i / 8.0,
                 D(i) / 7 if i else D(0), datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=i * 40000),
                 i, N if i % 4 == 0 else b'', b''))
deleted = (3, 12, 30)
for r in rows:
    t.append(r)
for i, rec in enumerate(t):
    if i in deleted:
        dbf.delete(rec)
t.close()

t = dbf.Table(path)
t.open(dbf.READ_ONLY)
live = [rec for rec in t if not dbf.is_deleted(rec)]
raw = dbfread.DBF(path, raw=True, load=True)
cooked = dbfread.DBF(path, load=True)
blank = bytes(range(33))

def text(fl, pyval, rawval, value):
    if pyval is dbf.Null:
        return '.NULL.'
    kind = fl.type
    if kind in 'CNFDL':
        return rawval.split(b'\0')[0].rstrip(blank).decode('cp866')
    if kind == 'I':
        return str(int.from_bytes(rawval, 'little', signed=True))
    if kind == 'B':
        v = struct.unpack('<d', rawval)[0]
        return '%.*f' % (fl.decimal_count, v) if fl.decimal_count else '%.15g' % v
    if kind == 'Y':
        return str((D(int.from_bytes(rawval, 'little', signed=True)) / 10000).quantize(D('0.0001')))
    if kind == 'T':
        return '' if value is None else value.strftime('%Y%m%d %H:%M:%S').rjust(17, '0')
    if kind in 'MG':
        if int.from_bytes(rawval, 'little') == 0:
            return ''
        size = len(value.encode('cp866') if isinstance(value, str) else value or b'')
        return '%s (%d bytes)' % ('general' if kind == 'G' else 'memo', size)
    raise SystemExit('type %s not covered' % kind)

with open(os.path.join(out, 'expected.txt'), 'w', encoding='cp866') as f:
    f.write('table %s\n' % path)
    fields = [fl for fl in raw.fields if fl.type != '0']
    for fl in fields:
        f.write('field %s %s %d %d\n' % (fl.name, fl.type, fl.length, fl.decimal_count))
    for pyrec, rawrec, rec in zip(live, raw.records, cooked.records):
        vals = [text(fl, pyrec[fl.name.lower()], rawrec[fl.name], rec[fl.name]) for fl in fields]
        f.write('record ' + ' '.join(v.encode('cp866').hex() or '-' for v in vals) + '\n')
    f.write('deleted ' + ' '.join(str(i) for i in deleted) + '\n')
)PY";

struct Expected {
  std::string Path;
  std::vector<TxxDBFField> Fields;
  std::vector<std::vector<std::string>> Records;
  std::vector<int> Deleted;
};

Expected ParseExpected(const std::string& file) {
  Expected want;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "table") {
      words >> want.Path;
    } else if (kind == "field") {
      TxxDBFField f;
      int len = 0, dec = 0;
      words >> f.Name >> f.FieldType >> len >> dec;
      f.Len = (unsigned char)len;
      f.Dec = (unsigned char)dec;
      want.Fields.push_back(f);
    } else if (kind == "record") {
      std::vector<std::string> values;
      for (std::string hex; words >> hex;) values.push_back(FromHex(hex));
      want.Records.push_back(values);
    } else if (kind == "deleted") {
      for (int n; words >> n;) want.Deleted.push_back(n);
    }
  }
  return want;
}

TEST_F(DbfTest, VisualFoxProTableAgreesWithPythonDbfModules) {
  if (access(kPython, X_OK) != 0) GTEST_SKIP() << kPython << " is not installed";
  const PythonRun run = RunPython(Native("make_vfp.py"), kScript, Native(""), Native("python.log"));
  if (run.ModuleMissing) GTEST_SKIP() << "python3-dbf or python3-dbfread is missing (" << run.Output << ")";
  ASSERT_TRUE(run.Ok) << run.Output;

  Expected want = ParseExpected(Native("expected.txt"));
  ASSERT_FALSE(want.Path.empty());
  ASSERT_EQ(want.Records.size(), 33u);

  // python3-dbf writes no end mark: the size question comes, answered Ignore.
  TxxDBF t;
  host_.Answers = {2};
  LoadDBF(t, false, platform::ToDosPath(want.Path));
  EXPECT_EQ(TakeShown(), std::vector<int>{31});
  ASSERT_EQ(t.State, dsLoaded);
  EXPECT_EQ(t.Version, 0x30);
  EXPECT_EQ(t.Database, "");  // a free table
  // _NullFlags is not listed.
  ASSERT_EQ(t.Fields.size(), want.Fields.size());
  for (size_t f = 0; f < want.Fields.size(); ++f) {
    EXPECT_EQ(t.Fields[f].Name, want.Fields[f].Name);
    EXPECT_EQ(t.Fields[f].FieldType, want.Fields[f].FieldType);
    EXPECT_EQ(t.Fields[f].Len, want.Fields[f].Len);
    EXPECT_EQ(t.Fields[f].Dec, want.Fields[f].Dec);
    EXPECT_TRUE(t.Fields[f].Flags & dbfNullable) << t.Fields[f].Name;
  }
  EXPECT_TRUE(t.Fields.back().Flags & dbfBinary);

  ASSERT_EQ(size_t(t.RecCount), want.Records.size());
  int physical = 0;
  for (size_t r = 0; r < want.Records.size(); ++r, ++physical) {
    while (std::find(want.Deleted.begin(), want.Deleted.end(), physical) != want.Deleted.end()) ++physical;
    EXPECT_EQ(t.RecNos[r], physical);
    ASSERT_EQ(want.Records[r].size(), t.Fields.size());
    for (size_t f = 0; f < t.Fields.size(); ++f)
      EXPECT_EQ(DBFValue(t, int(f), int(r), false), want.Records[r][f])
          << "record " << r << " field " << t.Fields[f].Name;
  }
  // The values that are fixed by the rows written, to see the formats at work.
  EXPECT_EQ(DBFValue(t, DBFFieldIndex(t, "STAMP"), 0, false), "20200506 07:08:09");
  EXPECT_EQ(DBFValue(t, DBFFieldIndex(t, "PRICE"), 2, false), "-922337203685477.5807");
  EXPECT_EQ(DBFValue(t, DBFFieldIndex(t, "NAME"), 1, false), ".NULL.");
  EXPECT_EQ(DBFValue(t, DBFFieldIndex(t, "NOTE"), 2, false), "memo (700 bytes)");
}

}  // namespace
}  // namespace vemlo::test
