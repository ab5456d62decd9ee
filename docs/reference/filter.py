#!/usr/bin/env python3
"""Reads a public header for Doxygen: its line comments become documentation comments.

The headers keep the plain // style of the rest of the code. A comment on lines of its own
documents what follows it, and a comment after a declaration on the same line documents that
declaration. A file's opening comment describes what the file declares, so it documents the
first class defined in the file unless that class has a comment of its own; otherwise it
documents the file. Separator lines ("// ---- ... ----") stay plain comments:
they head a group of operations and describe none of them.
"""
import re
import sys

OWN_LINE = re.compile(r'^(\s*)//(?!/)\s?(.*)$')
TRAILING = re.compile(r'^(.*[;,{}])(\s*)//(?!/)\s?(.*)$')
SEPARATOR = re.compile(r'^\s*//\s*----')


def filtered(lines):
    for line in lines:
        if SEPARATOR.match(line):
            yield line
            continue
        own = OWN_LINE.match(line)
        if own:
            yield f'{own.group(1)}/// {own.group(2)}'.rstrip() + '\n'
            continue
        trailing = TRAILING.match(line)
        if trailing and '"' not in trailing.group(1):
            yield f'{trailing.group(1)}{trailing.group(2)}///< {trailing.group(3)}\n'
            continue
        yield line


DEFINITION = re.compile(r'^(class|struct)\s+\w+[^;]*$')


def moved_opening_comment(lines):
    """Moves the opening comment block in front of the first class definition."""
    opening = 0
    while opening < len(lines) and OWN_LINE.match(lines[opening]):
        opening += 1
    if opening == 0:
        return lines
    for i in range(opening, len(lines)):
        if DEFINITION.match(lines[i]):
            if OWN_LINE.match(lines[i - 1]):
                break
            return lines[opening:i] + lines[:opening] + lines[i:]
    # Documents the file; the command goes at the end of a line so that line numbers stay.
    return lines[:opening - 1] + [lines[opening - 1].rstrip('\n') + ' @file\n'] + lines[opening:]


with open(sys.argv[1], encoding='utf-8') as header:
    sys.stdout.writelines(filtered(moved_opening_comment(header.readlines())))
