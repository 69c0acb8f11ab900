#!/usr/bin/env python3
"""Writes the demo edition's recordings: a synthesised song per species, built
from the marks birders read in sonograms (pure whistles, up- and down-slurred
notes, trills, buzzes, harmonic calls, warbles, repeated phrases), its
pattern and pitch chosen from the species' section name, over a little
background noise, repeated to each recording's length.

  tools/make_demo_recordings.py [edition directory]

Sound-file recordings go to base/tapes/<recording number>/ in the format their
compression number names (PCM WAV, MP3 inside WAV, WMA); the tracks of the
audio CD the disc carries go to base/Audio CDs/<folder>/ as MP3 files. MP3
streams are MPEG-1 Layer III at 32,000 or 44,100 Hz for most recordings,
MPEG-2 at 22,050 or 24,000 Hz for some and MPEG-2.5 for a few, as field
recordings come; every length is what the data files say.

Needs ffmpeg (with libmp3lame). Output is the same on every run: every random
choice is seeded from the names, and the encoders run bit-exact.
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
from concurrent.futures import ProcessPoolExecutor, ThreadPoolExecutor

RATE = 32000  # the songs are made at this rate; each format resamples it


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


# --- Songs ----------------------------------------------------------------
#
# A phrase is a list of notes (start s, length s, pitch(x), amplitude,
# harmonics, loudness shape(x)), x running 0..1 through the note. Each style
# below draws its own pattern's numbers from the species' random source, so a
# species keeps its pattern and pitch in every recording.

def note(start, length, pitch, amp=1.0, harmonics=(), shape=None):
    return (start, length, pitch, amp, tuple(harmonics), shape)


def glide(a, b, curve=1.0):
    return lambda x: a + (b - a) * x ** curve


def steady(f, vibrato=0.0, rate=0.0):
    if not vibrato:
        return lambda x: f
    return lambda x: f * (1 + vibrato * math.sin(2 * math.pi * rate * x))


def arch(f, rise):
    """A note that rises to its middle and falls again (a nasal call)."""
    return lambda x: f * (1 + rise * math.sin(math.pi * x))


def whistle_series(r):
    f = r.uniform(2200, 4600)
    step = r.choice([0.94, 0.97, 1.0, 1.0, 1.03])
    count, length, gap = r.randint(3, 7), r.uniform(0.12, 0.35), r.uniform(0.08, 0.25)
    vib = r.choice([0.0, 0.0, 0.01])

    def make(j):
        notes, t = [], 0.0
        for k in range(count):
            notes.append(note(t, length, steady(f * step ** k * j, vib, 8 * length)))
            t += length + gap
        return notes
    return make


def slurred_pairs(r):
    low, high = r.uniform(1800, 3000), r.uniform(3800, 6000)
    up, down = r.uniform(0.12, 0.3), r.uniform(0.2, 0.45)
    pairs, h = r.randint(1, 3), r.choice([(), ((2, 0.18),)])

    def make(j):
        notes, t = [], 0.0
        for _ in range(pairs):
            notes.append(note(t, up, glide(low * j, high * j, 1.6), 0.9, h))
            t += up + 0.04
            notes.append(note(t, down, glide(high * j, low * 0.85 * j, 0.7), 1.0, h))
            t += down + r.uniform(0.25, 0.4)
        return notes
    return make


def trill(r):
    top = r.uniform(3500, 7500)
    span = r.uniform(900, 2600)
    rate = r.uniform(11, 28)
    count = r.randint(12, 35)
    drift = r.uniform(-0.12, 0.1)
    upward = r.random() < 0.3

    def make(j):
        notes = []
        period = 1.0 / rate
        for k in range(count + r.randint(-2, 2)):
            d = 1 + drift * k / count
            a, b = top * d * j, (top - span) * d * j
            notes.append(note(k * period, period * 0.7, glide(b, a) if upward else glide(a, b),
                              0.6 + 0.4 * math.sin(math.pi * (k + 0.5) / count)))
        return notes
    return make


def whistles_then_trill(r):
    intro = whistle_series(r)
    t = trill(r)
    first = r.randint(1, 2)

    def make(j):
        notes = intro(j)[:first]
        start = notes[-1][0] + notes[-1][1] + 0.15
        return notes + [(n[0] + start,) + n[1:] for n in t(j)]
    return make


def buzz(r):
    carrier = r.uniform(4000, 7000)
    rate, depth = r.uniform(70, 140), r.uniform(500, 1300)
    length = r.uniform(0.5, 1.2)
    chips = r.randint(0, 3)
    chip_top = r.uniform(6500, 8500)
    # A buzz is a trill too fast to hear apart: each pulse a short fall in
    # pitch, the pulses a little irregular, so the sonogram shows a thick band
    # rather than the fine lines of a steady warble.
    jitter = [r.uniform(-1, 1) for _ in range(int(length * rate) + 2)]

    def pulses(x):
        p = x * length * rate
        k = int(p)
        return p - k, jitter[k]

    def make(j):
        notes, t = [], 0.0
        for _ in range(chips):
            notes.append(note(t, 0.025, glide(chip_top * j, chip_top * 0.55 * j), 0.9))
            t += r.uniform(0.12, 0.2)
        c = carrier * j

        def pitch(x):
            at, wobble = pulses(x)
            return c + depth * (1 - 2 * at) + 0.4 * depth * wobble

        # Each pulse swells and fades, so its pitch starts again in silence.
        notes.append(note(t, length, pitch, 0.9, (), lambda x: math.sin(math.pi * pulses(x)[0]) ** 2))
        return notes
    return make


def harmonic_calls(r):
    f = r.uniform(700, 1600)
    count, length, gap = r.randint(2, 5), r.uniform(0.15, 0.35), r.uniform(0.15, 0.4)
    rise = r.uniform(-0.08, 0.15)
    h = ((2, 0.8), (3, 0.6), (4, 0.4), (5, 0.25), (6, 0.12))

    def make(j):
        return [note(k * (length + gap), length, arch(f * j, rise), 1.0, h) for k in range(count)]
    return make


def warble(r):
    low, high = r.uniform(1800, 3000), r.uniform(4500, 7000)
    count = r.randint(8, 16)
    pitches = [(r.uniform(low, high), r.uniform(-0.25, 0.25), r.uniform(0.05, 0.11)) for _ in range(count)]

    def make(j):
        notes, t = [], 0.0
        for f, bend, length in pitches:
            notes.append(note(t, length, glide(f * j, f * (1 + bend) * j), 0.9))
            t += length + 0.02
        return notes
    return make


def falling_series(r):
    top, bottom = r.uniform(4500, 6500), r.uniform(2000, 3000)
    count = r.randint(6, 14)
    first_gap, speed_up = r.uniform(0.22, 0.35), r.uniform(0.8, 0.93)

    def make(j):
        notes, t, gap = [], 0.0, first_gap
        for k in range(count):
            f = top + (bottom - top) * k / (count - 1)
            notes.append(note(t, 0.09, glide(f * 1.15 * j, f * 0.85 * j), 1.0))
            t += gap
            gap = max(0.11, gap * speed_up)
        return notes
    return make


def high_thin(r):
    f = r.uniform(6500, 8800)
    length, rise = r.uniform(0.7, 1.4), r.uniform(-0.05, 0.08)
    tail = r.uniform(3000, 4500)

    def make(j):
        return [note(0, length, glide(f * j, f * (1 + rise) * j), 0.8),
                note(length + 0.12, 0.18, glide(tail * j, tail * 0.8 * j), 1.0)]
    return make


def long_rising_whistle(r):
    f, length = r.uniform(1300, 1500), r.uniform(1.0, 1.4)

    def make(j):
        return [note(0, length, glide(f * j, f * 1.12 * j, 1.5), 1.0, ((2, 0.08),),
                     lambda x: min(1.0, 4 * x, 3 * (1 - x)))]
    return make


STYLES = [whistle_series, slurred_pairs, trill, whistles_then_trill, buzz, harmonic_calls, warble,
          falling_series, high_thin]


# Species whose notes in taxa.txt describe their voice sing as described:
# the Gray Tinamou's "single long, hollow, slightly rising whistle".
DESCRIBED = {"1_1": long_rising_whistle}


def phrases_of(key):
    """The species' phrase three times, a little varied, each with the pause
    after it: (notes, end of the phrase, pause) in seconds."""
    r = random.Random(hashlib.sha1(key.encode()).digest())
    style = STYLES[r.randrange(len(STYLES))]
    make = DESCRIBED.get(key, style)(r)
    phrases = []
    for _ in range(3):
        notes = make(r.uniform(0.98, 1.02))
        end = max(n[0] + n[1] for n in notes)
        phrases.append((notes, end, r.uniform(0.9, 2.6)))
    return phrases


def highest_pitch(key):
    """The highest frequency the species' song reaches, harmonics included."""
    return max(n[2](x / 20) * max([1] + [k for k, _ in n[4]])
               for notes, _, _ in phrases_of(key) for n in notes for x in range(21))


def song(key):
    """A bout of the species' song as float samples over background noise."""
    phrases = phrases_of(key)
    seconds = sum(end + pause for _, end, pause in phrases) + 0.3
    out = [0.0] * int(seconds * RATE)
    t = 0.3
    two_pi = 2 * math.pi
    for notes, end, pause in phrases:
        for start, length, pitch, amp, harmonics, shape in notes:
            i0, n = int((t + start) * RATE), int(length * RATE)
            ramp = max(1, min(n // 3, int(0.006 * RATE)))
            norm = 1 + sum(a for _, a in harmonics)
            phase = 0.0
            for i in range(n):
                x = i / n
                phase += two_pi * pitch(x) / RATE
                v = math.sin(phase)
                for k, a in harmonics:
                    v += a * math.sin(k * phase)
                e = min(1.0, i / ramp, (n - i) / ramp)
                if shape:
                    e *= shape(x)
                out[i0 + i] += 0.45 * amp * e * v / norm
        t += end + pause
    # Background: a low rumble (wind, distant traffic) and a faint hiss.
    noise = random.Random(key)
    low = 0.0
    for i in range(len(out)):
        low = 0.995 * low + 0.005 * noise.uniform(-1, 1)
        out[i] += 0.12 * low + 0.0035 * noise.uniform(-1, 1)
    return out


def write_wav(path, samples):
    data = struct.pack("<%dh" % len(samples), *(int(max(-1.0, min(1.0, v)) * 32767) for v in samples))
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16))
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def write_song(job):
    key, path = job
    write_wav(path, song(key))


# --- Formats --------------------------------------------------------------

# MP3 streams as field recordings come: (sample rate, bit rate, highest
# frequency kept). Without the last the encoder would cut everything above
# 5 to 8 kHz at these bit rates, where many songs lie; the songs' sparse
# tones stay clean up there.
MPEG1 = [(32000, "32k", 11000), (44100, "40k", 12000)]
MPEG2 = [(22050, "24k", 10000), (24000, "24k", 11000)]
MPEG25 = [(11025, "16k", 5000), (12000, "16k", 5500)]


def pick(name, choices):
    digest = hashlib.sha1(name.encode()).digest()
    return choices[digest[1] % len(choices)], digest[0]


def mp3_stream(name, highest):
    """Most MPEG-1, the rest MPEG-2 or, for a few songs that stay below its
    Nyquist frequency (above it they would vanish), MPEG-2.5."""
    h = hashlib.sha1(name.encode()).digest()[0] % 20
    family = MPEG1 if h < 13 else MPEG2 if h < 15 or highest > 5000 else MPEG25
    (rate, bits, cutoff), _ = pick(name, family)
    return ["-ar", str(rate), "-c:a", "libmp3lame", "-b:a", bits, "-cutoff", str(cutoff)]


def encoder_arguments(name, compression, extension, highest):
    if compression in (0, 1):
        (rate, _), _ = pick(name, [(22050, 0), (44100, 0)])
        return ["-ar", str(rate), "-c:a", "pcm_s16le", "-f", "wav"]
    if extension == "WMA":
        rate, bits = (22050, "32k") if compression == 7 else (44100, "64k")
        return ["-ar", str(rate), "-c:a", "wmav2", "-b:a", bits, "-f", "asf"]
    return mp3_stream(name, highest) + ["-f", "wav"]


SUFFIX = {0: "", 1: "_R", 2: "_MF", 3: "_MC", 4: "_MT", 5: "_M4", 6: "_M2", 7: "_WM", 8: "_WH", 9: "_MH"}


def render(job):
    song_wav, seconds, name, arguments, target = job
    # A recording's own loudness: the bird nearer or farther.
    gain = 0.55 + 0.45 * hashlib.sha1(name.encode()).digest()[2] / 255
    part = target + ".part"
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", "-stream_loop", "-1", "-i", song_wav,
                    "-t", "%.3f" % seconds, "-ac", "1", "-af", "volume=%.3f" % gain, "-map_metadata", "-1",
                    "-fflags", "+bitexact", "-flags:a", "+bitexact"] + arguments + [part], check=True)
    os.replace(part, target)


def plan(edition):
    """Every recording to make: (species, seconds, name, encoder arguments, target)."""
    base = os.path.join(edition, "base")
    owner = species_of_cut_parts(os.path.join(edition, "cupaitem.txt"))
    cds = {r[0]: r for r in records(os.path.join(edition, "othermedia.txt"), 7)}
    jobs = []
    tracks = {}
    tops = {}

    def highest(species):
        if species not in tops:
            tops[species] = highest_pitch(species)
        return tops[species]
    for r in records(os.path.join(edition, "cutparts.txt"), 10):
        ident = r[0]
        species = owner.get(ident, ident)
        if r[1].startswith("CD"):
            words = r[1].split()
            tracks.setdefault((ident[:3], int(words[words.index("track") + 1])), species)
            continue
        digits = len(ident) - len(ident.lstrip("0123456789"))
        number, first, part = ident[:digits], ident[digits], int(ident[digits + 1:digits + 5])
        second = ident[digits + 5:] if len(ident) > digits + 5 else ""
        compression = int(r[1])
        extension = "WMA" if compression in (7, 8) else "WAV"
        name = "%s%02d%s%s.%s" % (first.strip(), part, second, SUFFIX[compression], extension)
        target = os.path.join(base, "tapes", number.zfill(2), name)
        jobs.append((species, max(1, int(r[2])), ident, encoder_arguments(ident, compression, extension, highest(species)), target))
    for number, cd in cds.items():
        if cd[4].upper() != "TRUE":
            continue  # a CD the user plays from the drive
        lengths = [int(x) for x in cd[5].split(";")[1:]]
        for track, seconds in enumerate(lengths, start=1):
            name = "%s track %d" % (cd[6], track)
            target = os.path.join(base, "Audio CDs", cd[6], "Track %02d.mp3" % track)
            jobs.append((tracks.get((number, track), name), seconds, name,
                         mp3_stream(name, highest(tracks.get((number, track), name))) + ["-write_xing", "0", "-id3v2_version", "0", "-f", "mp3"], target))
    return jobs


def fingerprint(edition):
    """What the recordings are made from: this script, the data files and the encoder."""
    h = hashlib.sha1()
    with open(__file__, "rb") as f:
        h.update(f.read())
    for name in ("cutparts.txt", "cupaitem.txt", "othermedia.txt"):
        with open(os.path.join(edition, name), "rb") as f:
            h.update(f.read())
    h.update(subprocess.run(["ffmpeg", "-version"], capture_output=True, check=True).stdout.split(b"\n")[0])
    return h.hexdigest()


def main():
    edition = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "editions", "demo")
    edition = os.path.abspath(edition)
    base = os.path.join(edition, "base")
    jobs = plan(edition)
    stamp = os.path.join(edition, ".recordings-made")
    made = fingerprint(edition)
    try:
        with open(stamp) as f:
            up_to_date = f.read().strip() == made and all(os.path.isfile(j[4]) for j in jobs)
    except OSError:
        up_to_date = False
    if up_to_date:
        print("The demo recordings are up to date.")
        return
    # Nothing is deleted before its replacement is ready: a program or test
    # reading the recordings meanwhile finds each one whole, old or new.
    wanted = {os.path.normpath(j[4]) for j in jobs}
    work = tempfile.mkdtemp()
    try:
        species = sorted({j[0] for j in jobs})
        songs = {key: os.path.join(work, "%d.wav" % i) for i, key in enumerate(species)}
        workers = os.cpu_count() or 1
        with ProcessPoolExecutor(workers) as pool:
            list(pool.map(write_song, songs.items()))
        for j in jobs:
            os.makedirs(os.path.dirname(j[4]), exist_ok=True)
        with ThreadPoolExecutor(workers) as pool:
            list(pool.map(render, [(songs[j[0]],) + j[1:] for j in jobs]))
    finally:
        shutil.rmtree(work)
    for folder in ("tapes", "Audio CDs"):
        for root, _, files in os.walk(os.path.join(base, folder)):
            for name in files:
                if os.path.normpath(os.path.join(root, name)) not in wanted:
                    os.remove(os.path.join(root, name))
    with open(stamp, "w") as f:
        f.write(made + "\n")


if __name__ == "__main__":
    main()
