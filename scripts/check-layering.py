#!/usr/bin/env python3
"""Checks that no #include in src/ climbs from a lower floor of the house to a higher one.

Floors, lowest first:
  0  platform/                       stand-ins for the operating system; includes nothing else
  1  base/, res/                     shared types and helpers every subsystem calls
  2  inspect/, legacy/, widgets/,    the readers of file bytes and the services they call
     update/Zip* (the zip reader)
  3  cache/, check/, playlist/,      the check and playlist cores, the update check, the song
     update/, verify/, rescan/       verification (which reads through the readers), the
                                     results cache the checks keep between runs, and the
                                     replay of a whole check of an unchanged tree
  4  app/ (with cli/), every ui/,    the shell, the command line, the window and the programs
     update/ping/, update/updater/

A file may include files of its own floor or of lower ones. Window toolkit headers
(Qt Gui and Qt Widgets) may only be included from a ui/ folder.

Usage: check-layering.py [SRC_DIR]   (default: the src/ folder beside this script)
Prints one line per wrong include, naming the file and the include, and exits 1 on any.
"""
import glob
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = ('.h', '.hpp', '.cpp', '.cc')

FLOOR_NAMES = {0: 'platform', 1: 'base', 2: 'readers', 3: 'cores', 4: 'app'}


def floor_of(path):
    """The floor of a path relative to src/, or None for a folder the rules do not know."""
    parts = path.split('/')
    top = parts[0]
    if 'ui' in parts[:-1]:
        return 4
    if top == 'platform':
        return 0
    if top in ('base', 'res'):
        return 1
    if top in ('inspect', 'legacy', 'widgets'):
        return 2
    if top == 'update':
        if len(parts) > 2 and parts[1] in ('ping', 'updater'):
            return 4
        return 2 if parts[-1].startswith('Zip') else 3
    if top in ('cache', 'check', 'playlist', 'verify', 'rescan'):
        return 3
    if top == 'app':
        return 4
    return None


def toolkit_headers():
    """Header names of Qt Gui and Qt Widgets, from the installed Qt when it can be found."""
    names = {'QtGui', 'QtWidgets'}
    for module in ('QtGui', 'QtWidgets'):
        for folder in glob.glob('/usr/include/*/qt6/' + module) + glob.glob('/usr/include/qt6/' + module):
            names.update(os.listdir(folder))
    return names


def resolve(include, including_dir, src_dir):
    """The include as a path relative to src/, or None when it is not one of ours."""
    if os.path.isfile(os.path.join(src_dir, include)):
        return os.path.normpath(include)
    local = os.path.normpath(os.path.join(including_dir, include))
    if os.path.isfile(os.path.join(src_dir, local)):
        return local
    return None


def is_toolkit_include(include, toolkit):
    first = include.split('/')[0]
    return first in ('QtGui', 'QtWidgets') or include in toolkit


def check_file(rel, src_dir, toolkit):
    problems = []
    floor = floor_of(rel)
    in_ui = 'ui' in rel.split('/')[:-1]
    with open(os.path.join(src_dir, rel), encoding='utf-8', errors='replace') as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, include = match.groups()
            where = '%s:%d: #include %s%s%s' % (rel, number, bracket, include, '>' if bracket == '<' else '"')
            if bracket == '<':
                if not in_ui and is_toolkit_include(include, toolkit):
                    problems.append(where + ': window toolkit header outside a ui/ folder')
                continue
            target = resolve(include, os.path.dirname(rel), src_dir)
            if target is None:
                continue
            target_floor = floor_of(target)
            if floor is None or target_floor is None:
                problems.append(where + ': folder not placed on any floor of the layering rules')
            elif target_floor > floor:
                problems.append('%s: %s (floor %d) includes %s (floor %d)' % (
                    where, FLOOR_NAMES[floor], floor, FLOOR_NAMES[target_floor], target_floor))
    return problems


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'src'))
    toolkit = toolkit_headers()
    problems = []
    for root, _, files in os.walk(src_dir):
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                rel = os.path.relpath(os.path.join(root, name), src_dir)
                problems.extend(check_file(rel, src_dir, toolkit))
    for problem in sorted(problems):
        print(problem)
    if problems:
        print('check-layering: %d include(s) against the layering rules' % len(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
