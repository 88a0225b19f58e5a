#!/usr/bin/env python3
"""Synthesizes the demo loop: a short piece with an intro, a loop body and a tail.

Writes demo-loop.wav (PCM with a smpl loop and LIST/INFO title and artist) and
demo-loop.ogg (Vorbis with LOOPSTART/LOOPLENGTH comments) into OUTDIR.
With --check, verifies files written earlier instead.

Loop ends are exclusive: playback continues at the loop start on reaching the
loop end, so the frame numbered loopEnd is never played while looping.
"""

import argparse
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
from array import array

RATE = 44100
BEAT = RATE // 2  # 120 bpm: every note starts on an exact frame
BAR = 4 * BEAT
INTRO_BARS, BODY_BARS, TAIL_BARS = 2, 8, 2
LOOP_START = INTRO_BARS * BAR
LOOP_END = LOOP_START + BODY_BARS * BAR
TOTAL = LOOP_END + TAIL_BARS * BAR
TITLE = "Tarnuvo demo loop"
ARTIST = "Tarnuvo"
PEAK = 0.85

# (name, pad voicing, bass root) as MIDI note numbers
CHORDS = {
    "C": ((60, 64, 67), 36),
    "Am": ((57, 60, 64), 45),
    "F": ((57, 60, 65), 41),
    "G": ((59, 62, 67), 43),
    "Dm": ((57, 62, 65), 38),
    "G7": ((59, 62, 65, 67), 43),
}
BODY = ["C", "Am", "F", "G", "C", "Am", "Dm", "G7"]

# Melody per body bar: (beat, length in beats, note)
MELODY = [
    [(0, 1, 76), (1, 1, 79), (2, 1.5, 76), (3.5, 0.5, 74)],
    [(0, 1.5, 72), (1.5, 0.5, 74), (2, 2, 76)],
    [(0, 1, 77), (1, 1, 76), (2, 1, 74), (3, 1, 72)],
    [(0, 3, 74), (3, 1, 71)],
    [(0, 1, 76), (1, 1, 79), (2, 1, 84), (3, 1, 83)],
    [(0, 1.5, 81), (1.5, 0.5, 79), (2, 2, 76)],
    [(0, 1, 77), (1, 1, 81), (2, 1, 79), (3, 1, 77)],
    [(0, 1.5, 79), (1.5, 0.5, 77), (2, 1, 74), (3, 1, 71)],
]


def freq(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def frames(beats):
    return int(round(beats * BEAT))


# Every instrument is a pure function of (note, length), so equal events give
# equal samples; renders are cached because the piece repeats a lot.
_cache = {}


def render(instrument, note, length):
    key = (instrument, note, length)
    if key not in _cache:
        _cache[key] = INSTRUMENTS[instrument](note, length)
    return _cache[key]


def pad(note, length):
    # Soft organ-like tone: fundamental, octave and a little twelfth.
    w = 2 * math.pi * freq(note) / RATE
    attack, release = int(0.06 * RATE), int(0.25 * RATE)
    out = []
    for i in range(length + release):
        if i < attack:
            env = i / attack
        elif i < length:
            env = 1.0
        else:
            env = 1.0 - (i - length) / release
        x = w * i
        out.append(env * (math.sin(x) + 0.3 * math.sin(2 * x) + 0.1 * math.sin(3 * x)))
    return out


def bass(note, length):
    # Triangle wave with a plucked envelope.
    f = freq(note) / RATE
    attack, release = int(0.004 * RATE), int(0.05 * RATE)
    tau = 0.35 * RATE
    out = []
    for i in range(length + release):
        env = min(1.0, i / attack) * math.exp(-i / tau)
        if i >= length:
            env *= 1.0 - (i - length) / release
        p = (i * f) % 1.0
        out.append(env * (4.0 * abs(p - 0.5) - 1.0))
    return out


def bell(note, length):
    # Sine with a touch of the second partial, decaying like a soft mallet.
    w = 2 * math.pi * freq(note) / RATE
    attack, release = int(0.008 * RATE), int(0.12 * RATE)
    tau = 0.5 * RATE
    out = []
    for i in range(length + release):
        env = min(1.0, i / attack) * (0.35 + 0.65 * math.exp(-i / tau))
        if i >= length:
            env *= 1.0 - (i - length) / release
        x = w * i
        out.append(env * (math.sin(x) + 0.2 * math.sin(2 * x) * math.exp(-i / (0.1 * RATE))))
    return out


def hat(_note, length):
    # Fixed seed: every hit is the same burst of high-passed noise.
    rng = random.Random(7)
    n = int(0.045 * RATE)
    out, prev = [], 0.0
    for i in range(n):
        r = rng.uniform(-1.0, 1.0)
        out.append((r - prev) * math.exp(-i / (0.012 * RATE)))
        prev = r
    return out


INSTRUMENTS = {"pad": pad, "bass": bass, "bell": bell, "hat": hat}

# (instrument, gain, pan from -1 left to 1 right)
VOICES = {"pad": (0.11, 0.0), "bass": (0.42, 0.0), "bell": (0.30, 0.25), "hat": (0.10, -0.35)}


def bar_events(chord, melody, with_melody=True, with_hats=True):
    """Events of one bar as (offset, instrument, note, length, pan shift)."""
    voicing, root = CHORDS[chord]
    events = []
    for k, n in enumerate(voicing):
        spread = (k - (len(voicing) - 1) / 2) * 0.3
        events.append((0, "pad", n, BAR, spread))
    # Root, a pushed root, the fifth and the octave.
    for beat, length, n in ((0, 1.5, root), (1.5, 0.5, root), (2, 1, root + 7), (3, 1, root + 12)):
        events.append((frames(beat), "bass", n, frames(length) - int(0.02 * RATE), 0.0))
    if with_melody:
        for beat, length, n in melody:
            events.append((frames(beat), "bell", n, frames(length), 0.0))
    if with_hats:
        for eighth in range(1, 8, 2):
            events.append((frames(eighth / 2), "hat", 0, 0, 0.0))
    return events


def compose():
    """Returns (intro, body, tail) events with absolute frame positions."""
    body = []
    for b, chord in enumerate(BODY):
        body += [(LOOP_START + b * BAR + e[0],) + e[1:] for e in bar_events(chord, MELODY[b])]
    # The intro's last bar is the body's last bar, so the intro leads into the
    # loop start exactly as the loop end does.
    intro = [(e[0],) + e[1:] for e in bar_events("C", [], with_melody=False, with_hats=False)]
    intro += [(BAR + e[0],) + e[1:] for e in bar_events(BODY[-1], MELODY[-1])]
    tail = []
    voicing, root = CHORDS["C"]
    for k, n in enumerate(voicing):
        tail.append((LOOP_END, "pad", n, BAR + 2 * BEAT, (k - 1) * 0.3))
    tail.append((LOOP_END, "bass", root, BAR + 2 * BEAT, 0.0))
    tail.append((LOOP_END, "bell", 72, BAR + 2 * BEAT, 0.0))
    tail.append((LOOP_END, "bell", 79, BAR + 2 * BEAT, 0.0))
    return intro, body, tail


def mix_into(left, right, pos, samples, gl, gr, lo, hi):
    """Adds samples placed at pos, clipped to [lo, hi)."""
    a, b = max(pos, lo), min(pos + len(samples), hi)
    if a >= b:
        return
    src = samples[a - pos : b - pos]
    left[a:b] = [x + gl * s for x, s in zip(left[a:b], src)]
    right[a:b] = [x + gr * s for x, s in zip(right[a:b], src)]


def synthesize():
    intro, body, tail = compose()
    left, right = [0.0] * TOTAL, [0.0] * TOTAL

    def place(events, lo, hi, wrap):
        for pos, instrument, note, length, pan_shift in events:
            samples = render(instrument, note, length)
            gain, pan = VOICES[instrument]
            angle = (max(-1.0, min(1.0, pan + pan_shift)) + 1) * math.pi / 4
            gl, gr = gain * math.cos(angle), gain * math.sin(angle)
            mix_into(left, right, pos, samples, gl, gr, lo, hi)
            # What rings past the loop end also sounds after the jump back.
            if wrap and pos + len(samples) > LOOP_END:
                mix_into(left, right, pos - (LOOP_END - LOOP_START), samples, gl, gr,
                         LOOP_START, LOOP_END)

    # The intro stops at the loop start: the wrapped ringing of the body's last
    # bar, which the intro's last bar repeats, stands in for its own.
    place(intro, 0, LOOP_START, False)
    place(body, LOOP_START, TOTAL, True)
    place(tail, LOOP_END, TOTAL, False)

    peak = max(max(map(abs, left)), max(map(abs, right)))
    scale = PEAK * 32767 / peak
    fade = int(0.05 * RATE)
    pcm = array("h", bytes(4 * TOTAL))
    for i in range(TOTAL):
        g = scale if i < TOTAL - fade else scale * (TOTAL - i) / fade
        pcm[2 * i] = int(round(left[i] * g))
        pcm[2 * i + 1] = int(round(right[i] * g))
    if sys.byteorder != "little":
        pcm.byteswap()
    return pcm.tobytes()


def chunk(tag, payload):
    assert len(payload) % 2 == 0, "readers here do not skip pad bytes"
    return tag + struct.pack("<I", len(payload)) + payload


def wav_bytes(data):
    fmt = struct.pack("<HHIIHH", 1, 2, RATE, RATE * 4, 4, 16)
    # Manufacturer, product, sample period (ns), unity note, pitch fraction,
    # SMPTE format and offset, loop count, sampler data; then one forward loop.
    smpl = struct.pack("<9I", 0, 0, 1000000000 // RATE, 60, 0, 0, 0, 1, 0)
    smpl += struct.pack("<6I", 0, 0, LOOP_START, LOOP_END, 0, 0)
    info = b"INFO"
    info += chunk(b"INAM", TITLE.encode("ascii") + b"\0")
    info += chunk(b"IART", ARTIST.encode("ascii") + b"\0")
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", data)
    body += chunk(b"smpl", smpl) + chunk(b"LIST", info)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write_atomic(path, payload):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(payload)
    os.replace(tmp, path)


def generate(outdir, oggenc):
    os.makedirs(outdir, exist_ok=True)
    wav = os.path.join(outdir, "demo-loop.wav")
    ogg = os.path.join(outdir, "demo-loop.ogg")
    write_atomic(wav, wav_bytes(synthesize()))
    tmp = ogg + ".tmp"
    subprocess.run(
        [oggenc, "-Q", "-q", "5", "-c", "TITLE=" + TITLE, "-c", "ARTIST=" + ARTIST,
         "-c", "LOOPSTART=%d" % LOOP_START, "-c", "LOOPLENGTH=%d" % (LOOP_END - LOOP_START),
         "-o", tmp, wav],
        check=True)
    os.replace(tmp, ogg)


def parse_wav(blob):
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        raise ValueError("not RIFF/WAVE")
    if struct.unpack_from("<I", blob, 4)[0] != len(blob) - 8:
        raise ValueError("RIFF size does not match the file")
    chunks, off = {}, 12
    while off + 8 <= len(blob):
        tag, size = blob[off : off + 4], struct.unpack_from("<I", blob, off + 4)[0]
        chunks[tag] = blob[off + 8 : off + 8 + size]
        off += 8 + size
    if off != len(blob):
        raise ValueError("chunk sizes do not add up to the file size")
    return chunks


def check(outdir, oggdec, vorbiscomment):
    problems = []

    def expect(cond, what):
        if not cond:
            problems.append(what)

    with open(os.path.join(outdir, "demo-loop.wav"), "rb") as f:
        chunks = parse_wav(f.read())
    expect(list(chunks)[0] == b"fmt ", "fmt is not the first chunk")
    expect(chunks[b"fmt "] == struct.pack("<HHIIHH", 1, 2, RATE, RATE * 4, 4, 16),
           "not 16-bit stereo 44100 Hz PCM")
    smpl = chunks.get(b"smpl", b"")
    expect(len(smpl) == 60, "smpl chunk is not one header and one loop")
    if len(smpl) == 60:
        expect(struct.unpack_from("<I", smpl, 28)[0] == 1, "smpl loop count is not 1")
        start, end = struct.unpack_from("<II", smpl, 44)
        expect((start, end) == (LOOP_START, LOOP_END), "smpl loop is %d..%d" % (start, end))
    expect(chunks.get(b"LIST", b"") == b"INFO" + chunk(b"INAM", TITLE.encode() + b"\0")
           + chunk(b"IART", ARTIST.encode() + b"\0"), "LIST/INFO does not hold title and artist")
    data = chunks.get(b"data", b"")
    expect(len(data) == 4 * TOTAL, "data holds %d frames, not %d" % (len(data) // 4, TOTAL))
    if len(data) == 4 * TOTAL:
        pcm = array("h", data)
        if sys.byteorder != "little":
            pcm.byteswap()
        # The intro ends with the body's last bar: the last beat before the loop
        # start and before the loop end must be the same samples.
        a, b = 2 * (LOOP_START - BEAT), 2 * (LOOP_END - BEAT)
        expect(pcm[a : a + 2 * BEAT] == pcm[b : b + 2 * BEAT],
               "the loop end does not lead in like the intro")
        # The jump from the loop end to the loop start is no rougher than the
        # music around it.
        for ch in (0, 1):
            stream = [pcm[2 * i + ch] for i in range(LOOP_END - 64, LOOP_END)]
            stream += [pcm[2 * i + ch] for i in range(LOOP_START, LOOP_START + 64)]
            steps = [abs(y - x) for x, y in zip(stream, stream[1:])]
            jump = steps[63]
            expect(jump <= 2 * max(steps[:63] + steps[64:]) + 2,
                   "channel %d jumps by %d at the loop" % (ch, jump))

    ogg = os.path.join(outdir, "demo-loop.ogg")
    listed = subprocess.run([vorbiscomment, "-l", ogg], check=True, capture_output=True,
                            text=True).stdout.splitlines()
    # Comment names are case-insensitive; values are compared exactly.
    comments = {c.split("=", 1)[0].upper() + "=" + c.split("=", 1)[1] for c in listed if "=" in c}
    for want in ("TITLE=" + TITLE, "ARTIST=" + ARTIST, "LOOPSTART=%d" % LOOP_START,
                 "LOOPLENGTH=%d" % (LOOP_END - LOOP_START)):
        expect(want in comments, "Ogg comment %s missing" % want)
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, "demo.raw")
        subprocess.run([oggdec, "-Q", "-R", "-o", raw, ogg], check=True)
        size = os.path.getsize(raw)
    expect(size == 4 * TOTAL, "Ogg stream holds %d frames, not %d" % (size // 4, TOTAL))

    for p in problems:
        print("demo loop: " + p, file=sys.stderr)
    return not problems


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir")
    ap.add_argument("--check", action="store_true", help="verify files written earlier")
    ap.add_argument("--oggenc", default=shutil.which("oggenc") or "oggenc")
    ap.add_argument("--oggdec", default=shutil.which("oggdec") or "oggdec")
    ap.add_argument("--vorbiscomment", default=shutil.which("vorbiscomment") or "vorbiscomment")
    args = ap.parse_args()
    if args.check:
        ok = check(args.outdir, args.oggdec, args.vorbiscomment)
        print("demo loop: %s" % ("ok" if ok else "FAILED"))
        return 0 if ok else 1
    generate(args.outdir, args.oggenc)
    return 0


if __name__ == "__main__":
    sys.exit(main())
