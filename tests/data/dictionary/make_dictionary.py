#!/usr/bin/env python3
"""Writes the phrase dictionaries of the core tests and the seed inputs of fuzz_dictionary.

Dictionaries are UTF-32LE with a byte-order mark, one "source"="translation" line per pair,
CR LF line ends. Rerun after editing:  python3 tests/data/dictionary/make_dictionary.py
The generated files are committed beside this script and under fuzz/corpus/dictionary/.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "..", "..", "fuzz", "corpus", "dictionary")

BOM = "\ufeff"


def dic(pairs, bom=True):
    text = (BOM if bom else "") + "".join('"%s"="%s"\r\n' % p for p in pairs)
    return text.encode("utf-32-le")


def shuffled(items, seed):
    # A fixed linear congruential shuffle, so reruns give the same files.
    items = list(items)
    state = seed
    for i in range(len(items) - 1, 0, -1):
        state = (state * 1103515245 + 12345) % 2**31
        j = state % (i + 1)
        items[i], items[j] = items[j], items[i]
    return items


# Out of order, Cyrillic and Latin, one pair without a translation. Sorted by Windows-1251
# bytes the first source is "Angle" and the last "Яма".
UNSORTED = [
    ("Ошибка чтения потока", "Stream read error"),
    ("Муфта", "Coupling"),
    ("Zero", "Ноль"),
    ("Вал", "Shaft"),
    ("Диаметр", ""),
    ("Яма", "Pit"),
    ("Болт", "Bolt"),
    ("Angle", "Угол"),
]


def phrase(n):
    return ("Фраза %04d" % n, "Phrase %04d" % n)


# 2500 pairs: phrases 0..1999 shuffled come first, 2000..2499 shuffled after them, so a
# reader that stops at 2000 pairs holds exactly phrases 0..1999.
BIG = [phrase(n) for n in shuffled(range(2000), 7)] + [phrase(n) for n in shuffled(range(2000, 2500), 11)]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    write(os.path.join(HERE, "unsorted.dic"), dic(UNSORTED))
    write(os.path.join(HERE, "pairs2500.dic"), dic(BIG))

    os.makedirs(CORPUS, exist_ok=True)
    program = 'Messager->LiftBox(DC("Ошибка"), toAlways);\nDC("Вал"); DC("unterminated'
    seeds = {
        "unsorted.dic": dic(UNSORTED),
        "small.dic": dic([("a", "b"), ("c", ""), ("a", "d")]),
        "nobom.dic": dic([("x", "y")], bom=False),
        "unbalanced.dic": dic([("a", "b")]) + '"c"="d'.encode("utf-32-le"),
        "odd_length.dic": dic([("a", "b")]) + b'"\x00\x00',
        "outside_range.dic": BOM.encode("utf-32-le") + b'"\x00\x00\x00'
        + (0x110000).to_bytes(4, "little") + (0xD800).to_bytes(4, "little")
        + b'"\x00\x00\x00=\x00\x00\x00"\x00\x00\x00' + b"\xff\xff\xff\xff" + b'"\x00\x00\x00',
        "bigendian.dic": (BOM + '"a"="b"').encode("utf-32-be"),
        "program.txt": program.encode("utf-32-le"),
        # Past the 2000-pair limit in few bytes: only the quotes matter to the reader.
        "many.dic": ('"a""b"' * 2010).encode("utf-32-le"),
    }
    for name, data in seeds.items():
        write(os.path.join(CORPUS, name), data)


if __name__ == "__main__":
    main()
