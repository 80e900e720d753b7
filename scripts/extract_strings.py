#!/usr/bin/env python3
"""Collects the numbered German texts quoted in the design document into the German table.

Usage: extract_strings.py DESIGN.md scripts/strings_de_supplement.tsv > resources/strings/de.tsv
Report of conflicts and of numbers quoted without a text goes to stderr.
"""
import re
import sys
from collections import defaultdict

# Blocks of the string table; a number outside them is not a string reference.
RANGES = [(5, 5), (9, 200), (202, 249), (500, 549), (551, 600), (25010, 27300)]

QUOTED = re.compile(r'(?<![\w.,\-–])(\d{1,5})(?:\s*\|\s*|\s+)(?:→\s*|\()?"([^"\n]*)"')
# Sections whose numbered quotes are protocol codes, catalogues or value tables, not strings.
NOT_STRINGS = ('1.', '2.2:', '2.3:', '2.5:', '2.6:')
# The localisation section quotes block names and a font table; only its unit texts are strings.
UNITS_ONLY = '3.5:'
FIRST_UNIT = 26952
QUOTED_BEFORE = re.compile(r'"([^"\n]*)" \((\d{3,5})\)')
BLOCK = re.compile(r'^\| (\d+)–(\d+) \| "([^"]+)" \|', re.M)
SEPARATOR = '-' * 45
MENTION = re.compile(r'\b[Ss]trings? (\d{1,5})\b')


def in_table(number):
    return any(lo <= number <= hi for lo, hi in RANGES)


def escape(text):
    return text.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')


def main():
    source = open(sys.argv[1], encoding='utf-8').read()
    texts = defaultdict(list)
    sections = re.split(r'(?m)^# (?:Part )?(.*)$', source)
    for title, body in zip(sections[1::2], sections[2::2]):
        if title.startswith(NOT_STRINGS):
            continue
        for match in QUOTED.finditer(body):
            number = int(match.group(1))
            if title.startswith(UNITS_ONLY) and number < FIRST_UNIT:
                continue
            if in_table(number):
                texts[number].append(match.group(2))
        for match in QUOTED_BEFORE.finditer(body):
            number = int(match.group(2))
            if in_table(number):
                texts[number].append(match.group(1))
    # Entries the document describes without quoting them.
    for line in open(sys.argv[2], encoding='utf-8'):
        if line.strip() and not line.startswith('#'):
            number, text = line.rstrip('\n').split('\t', 1)
            texts[int(number)] = [text.replace('\\n', '\n')]
    # Block markers and separators frame each block of the table.
    for first, last, name in BLOCK.findall(source):
        first, last = int(first), int(last)
        texts[first] = texts[last] = [f'#### {name} ####']
        texts[last + 1] = [SEPARATOR]
    mentioned = {int(m.group(1)) for m in MENTION.finditer(source)}

    for number in sorted(texts):
        variants = sorted(set(texts[number]), key=lambda t: (-texts[number].count(t), t))
        if len(variants) > 1:
            print(f'conflict {number}: {variants}', file=sys.stderr)
        print(f'{number}\t{escape(variants[0])}')
    for number in sorted(mentioned - set(texts)):
        if in_table(number):
            print(f'no text quoted for {number}', file=sys.stderr)


if __name__ == '__main__':
    main()
