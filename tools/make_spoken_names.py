#!/usr/bin/env python3
"""Writes the spoken species names of the demo base directory:
voices/lang1 (English names, English voice) and voices/lang2 (Spanish names,
Spanish voice), one small WAV file per species under its family folder as an
8.3 name, named by the species' unique identifier. Needs espeak-ng and sox.

    tools/make_spoken_names.py [editions/demo]
"""
import pathlib
import re
import subprocess
import sys
import tempfile

edition = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "editions/demo")
base = edition / "base" / "voices"


def sections(path):
    """Section name -> its lines, as the data files write them."""
    out, name = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        m = re.match(r"^@#\[(.*)\]$", line)
        if m and m.group(1):
            name = m.group(1)
            out[name] = []
        elif name is not None:
            out[name].append(line)
    return out


def plain(text):
    return re.sub(r"</?[IBU]>", "", text, flags=re.I).strip()


names = sections(edition / "names_sc.txt")
taxa = sections(edition / "taxa.txt")
families = names["FAMILIES"]
folders = {families[i]: families[i + 1] for i in range(0, len(families) - 1, 2)}

species = []  # (family folder, unique id, English name, Spanish name)
for k in range(1, 1000):
    section = f"SPECIES {k}"
    if section not in names:
        break
    lines = names[section]
    folder = folders.get(lines[0].strip(), "")
    blocks, block = [], None
    for line in lines[1:]:
        if line == "@#[]":
            block = []
            blocks.append(block)
        elif block is not None:
            block.append(line)
    texts = taxa.get(section, [])
    for j, b in enumerate(blocks):
        unique_id = b[1].split()[1]
        english = plain(texts[4 * j]) if 4 * j < len(texts) else ""
        spanish = plain(texts[4 * j + 1]) if 4 * j + 1 < len(texts) else ""
        species.append((folder, unique_id, english or plain(b[0]), spanish or plain(b[0])))


def short_name(folder):
    return (folder[:8] + "." + folder[8:])[:12] if len(folder) > 8 else folder


with tempfile.TemporaryDirectory() as tmp:
    raw = pathlib.Path(tmp) / "name.wav"
    for folder, unique_id, english, spanish in species:
        for lang, voice, text in (("lang1", "en-us", english), ("lang2", "es", spanish)):
            target = base / lang / short_name(folder) / f"{unique_id}.wav"
            target.parent.mkdir(parents=True, exist_ok=True)
            subprocess.run(["espeak-ng", "-v", voice, "-s", "150", "-w", str(raw), text], check=True)
            # 11025 Hz, 8-bit, mono: small, and plain PCM for any player.
            subprocess.run(["sox", str(raw), "-r", "11025", "-b", "8", "-c", "1", str(target)],
                           check=True)
print(f"{len(species)} species, written under {base}")
