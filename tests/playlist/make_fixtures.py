#!/usr/bin/env python3
"""Makes the archive and media fixtures of the playlist tests in OUTDIR.

Archives come from the real tools (zip, 7z); the hostile one, whose member
names no archiver would write, from Python's zipfile. The mp3 comes from lame;
RIFF containers are assembled here, their tags are added by the tests.
"""

import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave
import zipfile

# Distinct contents, so a test can tell which member it got.
MEMBERS = {
    "song.mp3": b"top-level member\n",
    "sub/deep.mp3": b"member in a subfolder\n",
    "sub/notes.txt": b"not an mp3\n",
}

HOSTILE = {
    "../../escape.mp3": b"escaped\n",
    "..\\..\\escape2.mp3": b"escaped\n",
    "C:/drive.mp3": b"drive\n",
    "/absolute.mp3": b"absolute\n",
    'quote".mp3': b"quote\n",
    "-aoa.mp3": b"switch\n",
    "CON.mp3": b"device\n",
    "x" * 300 + ".mp3": b"long\n",
    "ok.mp3": b"safe member\n",
}


def run(*args, cwd=None):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def stage(folder, members):
    for name, data in members.items():
        path = os.path.join(folder, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def make_tone(path, seconds=1.0, rate=44100):
    frames = int(seconds * rate)
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            v = int(8000 * math.sin(2 * math.pi * 440 * i / rate))
            data += struct.pack("<hh", v, v)
        w.writeframes(bytes(data))


def chunk(tag, payload):
    pad = b"\0" if len(payload) % 2 else b""
    return tag + struct.pack("<I", len(payload)) + payload + pad


def info_list(fields):
    body = b"".join(chunk(k, v + b"\0") for k, v in fields)
    return chunk(b"LIST", b"INFO" + body)


def riff_wave(fmt, data, fields):
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", data) + info_list(fields)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def pcm_fmt():
    return struct.pack("<HHIIHH", 1, 2, 44100, 176400, 4, 16)


def mp3_fmt():
    # MPEG layer 3 in RIFF: the common header and its 12 extra bytes.
    return struct.pack("<HHIIHHHHIHHH", 0x55, 2, 44100, 16000, 1, 0, 12, 1, 2, 417, 1, 1393)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lame", default="lame")
    parser.add_argument("--zip", default="zip")
    parser.add_argument("--sevenzip", default="7z")
    parser.add_argument("outdir")
    args = parser.parse_args()
    out = os.path.abspath(args.outdir)
    os.makedirs(out, exist_ok=True)

    with tempfile.TemporaryDirectory() as work:
        src = os.path.join(work, "members")
        stage(src, MEMBERS)
        names = list(MEMBERS)
        for target in ("plain.zip", "plain.7z", "sfx.zip"):
            if os.path.exists(os.path.join(out, target)):
                os.remove(os.path.join(out, target))
        run(args.zip, "-q", "-X", os.path.join(out, "plain.zip"), *names, cwd=src)
        run(args.sevenzip, "a", "-bd", os.path.join(out, "plain.7z"), *names, cwd=src)

        # A self-extracting archive: a program stub followed by a zip whose
        # offsets zip -A adjusts.
        sfx = os.path.join(work, "sfx.zip")
        with open(sfx, "wb") as f:
            f.write(b"MZ" + b"\0" * 1022)
            with open(os.path.join(out, "plain.zip"), "rb") as z:
                f.write(z.read())
        run(args.zip, "-q", "-A", sfx)
        shutil.copyfile(sfx, os.path.join(out, "sfx.exe"))
        shutil.copyfile(os.path.join(out, "plain.zip"), os.path.join(out, "music"))
        shutil.copyfile(os.path.join(out, "plain.zip"), os.path.join(out, "PLAIN.ZIP"))
        with open(os.path.join(out, "notarchive.exe"), "wb") as f:
            f.write(b"MZ" + bytes(range(256)) * 8)
        with open(os.path.join(out, "notarchive.rar"), "wb") as f:
            f.write(b"not a rar archive\n" * 16)

        with zipfile.ZipFile(os.path.join(out, "hostile.zip"), "w") as z:
            for name, data in HOSTILE.items():
                z.writestr(zipfile.ZipInfo(name), data)

        tone = os.path.join(work, "tone.wav")
        make_tone(tone)
        mp3 = os.path.join(out, "tone.mp3")
        run(args.lame, "--quiet", "-b", "128", tone, mp3)
        with open(mp3, "rb") as f:
            mp3_bytes = f.read()

    with open(os.path.join(out, "riff-mp3.wav"), "wb") as f:
        f.write(riff_wave(mp3_fmt(), mp3_bytes, [(b"INAM", b"RIFF Title"), (b"IART", b"RIFF Artist")]))
    with open(os.path.join(out, "pcm-no-title.wav"), "wb") as f:
        f.write(riff_wave(pcm_fmt(), b"\0" * 4410 * 4, [(b"INAM", b""), (b"IART", b"WAV Artist")]))
    with open(os.path.join(out, "pcm-titled.wav"), "wb") as f:
        f.write(riff_wave(pcm_fmt(), b"\0" * 4410 * 4,
                          [(b"INAM", "波の音".encode("cp932")), (b"IART", b"WAV Artist")]))
    make_intake_archives(out)
    return 0


def pcm_member(title, frames=2205):
    return riff_wave(pcm_fmt(), b"\1\0" * 2 * frames, [(b"INAM", title), (b"IART", b"Intake")])


def make_intake_archives(out):
    """Archives whose mp3-named members are small PCM WAV files, which the
    native player probes without a decoder: intake.zip for the wildcard, and
    many.zip with 300 members for a long intake."""
    with zipfile.ZipFile(os.path.join(out, "intake.zip"), "w") as z:
        z.writestr("a.mp3", pcm_member(b"Alpha"))
        z.writestr("b.ogg", pcm_member(b"Beta"))
        z.writestr("sub/c.MP3", pcm_member(b"Gamma"))
        z.writestr("d.mp3", b"not a sound file\n")
        z.writestr("-o.mp3", pcm_member(b"Switch"))
        z.writestr("@list.mp3", pcm_member(b"Response"))
    with zipfile.ZipFile(os.path.join(out, "many.zip"), "w") as z:
        for i in range(300):
            z.writestr("m%03d.mp3" % i, pcm_member(b"Member %03d" % i, 441))


if __name__ == "__main__":
    sys.exit(main())
