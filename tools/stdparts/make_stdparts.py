#!/usr/bin/env python3
"""Writes hxcadkit/stdparts/data/StdParts.tb (UTF-16LE with a byte-order mark, CR LF lines), the
standard-parts file of the mould parts, from the readable sources in hxcadkit/stdparts/data/src/.

One CSV per table: correct a value in the CSV that holds it, or add a CSV for a new table, and
rerun:  python3 tools/stdparts/make_stdparts.py
The generated file is committed. Lines of a source starting with '#' are its header:
  table        the table's ID
  name, manufacturer, type   the entry's texts (the name must be unique in the file)
  make         its makeID (0: not offered in the choice lists); picture, second: pictureID and
               the columns of the second block (plate tables; 0 when absent)
  lead         the designation's leading text, in double quotes
  keys         the columns (1-based) the part class searches by, in the order it passes them
  columns      per column, '|'-separated: short name, column code, comment. The code's tens
               digit is the column's rank in the designation and must give the keys in order.
  source       where the values come from; every table names one
Every other header line ("transcribes", "estimated", "length", ...) is copied as a comment. The
rows follow, one per standard size, sorted by the keys.
"""
import glob
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SRC = os.path.join(ROOT, "hxcadkit", "stdparts", "data", "src")
OUT = os.path.join(ROOT, "hxcadkit", "stdparts", "data", "StdParts.tb")

FIELDS = ("table", "name", "manufacturer", "type", "make", "picture", "second", "lead", "keys", "columns",
          "source")


def fail(name, text):
    sys.exit("%s: %s" % (name, text))


def read_source(path):
    name = os.path.basename(path)
    head, notes, rows = {}, [], []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            if line.startswith("#"):
                key, _, value = line[1:].strip().partition(":")
                key, value = key.strip(), value.strip()
                if key in FIELDS:
                    head[key] = value
                else:
                    notes.append("%s: %s" % (key, value))
                continue
            rows.append([float(x) for x in line.split(",")])
    for key in ("table", "name", "manufacturer", "type", "lead", "keys", "columns", "source"):
        if key not in head:
            fail(name, "no '%s' in the header" % key)
    lead = head["lead"]
    if len(lead) < 2 or lead[0] != '"' or lead[-1] != '"':
        fail(name, "the lead is written in double quotes")
    head["lead"] = lead[1:-1]
    columns = []
    for c in head["columns"].split("|"):
        short, code, comment = c.strip().split(" ", 2)
        columns.append((short, int(code), comment))
    head["columns"] = columns
    head["keys"] = [int(k) for k in head["keys"].split(",")]
    check(name, head, rows)
    return head, notes, rows


def check(name, head, rows):
    columns, keys = head["columns"], head["keys"]
    ranked = sorted((code // 10 % 10, j + 1) for j, (_, code, _) in enumerate(columns) if code // 10 % 10)
    if [j for _, j in ranked] != keys or [k for k, _ in ranked] != list(range(1, len(keys) + 1)):
        fail(name, "the column ranks %s are not the keys %s in order" % (ranked, keys))
    for i, row in enumerate(rows):
        if len(row) != len(columns):
            fail(name, "row %d has %d values, %d columns" % (i + 1, len(row), len(columns)))
    order = [tuple(row[k - 1] for k in keys) for row in rows]
    if order != sorted(order):
        fail(name, "the rows are not sorted by the keys %s" % keys)
    if len(set(order)) != len(order):
        fail(name, "two rows hold the same keys")


def num(v):
    text = ("%d" % v) if v == int(v) else ("%.4f" % v).rstrip("0")
    return text.replace(".", ",")


def quoted(text):
    if '"' in text:
        sys.exit("a text holds a double quote: %s" % text)
    return '"%s"' % text


def table(path):
    head, notes, rows = read_source(path)
    columns = head["columns"]
    lines = ["// %s %s: %s" % (head["table"], head["name"], head["source"])]
    lines += ["// " + n for n in notes]
    lines.append("// " + "  ".join("%d %s" % (j + 1, c[0]) for j, c in enumerate(columns)))
    lines.append("# %s %s %s %s %s %s %d %s" % (quoted(head["name"]), quoted(head["manufacturer"]),
                                                   quoted(head["type"]), head["table"], head.get("make", "1"),
                                                   head.get("picture", "0"), len(columns), head.get("second", "0")))
    words = [quoted(head["lead"]), '""'] + ["%s %s" % (quoted(c[0]), quoted(c[2])) for c in columns]
    lines.append("{{ " + " ".join(words) + " }")
    lines.append("{")
    lines.append("\t" + "\t".join(str(c[1]) for c in columns))
    for row in rows:
        lines.append("\t" + "\t".join(num(v) for v in row))
    lines.append("}")
    lines.append("}")
    return int(head["table"]), head["name"], "\n".join(lines) + "\n"


def main():
    tables = [table(p) for p in sorted(glob.glob(os.path.join(SRC, "*.csv")))]
    ids = [t[0] for t in tables]
    names = [t[1] for t in tables]
    if len(set(ids)) != len(ids) or len(set(names)) != len(names):
        sys.exit("two sources share a table ID or a name")
    text = "// The standard parts of the mould plates. Generated by tools/stdparts/make_stdparts.py from\n"
    text += "// hxcadkit/stdparts/data/src/*.csv: edit those and rerun. Decimal commas; row 0 holds the\n"
    text += "// column codes; columns numbered from 1.\n\n"
    text += "\n".join(t[2] for t in sorted(tables))
    data = b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le")
    with open(OUT, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
