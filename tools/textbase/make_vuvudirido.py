#!/usr/bin/env python3
"""Writes Duvozadu/data/VUVudirido.tb (UTF-16LE with a byte-order mark, CR LF lines) from the
readable sources in Duvozadu/data/src/.

Correct a value in the CSV that holds it and rerun:  python3 tools/textbase/make_vuvudirido.py [OUT]
The generated base is committed. Whether its rows fit (pins and bolts on their circles, every row a value
looks up in another table there, ...) is the coupling library's own check, the one it makes when a user's
base is read: run the test FitRules.TheShippedBaseFits of test_duvozadu (ctest -R duvozadu) after a change;
the test textbase_generated checks that the committed base is what this script writes. Lines of a source starting with '#' are its header: "table",
"standard", "category", "control" and "columns" describe the table, every other header line
("transcribes", "derived", "estimated") is copied into the base as a comment.
"""
import csv
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SRC = os.path.join(ROOT, "Duvozadu", "data", "src")
OUT = os.path.join(ROOT, "Duvozadu", "data", "VUVudirido.tb")


def read_source(name):
    head, rows = {}, []
    notes = []
    with open(os.path.join(SRC, name), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            if line.startswith("#"):
                key, _, value = line[1:].strip().partition(":")
                key, value = key.strip(), value.strip()
                if key in ("table", "standard", "category", "control", "columns", "group"):
                    head[key] = value
                else:
                    notes.append(line[1:].strip())
                continue
            rows.append(line)
    return head, notes, rows


def num(v):
    v = float(v)
    text = ("%d" % v) if v == int(v) else ("%.4f" % v).rstrip("0")
    return text.replace(".", ",")


def shaft_ends(name="shaft_ends.csv"):
    _, _, rows = read_source(name)
    ends = []
    for r in rows:
        lo, hi, long_, short = (float(x) for x in r.split(","))
        ends.append((lo, hi, long_, short))
    return ends


def hub_lengths(d, ends, source="GOST 12080"):
    for lo, hi, long_, short in ends:
        if lo <= d <= hi:
            return long_, short
    raise SystemExit("no shaft end of %s for d = %s" % (source, d))


def muvp_rows(rows):
    ends = shaft_ends()
    out = []
    for r in rows:
        group, _, ds = r.partition(":")
        M, n, D, D1, m, d1, l1, l2, B, dp, z, f = (float(x) for x in group.split(","))
        for d in (float(x) for x in ds.split()):
            l_long, l_short = hub_lengths(d, ends)
            row = [0.0] * 20
            row[0], row[1], row[2] = M, n, D
            row[3], row[4] = 2 * l_short + B, l_short
            row[5], row[6], row[7] = D1, m, d1
            row[10], row[11], row[13], row[14], row[15], row[16], row[17] = l1, l2, B, dp, z, f, d
            row[18], row[19] = 2 * l_long + B, l_long
            out.append(row)
    return out


def grouped(rows, width, group, each):
    """Rows of a grouped source: "values of the group : bores". group names the column of each
    group value in order (None: a value that is no column, handed on in extra); each(row, d,
    ends, extra) sets the bore's own columns."""
    ends = shaft_ends()
    out = []
    for r in rows:
        values, _, ds = r.partition(":")
        values = [float(x) for x in values.split(",")]
        if len(values) != len(group):
            raise SystemExit("a group of %d values, %d named" % (len(values), len(group)))
        for d in (float(x) for x in ds.split()):
            row = [0.0] * width
            extra = []
            for col, v in zip(group, values):
                if col is None:
                    extra.append(v)
                else:
                    row[col] = v
            each(row, d, ends, extra)
            out.append(row)
    return out


def flanged_rows(rows):
    def each(row, d, ends, extra):
        row[1] = d
        row[15], row[20] = hub_lengths(d, ends)
    return grouped(rows, 21, [0, 3, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19], each)


def star_rows(rows):
    def each(row, d, ends, extra):
        x0 = extra[0]
        row[1] = d
        row[15], row[4] = hub_lengths(d, ends)
        row[16], row[5] = x0 + row[15], x0 + row[4]
    return grouped(rows, 17, [0, 2, 3, 6, 7, 8, 9, 10, 11, 13, None], each)


def jawdisc_rows(rows):
    def each(row, d, ends, extra):
        gap = extra[0]
        row[1] = d
        row[6], row[7] = hub_lengths(d, ends)
        row[4], row[5] = 2 * row[6] + gap, 2 * row[7] + gap
        row[8] = row[9] = row[11]
    return grouped(rows, 16, [0, 3, 10, 11, 12, 13, 14, 15, None], each)


def toothed_rows(rows):
    def each(row, d, ends, extra):
        L, B, b, f = row[5], row[8], row[11], row[13]
        row[1] = d
        row[6] = L / 2 - B / 4
        row[12] = L / 2 - row[6] + b / 2 + 2 * f
        row[16] = L / 2 - row[6] / 4
        row[18] = (row[2] + row[3]) / 2
    return grouped(rows, 21, [0, 2, 3, 4, 5, 8, 9, 10, 11, 13, 17, 19, 20], each)


def toroidal_rows(rows):
    conical = shaft_ends("shaft_ends_conical.csv")

    def each(row, d, ends, extra):
        D, db, d1, f = row[2], row[5], row[14], row[18]
        row[1] = d
        row[19], row[20] = hub_lengths(d, ends)
        row[21], row[22] = hub_lengths(d, conical, "GOST 12081")
        row[6], row[7], row[8], row[16], row[17] = D / 12.5, 0.44 * D, 0.6 * D, D / 25, D / 16
        row[3] = row[7] + 2 * row[19]
        row[9] = row[8] - db - 4
        row[10] = row[17] + f
        row[13] = d1
    return grouped(rows, 23, [0, 2, 4, 5, 14, 18], each)


def plain_rows(rows):
    return [[float(x) for x in r.split(",")] for r in rows]


# Hinge couplings: the half-coupling rows follow the main table's, and both take their sizes from
# one source row each; the hub lengths are the shaft ends of the bore.
def hinge_sources():
    _, _, main = read_source("hinge.csv")
    _, _, half = read_source("hinge_half.csv")
    if len(main) != len(half):
        raise SystemExit("hinge_half.csv: %d rows for %d rows of hinge.csv" % (len(half), len(main)))
    ends = shaft_ends()
    out = []
    for m, h in zip(main, half):
        M, d, D, A = (float(x) for x in m.split(","))
        hM, hd, d1, d3, b, k, s, l2, r, r1 = (float(x) for x in h.split(","))
        if (hM, hd) != (M, d):
            raise SystemExit("hinge_half.csv: row %s,%s beside %s,%s of hinge.csv" % (hM, hd, M, d))
        l3_long, l3_short = hub_lengths(d, ends)
        l_long, l_short = l3_long + k, l3_short + k
        half_row = [M, d, d1, 0.0, d3, D, b, l_long, l_short, l_long + s, l_short + s, l2,
                    l3_long, l3_short, 0.0, 0.0, r, r1]
        main_row = [M, d, D, A, 2 * (l_long + s - r), A + 2 * (l_long + s - r)]
        out.append((main_row, half_row))
    return out


def hinge_rows(rows):
    return [m for m, _ in hinge_sources()]


def hinge_half_rows(rows):
    return [h for _, h in hinge_sources()]


def table(name, build):
    head, notes, rows = read_source(name)
    values = build(rows)
    columns = head["columns"].split(",")
    lines = ["// " + head["table"] + ": " + head["standard"]]
    lines += ["// " + n for n in notes]
    lines.append("// " + "\t".join("%d %s" % (i, c) for i, c in enumerate(columns)))
    lines.append('# "%s" "%s" "%s" %d %s' % (head["table"], head["standard"], head["category"],
                                             len(columns), head["control"]))
    lines.append("{")
    for row in values:
        if len(row) != len(columns):
            raise SystemExit("%s: a row of %d values, %d columns" % (name, len(row), len(columns)))
        lines.append("\t" + "\t".join(num(v) for v in row))
    lines.append("}")
    return "\n".join(lines) + "\n"


def main():
    text = "// Tables of the coupling library. Generated by tools/textbase/make_vuvudirido.py from\n"
    text += "// Duvozadu/data/src/*.csv: edit those and rerun. Decimal commas; columns numbered from 0.\n\n"
    text += table("toothed.csv", toothed_rows) + "\n"
    text += table("toroidal.csv", toroidal_rows) + "\n"
    text += table("muvp.csv", muvp_rows) + "\n"
    text += table("muvp_pin.csv", plain_rows) + "\n"
    text += table("keyway.csv", plain_rows)
    text += "\n" + table("flange_bolts.csv", plain_rows)
    text += "\n" + table("flanged.csv", flanged_rows)
    text += "\n" + table("star.csv", star_rows)
    text += "\n" + table("star_stars.csv", plain_rows)
    text += "\n" + table("jawdisc.csv", jawdisc_rows)
    text += "\n" + table("hinge.csv", hinge_rows) + "\n"
    text += table("hinge_half.csv", hinge_half_rows) + "\n"
    text += table("hinge_cross.csv", plain_rows) + "\n"
    text += table("hinge_pin.csv", plain_rows) + "\n"
    text += table("hinge_bushing.csv", plain_rows)
    data = b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le")
    out = sys.argv[1] if len(sys.argv) > 1 else OUT
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
