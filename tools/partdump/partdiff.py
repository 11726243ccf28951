#!/usr/bin/env python3
"""Compares two trees of saved 3D files (parts and assemblies, as partdump writes them) file by file.

Each file is byte-identical, or differs only by the fastener-piece marking (a user storage holding nothing
but "FastenerPiece" = 1, its storages container and their places in the members lists, all at the end of the
object list so no other object's number moves), or differs otherwise. Numbers are compared as written, not as
values. Prints the counts and every file that differs otherwise or is on one side only; exits 1 when there
is one.

    tools/partdump/partdiff.py OLD_TREE NEW_TREE
"""
import json
import os
import sys


def load(path):
    with open(path, 'rb') as f:
        raw = f.read()
    # Numbers as written: two texts of one value are a difference.
    return json.loads(raw, parse_float=str, parse_int=str)


def marking(objects):
    """The numbers of the objects that make up the fastener-piece marking."""
    gone = set()
    for i, o in enumerate(objects):
        values = o.get('props', {}).get('values') if o.get('kind') == 'user-storage' else None
        if values is not None and list(values) == ['FastenerPiece'] and \
                values['FastenerPiece'] == {'bytes': ['1']}:
            gone.add(i)
    for i, o in enumerate(objects):
        if o.get('kind') == 'user-storages' and o.get('members') and \
                all(int(m) in gone for m in o['members']):
            gone.add(i)
    return gone


def without_marking(doc):
    """The document without the marking, or None when taking it out would renumber other objects."""
    objects = doc.get('objects', [])
    gone = marking(objects)
    if not gone:
        return doc, 0
    if min(gone) != len(objects) - len(gone):
        return None, len(gone)
    kept = []
    for o in objects[:min(gone)]:
        o = dict(o)
        if 'members' in o:
            o['members'] = [m for m in o['members'] if int(m) not in gone]
        kept.append(o)
    return dict(doc, objects=kept), len(gone)


def files(root):
    out = set()
    for folder, _, names in os.walk(root):
        for n in names:
            out.add(os.path.relpath(os.path.join(folder, n), root))
    return out


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    old, new = sys.argv[1:]
    a, b = files(old), files(new)
    identical = marked = 0
    other = []
    for f in sorted(a & b):
        x, y = os.path.join(old, f), os.path.join(new, f)
        with open(x, 'rb') as p, open(y, 'rb') as q:
            if p.read() == q.read():
                identical += 1
                continue
        try:
            before, after = load(x), load(y)
        except ValueError as e:
            other.append((f, 'not a document: %s' % e))
            continue
        stripped, n = without_marking(after)
        if n and stripped == before and marking(before.get('objects', [])) == set():
            marked += 1
        else:
            other.append((f, 'differs' if n == 0 else 'differs beyond the marking'))
    print('files compared %d: identical %d, differing only by the fastener-piece marking %d, '
          'differing otherwise %d; only in %s: %d, only in %s: %d'
          % (len(a & b), identical, marked, len(other), old, len(a - b), new, len(b - a)))
    for f, why in other:
        print('%s: %s' % (f, why))
    for f in sorted(a - b):
        print('only in %s: %s' % (old, f))
    for f in sorted(b - a):
        print('only in %s: %s' % (new, f))
    return 1 if other or a != b else 0


if __name__ == '__main__':
    sys.exit(main())
