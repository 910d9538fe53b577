#!/usr/bin/env python3
"""Fails when a source file includes a folder its library may not use (src/layers.txt)."""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s*"(\w+)/', re.MULTILINE)


def read_table(path):
    table = {}
    for line in path.read_text(encoding='utf-8').splitlines():
        line = line.split('#', 1)[0].strip()
        if not line:
            continue
        folder, _, uses = line.partition(':')
        table[folder.strip()] = set(uses.split())
    return table


def cycle_in(table):
    """A folder that can reach itself through the table, or None."""
    def reaches(start, seen):
        for used in table.get(start, ()):
            if used in seen:
                continue
            seen.add(used)
            reaches(used, seen)
        return seen
    return next((f for f in table if f in reaches(f, set())), None)


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    table = read_table(root / 'src' / 'layers.txt')
    problems = []
    looped = cycle_in(table)
    if looped:
        problems.append(f'src/layers.txt: {looped} can reach itself')
    files = 0
    sources = [(p, p.relative_to(root / 'src').parts[0]) for p in (root / 'src').rglob('*') if p.parent != root / 'src']
    sources += [(p, 'tools') for p in (root / 'tools').rglob('*')] if (root / 'tools').exists() else []
    for path, folder in sources:
        if path.suffix not in ('.h', '.cpp'):
            continue
        files += 1
        if folder not in table:
            problems.append(f'{path.relative_to(root)}: folder {folder} is not in src/layers.txt')
            continue
        text = path.read_text(encoding='utf-8', errors='replace')
        for match in INCLUDE.finditer(text):
            used = match.group(1)
            if used != folder and used not in table[folder]:
                line = text.count('\n', 0, match.start()) + 1
                problems.append(f'{path.relative_to(root)}:{line}: {folder}/ may not include {used}/')
    for problem in problems:
        print(problem)
    print(f'layers: {files} files checked, {len(problems)} problems')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
