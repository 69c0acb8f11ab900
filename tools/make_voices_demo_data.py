#!/usr/bin/env python3
"""Writes the species-names file of the demo run as the edition with spoken
names (editions/demo-voices/names_sc.txt): the demo's own file with every
species number moved by +52000, into the range of species that edition
lists. Nothing else in the demo's data refers to species numbers (pictures,
recordings, maps and spoken names go by unique identifier), so the other
data files are shared unchanged.

    tools/make_voices_demo_data.py [editions/demo] [editions/demo-voices]
"""
import pathlib
import re
import sys

SHIFT = 52000
# The edition with spoken names lists species numbered 52000..55500.
FIRST, LAST = 52000, 55500

source = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "editions/demo")
target = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else "editions/demo-voices")

raw = (source / "names_sc.txt").read_bytes()
lines = raw.decode("utf-8").split("\n")
in_species = False
numbers_at = None  # index of the next species block's numbers line
shifted = 0
for i, line in enumerate(lines):
    bare = line.rstrip("\r")
    section = re.match(r"^@#\[(.*)\]$", bare)
    if section:
        name = section.group(1)
        if name:
            in_species = name.startswith("SPECIES ")
        elif in_species:
            numbers_at = i + 2  # a block: scientific name, then the numbers
        continue
    if i != numbers_at:
        continue
    m = re.match(r"^(\d+) (\d+)$", bare)
    if not m:
        sys.exit(f"names_sc.txt line {i + 1}: species numbers expected, found {bare!r}")
    number = int(m.group(1)) + SHIFT
    if not FIRST <= number <= LAST:
        sys.exit(f"names_sc.txt line {i + 1}: {number} lies outside {FIRST}..{LAST}")
    lines[i] = f"{number} {m.group(2)}" + line[len(bare):]
    shifted += 1

if shifted == 0:
    sys.exit("names_sc.txt: no species found")
target.mkdir(parents=True, exist_ok=True)
(target / "names_sc.txt").write_bytes("\n".join(lines).encode("utf-8"))
print(f"{shifted} species numbers moved by +{SHIFT} into {target / 'names_sc.txt'}")
