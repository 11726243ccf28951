#!/usr/bin/env python3
"""Writes the seeds of fuzz_coupling_tables (fuzz/corpus/coupling_tables/) from the shipped text
base: for each entry of the target's Rows, in its order, up to five rows of each of the row's
tables around a size, the keyway table, and the model of that size. Rerun after adding an entry:
    python3 tools/fuzz/make_coupling_tables_seeds.py
"""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BASE = os.path.join(ROOT, "Duvozadu", "data", "VUVudirido.tb")
OUT = os.path.join(ROOT, "fuzz", "corpus", "coupling_tables")

# The target's Rows, in order: the tables of each slot. Keep in step with fuzz_coupling_tables.cpp.
ENTRIES = [
    ("muvp", ["МУВП", "МУВП.Палец"]),
    ("flanged", ["Муфта фланцевая", "Муфта.Болты фланца"]),
    ("jawdisc", ["Муфта кулачково-дисковая"]),
    ("star", ["Муфта со звездочкой", "Муфта со звездочкой.Звездочка"]),
    ("toothed", ["Муфта зубчатая", "Муфта.Болты фланца"]),
    ("toothed_flanged", ["Муфта зубчатая", "Муфта.Болты фланца"]),
    ("toroidal", ["Муфта торообразная", "Муфта.Болты фланца"]),
]


def tables():
    text = open(BASE, "rb").read().decode("utf-16")
    found = {}
    for part in text.split('\n# "')[1:]:
        name = part.split('"', 1)[0]
        head, _, body = part.partition("{")
        control = int(head.split("\n")[0].split()[-1])
        rows = []
        for line in body.split("}")[0].strip().splitlines():
            rows.append([float(v.replace(",", ".")) for v in line.split()])
        found[name] = (control, rows)
    return found


def value(v):
    n = max(0, min(0xF7FF, int(round(v * 64))))
    return struct.pack(">H", n)


def seed(index, names, base, first):
    control, main = base[names[0]]
    size = main[min(first, len(main) - 1)]
    data = bytes([index]) + value(size[0]) + value(size[control]) + value(size[control]) + bytes([0, 1])
    for name in names:
        rows = base[name][1]
        if name != names[0]:
            rows = rows[:5]
        else:
            rows = rows[first:first + 5]
        data += bytes([len(rows)]) + b"".join(value(v) for r in rows for v in r)
    keys = base["Шпоночный паз"][1][:5]
    data += bytes([len(keys)]) + b"".join(value(v) for r in keys for v in r[:3])
    return data


def main():
    base = tables()
    os.makedirs(OUT, exist_ok=True)
    for index, (key, names) in enumerate(ENTRIES):
        for first in (0, 3):
            with open(os.path.join(OUT, "%s_%d" % (key, first)), "wb") as f:
                f.write(seed(index, names, base, first))


if __name__ == "__main__":
    main()
