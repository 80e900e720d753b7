#!/usr/bin/env python3
"""Merges translated entries into the string tables, keeping each table sorted by number.

Usage: merge_translations.py FILE...
Each FILE holds lines "LANGUAGE<TAB>NUMBER<TAB>TEXT" (language as in resources/strings/,
e.g. "pl" or "en_GB"); an entry replaces the table's entry of that number.
"""
import pathlib
import sys

TABLES = pathlib.Path(__file__).resolve().parent.parent / 'resources' / 'strings'


def load(path):
    entries = {}
    for line in path.read_text(encoding='utf-8').splitlines():
        if line:
            number, text = line.split('\t', 1)
            entries[int(number)] = text
    return entries


def main():
    updates = {}
    for name in sys.argv[1:]:
        for line in pathlib.Path(name).read_text(encoding='utf-8').splitlines():
            if line and not line.startswith('#'):
                language, number, text = line.split('\t', 2)
                updates.setdefault(language, {})[int(number)] = text
    for language, entries in updates.items():
        path = TABLES / f'{language}.tsv'
        table = load(path)
        table.update(entries)
        path.write_text(''.join(f'{n}\t{table[n]}\n' for n in sorted(table)), encoding='utf-8')


if __name__ == '__main__':
    main()
