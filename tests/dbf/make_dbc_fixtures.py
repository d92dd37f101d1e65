#!/usr/bin/python3
"""Writes the database container fixtures of the scenarios vfp-database and
vfp-database-backlink: SALES.DBC with its SALES.DCT memo file and two tables
that belong to it, all written by Debian's python3-dbf as Visual FoxPro tables,
then read back with python3-dbfread to check the table part.

python3-dbf writes no database container, so the container is an ordinary
Visual FoxPro table of the object columns whose files are renamed (.DBC,
.DCT) and marked (table flags 0x02 memo, 0x04 database); the tables get their
backlinks written into the 263 bytes after the field descriptors.

A property block is a run of records: 4-byte little-endian length of the whole
record, 2 bytes of kind, 1 byte of property id, the value ending with a zero
byte. Id 1 is a table's path, 7 a comment.

Run: /usr/bin/python3 tests/dbf/make_dbc_fixtures.py (from the repository root).
"""
import datetime
import os
import shutil
import struct
import sys
import tempfile

import dbf
import dbfread

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'scenarios')
PATH, COMMENT = 1, 7


def prop(pid, text):
    value = text.encode('cp866') + b'\0'
    return struct.pack('<IHB', 7 + len(value), 1, pid) + value


def props(path=None, comment=None, extra=b''):
    out = extra
    if path is not None:
        out += prop(PATH, path)
    if comment is not None:
        out += prop(COMMENT, comment)
    return out


# The objects: (id, parent, type, name, property block, deleted).
OBJECTS = [
    (1, 1, 'Database', 'Database', props(comment='Sales of the shop'), False),
    (2, 1, 'Table', 'customer_accounts',
     props(path='custacct.dbf', comment='People who buy from us',
           extra=struct.pack('<IHB', 9, 1, 0x55) + b'?\0'), False),  # an id nobody reads
    (3, 2, 'Field', 'customer_number', props(comment='Given at the first order'), False),
    (4, 2, 'Field', 'customer_full_name', props(comment='Family name first'), False),
    (5, 2, 'Field', 'opened_on_date', b'', False),
    (6, 2, 'Field', 'credit_limit_amount', props(comment='In roubles'), False),
    (7, 1, 'Table', 'order_lines', props(path='..\\orders\\ordlines.dbf',
                                         comment='One line per ordered article'), False),
    (8, 7, 'Field', 'order_number', b'', False),
    (9, 7, 'Field', 'field_dropped_long_ago', b'', True),  # deleted: not a field any more
    (10, 7, 'Field', 'article_code_of_line', props(comment='As printed on the box'), False),
    (11, 7, 'Field', 'quantity_ordered', b'', False),
    (12, 99, 'Field', 'orphan_of_no_table', b'', False),  # its parent is no table
    (13, 1, 'View', 'big_customers', b'', False),
]


def end_mark(path):
    # python3-dbf writes none; without it the size would not agree with the header.
    with open(path, 'ab') as f:
        f.write(b'\x1a')


def patch(path, offset, data):
    with open(path, 'r+b') as f:
        f.seek(offset)
        f.write(data)


def header_len(path):
    with open(path, 'rb') as f:
        head = f.read(12)
    return struct.unpack('<H', head[8:10])[0]


def write_container(folder):
    tmp = tempfile.mkdtemp()
    try:
        t = dbf.Table(os.path.join(tmp, 'sales.dbf'),
                      'OBJECTID I; PARENTID I; OBJECTTYPE C(10); OBJECTNAME C(128); PROPERTY M binary; '
                      'CODE M binary; RIINFO C(6); USER M', dbf_type='vfp')
        t.open(dbf.READ_WRITE)
        for oid, parent, kind, name, block, deleted in OBJECTS:
            t.append((oid, parent, kind, name, block, b'', '', ''))
            if deleted:
                dbf.delete(t[-1])
        t.close()
        dbc = os.path.join(folder, 'SALES.DBC')
        shutil.copy(os.path.join(tmp, 'sales.dbf'), dbc)
        shutil.copy(os.path.join(tmp, 'sales.fpt'), os.path.join(folder, 'SALES.DCT'))
        patch(dbc, 28, bytes([0x06]))
        end_mark(dbc)
    finally:
        shutil.rmtree(tmp)


def write_table(path, fields, rows, backlink):
    t = dbf.Table(path, fields, dbf_type='vfp')
    t.open(dbf.READ_WRITE)
    for row in rows:
        t.append(row)
    t.close()
    start = header_len(path) - 263
    patch(path, start, backlink.encode('ascii') + b'\0')
    end_mark(path)


def check_container(folder):
    # dbfread finds memo files by the table's extension: read copies named as a table.
    tmp = tempfile.mkdtemp()
    try:
        shutil.copy(os.path.join(folder, 'SALES.DBC'), os.path.join(tmp, 'sales.dbf'))
        shutil.copy(os.path.join(folder, 'SALES.DCT'), os.path.join(tmp, 'sales.fpt'))
        live = [o for o in OBJECTS if not o[5]]
        got = list(dbfread.DBF(os.path.join(tmp, 'sales.dbf'), raw=False))
        assert len(got) == len(live), got
        for rec, (oid, parent, kind, name, block, _) in zip(got, live):
            assert (rec['OBJECTID'], rec['PARENTID'], rec['OBJECTTYPE'], rec['OBJECTNAME']) == \
                (oid, parent, kind, name), rec
            memo = rec['PROPERTY']
            memo = memo if isinstance(memo, bytes) else (memo or '').encode('latin-1')
            assert memo == block, (name, memo, block)
    finally:
        shutil.rmtree(tmp)


def check_table(path, names, rows):
    got = list(dbfread.DBF(path))
    assert [f.name for f in dbfread.DBF(path).fields if f.name.upper() != '_NULLFLAGS'] == names, path
    assert [list(r.values())[:len(names)] for r in got] == [list(r) for r in rows], (path, got)


def main():
    with_settings = os.path.join(ROOT, 'vfp-database')
    backlink_only = os.path.join(ROOT, 'vfp-database-backlink')
    cust = ('CUSTOMER_N I; CUSTOMER_F C(40); OPENED_ON_ D; CREDIT_LIM Y',
            ['CUSTOMER_N', 'CUSTOMER_F', 'OPENED_ON_', 'CREDIT_LIM'],
            [(1, 'Ivanov Ivan', datetime.date(2026, 1, 15), 5000),
             (2, 'Petrova Anna', datetime.date(2026, 3, 2), 120)])
    lines = ('ORDER_NUMB I; ARTICLE_CO C(8); QUANTITY_O N(6,0) null',
             ['ORDER_NUMB', 'ARTICLE_CO', 'QUANTITY_O'],
             [(10, 'A-100', 3), (10, 'B-7', None)])
    for folder in (with_settings, backlink_only):
        for sub in ('db', 'orders'):
            os.makedirs(os.path.join(folder, sub), exist_ok=True)
        write_container(os.path.join(folder, 'db'))
        check_container(os.path.join(folder, 'db'))
        # The backlink's letter case differs from the files' on purpose.
        write_table(os.path.join(folder, 'db', 'custacct.dbf'), cust[0], cust[2], 'sales.dbc')
        write_table(os.path.join(folder, 'orders', 'ordlines.dbf'), lines[0], lines[2], '..\\db\\Sales.Dbc')
        check_table(os.path.join(folder, 'db', 'custacct.dbf'), cust[1],
                    [(i, n, d, float(c)) for i, n, d, c in cust[2]])
        check_table(os.path.join(folder, 'orders', 'ordlines.dbf'), lines[1], lines[2])
    return 0


if __name__ == '__main__':
    sys.exit(main())
