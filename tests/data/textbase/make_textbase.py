#!/usr/bin/env python3
"""Writes the text bases of the core tests (UTF-16LE with a byte-order mark, CR LF lines).

Rerun after editing:  python3 tests/data/textbase/make_textbase.py
The generated .tb files are committed beside this script.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

BOM = b"\xff\xfe"


def utf16(text, bom=True, crlf=True):
    if crlf:
        text = text.replace("\n", "\r\n")
    return (BOM if bom else b"") + text.encode("utf-16-le")


# Tables shaped like the coupling tables: a main table keyed on the diameter, its bolts in an
# auxiliary table, decimal commas, tabs, comments, and two tables of the same name.
BASE = """// Text base of the core tests.
// Every table: # "name" "standard" "category" columns keycolumn { values }

# "Муфта упругая" "ГОСТ 21424-93" "Муфты" 4 1
{
\t// M, Нм\td, мм\tL, мм\tm, кг
\t6,3\t9\t50\t0,4
\t6,3\t10\t50\t0,4
\t16\t12\t60\t0,75
\t16\t14\t60\t0,8
\t31,5\t16\t80\t1,5
}

# "Муфта упругая.Болты" "ГОСТ 7798-70" "Вспомогательный" 3 0
{
\t6\t20\t1
\t8\t25\t2
\t10\t30\t3
}

// The smallest table of the format.
# "T" "D" "C" 2 0 { 1 2 3 4 }

# "Дубль" "первый" "Муфты" 1 0 { 1 }
# "Дубль" "второй" "Муфты" 1 0 { 2 }

# "С комментарием" // a comment inside the header
  "ГОСТ 1" ; "Муфты" 3 0
{
 10 1 100 // a comment after the values of a row
 20 2 200
 30 3 300
}

# "Пустая" "ГОСТ 2" "Муфты" 2 0 { }
"""

# Standard-part entries of the mould parts: a plain table and a plate table.
PARTS = """// Standard parts of the core tests.
# "Втулка" "Фирма А" "Втулки" 7 1 2 3 0
{{ "Втулка " "" "d" "диаметр" "L" "длина" "m" "масса" }
{
 110 221 0
 10 20 1
 12 25 2
 12 30 3
 16 30 4
}
}

# "Плита" "Фирма Б" "Плиты" 101 1 3 18 13
{{ "" "" }
{
 296 246 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
 346 296 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
}
{
 1 1 17 22 27 0 0 0 0 0 0 0 0
 0 21 15 20 25 30 0 0 0 0 0 0 0
}
}

# "Длинный список" "Фирма А" "Втулки" 9 1 2 1 0
{{ "a" "b" "c" "d" "e" "f" "g" }
{ 10 20 30 }
}
"""

MALFORMED = {
    # A table cut off by the end of the file.
    "missing_brace.tb": '# "T" "D" "C" 2 0 { 1 2 3 4\n',
    # A table whose closing brace is missing before the next table.
    "missing_brace_next.tb": '# "T" "D" "C" 2 0 { 1 2 3 4\n# "U" "D" "C" 1 0 { 5 }\n',
    # The last value glued to the brace, so the brace is read as part of the number.
    "brace_glued.tb": '# "T" "D" "C" 2 0 { 1 2 3 4}\n',
    "zero_columns.tb": '# "T" "D" "C" 0 0 { 1 2 3 4 }\n',
    "negative_columns.tb": '# "T" "D" "C" -2 0 { 1 2 3 4 }\n',
    "huge_columns.tb": '# "T" "D" "C" 2147483647 0 { 1 2 3 4 }\n',
    "key_outside.tb": '# "T" "D" "C" 2 2 { 1 2 3 4 }\n',
    "negative_key.tb": '# "T" "D" "C" 2 -1 { 1 2 3 4 }\n',
    "hash_at_end.tb": '# "T" "D" "C" 2 0 { 1 2 }\n#',
    "parts_negative_params.tb": '# "P" "M" "T" 7 1 2 -3 0 {{ "a" } { 1 2 3 } }\n# "Q" "M" "T" 8 1 2 1 0 {{ "q" } { 5 6 } }\n',
    "parts_huge_params.tb": '# "P" "M" "T" 7 1 2 2000000000 0 {{ "a" } { 1 2 3 } }\n',
    "parts_missing_brace.tb": '# "P" "M" "T" 7 1 2 3 0 {{ "a" } { 1 2 3\n',
}


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    write("base.tb", utf16(BASE))
    write("parts.tb", utf16(PARTS))
    write("nobom.tb", utf16(BASE, bom=False))
    # The byte-order mark of big-endian text reads as the unit FFFE.
    write("bigendian.tb", b"\xfe\xff" + BASE.replace("\n", "\r\n").encode("utf-16-be"))
    write("empty.tb", b"")
    write("odd_length.tb", utf16('# "T" "D" "C" 2 0 { 1 2 3 4 }\n') + b"\x20")
    for name, text in MALFORMED.items():
        write(name, utf16(text))


if __name__ == "__main__":
    main()
