#!/usr/bin/env python3
"""Writes the demo edition's recordings: a synthesised bird-like phrase per
species (sweeps, trills, harmonic whistles or noisy chirps, chosen and tuned
from the species' section name), repeated to each recording's length.

  tools/make_demo_recordings.py [edition directory]

Sound-file recordings go to base/tapes/<recording number>/ in the format their
compression number names (PCM WAV, MP3 inside WAV, WMA); the tracks of the
audio CD the disc carries go to base/Audio CDs/<folder>/ as MP3 files.
Needs ffmpeg (with libmp3lame). Output is the same on every run.
"""
import hashlib
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

RATE = 22050


def records(path, size):
    """The records of a data file: blocks after "@#[]" lines."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    out = []
    for i, line in enumerate(lines):
        if line == "@#[]":
            out.append(lines[i + 1:i + 1 + size])
    return out


def species_of_cut_parts(path):
    """Cut-part identifier -> the section (species) of its first item."""
    owner = {}
    section = None
    body = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    def flush():
        for k in range(0, len(body) // 9):
            owner.setdefault(body[k * 9 + 8], section)
    for line in lines:
        if line.startswith("@#[") and line.endswith("]"):
            if section:
                flush()
            section, body = line[3:-1], []
        elif section is not None:
            body.append(line)
    if section:
        flush()
    return owner


def phrase(species):
    """One call of the species and the pause after it, as float samples."""
    rnd = random.Random(hashlib.sha1(species.encode()).digest())
    kind = rnd.choice(["sweep", "trill", "whistle", "chirps", "two-note"])
    base = rnd.uniform(1400, 3800)
    span = rnd.uniform(400, 1600) * rnd.choice([-1, 1])
    length = rnd.uniform(0.5, 1.6)
    pause = rnd.uniform(0.6, 1.8)
    trill_rate = rnd.uniform(14, 40)
    notes = rnd.randint(3, 8)
    noise = random.Random(7)
    samples = []
    phase = 0.0
    n = int(length * RATE)
    for i in range(n):
        t = i / RATE
        x = t / length
        env = min(1.0, x * 20, (1 - x) * 20)
        if kind == "sweep":
            f = base + span * x
            h = 0.0
        elif kind == "trill":
            f = base + 150 * math.sin(2 * math.pi * 6 * t)
            env *= 0.5 + 0.5 * math.sin(2 * math.pi * trill_rate * t) ** 2
            h = 0.0
        elif kind == "whistle":
            f = base * (1 + 0.03 * math.sin(2 * math.pi * 5 * t))
            h = 0.35
        elif kind == "chirps":
            k = int(x * notes)
            y = x * notes - k
            f = base + span * (1 - y)
            env *= 1.0 if y < 0.6 else 0.0
            h = 0.0
        else:
            f = base if x < 0.5 else base * 0.8
            h = 0.2
        phase += 2 * math.pi * f / RATE
        v = math.sin(phase) + h * math.sin(2 * phase)
        if kind == "chirps":
            v = 0.85 * v + 0.15 * noise.uniform(-1, 1)
        samples.append(0.5 * env * v / (1 + h))
    samples.extend([0.0] * int(pause * RATE))
    return samples


def write_wav(path, samples):
    with open(path, "wb") as f:
        data = b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32767)) for s in samples)
        f.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16))
        f.write(b"data" + struct.pack("<I", len(data)) + data)


# Output formats by compression number.
def encoder_arguments(compression, extension):
    if compression in (0, 1):
        return ["-ar", "16000", "-c:a", "pcm_s16le", "-f", "wav"]
    if extension == "WMA":
        return ["-ar", "22050", "-c:a", "wmav2", "-b:a", "32k", "-f", "asf"]
    return ["-ar", "11025", "-c:a", "libmp3lame", "-b:a", "8k", "-f", "wav"]


SUFFIX = {0: "", 1: "_R", 2: "_MF", 3: "_MC", 4: "_MT", 5: "_M4", 6: "_M2", 7: "_WM", 8: "_WH", 9: "_MH"}


def render(phrase_wav, seconds, arguments, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-stream_loop", "-1", "-i", phrase_wav,
                    "-t", "%.3f" % seconds, "-ac", "1", "-map_metadata", "-1", "-fflags", "+bitexact",
                    "-flags:a", "+bitexact"] + arguments + [target], check=True)


def main():
    edition = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "editions", "demo")
    base = os.path.join(edition, "base")
    owner = species_of_cut_parts(os.path.join(edition, "cupaitem.txt"))
    cds = {r[0]: r for r in records(os.path.join(edition, "othermedia.txt"), 7)}
    cuts = records(os.path.join(edition, "cutparts.txt"), 10)
    work = tempfile.mkdtemp()
    phrases = {}

    def phrase_file(species):
        if species not in phrases:
            path = os.path.join(work, "%d.wav" % len(phrases))
            write_wav(path, phrase(species))
            phrases[species] = path
        return phrases[species]

    shutil.rmtree(os.path.join(base, "tapes"), ignore_errors=True)
    shutil.rmtree(os.path.join(base, "Audio CDs"), ignore_errors=True)
    tracks = {}
    for r in cuts:
        ident = r[0]
        species = owner.get(ident, ident)
        if r[1].startswith("CD"):
            words = r[1].split()
            number = ident[:3]
            track = int(words[words.index("track") + 1])
            tracks.setdefault((number, track), species)
            continue
        digits = len(ident) - len(ident.lstrip("0123456789"))
        number, first, part = ident[:digits], ident[digits], int(ident[digits + 1:digits + 5])
        second = ident[digits + 5:] if len(ident) > digits + 5 else ""
        compression = int(r[1])
        extension = "WMA" if compression in (7, 8) else "WAV"
        name = "%s%02d%s%s.%s" % (first.strip(), part, second, SUFFIX[compression], extension)
        target = os.path.join(base, "tapes", number.zfill(2), name)
        render(phrase_file(species), max(1, int(r[2])), encoder_arguments(compression, extension), target)
    for number, cd in cds.items():
        if cd[4].upper() != "TRUE":
            continue  # a CD the user plays from the drive
        lengths = [int(x) for x in cd[5].split(";")[1:]]
        for track, seconds in enumerate(lengths, start=1):
            species = tracks.get((number, track), "track %d" % track)
            target = os.path.join(base, "Audio CDs", cd[6], "Track %02d.mp3" % track)
            render(phrase_file(species), seconds,
                   ["-ar", "11025", "-c:a", "libmp3lame", "-b:a", "8k", "-write_xing", "0", "-id3v2_version", "0",
                    "-f", "mp3"], target)
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
