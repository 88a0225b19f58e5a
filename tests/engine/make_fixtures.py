#!/usr/bin/env python3
"""Builds the media fixtures of the engine tests with independent tools:
sox encodes MS ADPCM and oggenc encodes Vorbis; sox and oggdec decode the
reference PCM that the tests compare the engine's output with."""
import math
import os
import struct
import subprocess
import sys

RATE = 44100


def tone(frames, seed=0.0):
    out = bytearray()
    for i in range(frames):
        t = i / RATE
        left = 0.45 * math.sin(2 * math.pi * (220 + 30 * seed) * t) + 0.2 * math.sin(2 * math.pi * 1375 * t)
        right = 0.4 * math.sin(2 * math.pi * 330 * t + 1.0) + 0.25 * math.sin(2 * math.pi * 2093 * t * (1 + 0.1 * math.sin(3 * t)))
        out += struct.pack('<hh', int(left * 32767), int(right * 32767))
    return bytes(out)


def chunk(cid, data):
    return cid + struct.pack('<I', len(data)) + data + (b'\0' if len(data) & 1 else b'')


def smpl(start, end):
    header = struct.pack('<9I', 0, 0, 22676, 60, 0, 0, 0, 1, 0)
    loop = struct.pack('<6I', 0, 0, start, end, 0, 0)
    return chunk(b'smpl', header + loop)


def info(title, artist):
    body = b'INFO' + chunk(b'INAM', title + b'\0') + chunk(b'IART', artist + b'\0')
    return chunk(b'LIST', body)


def riff(chunks):
    body = b'WAVE' + b''.join(chunks)
    return b'RIFF' + struct.pack('<I', len(body)) + body


def pcm_wav(pcm, extra=()):
    fmt = struct.pack('<HHIIHH', 1, 2, RATE, RATE * 4, 4, 16)
    return riff([chunk(b'fmt ', fmt), chunk(b'data', pcm), *extra])


def append_chunks(path, extra):
    data = open(path, 'rb').read()
    body = data[8:] + b''.join(extra)
    open(path, 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)


def run(*cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main(out):
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)
    source = tone(3 * RATE)
    open(p('source.wav'), 'wb').write(pcm_wav(source))

    # MS ADPCM with 2048-byte blocks; the loop is added after encoding.
    run('sox', p('source.wav'), '-e', 'ms-adpcm', p('adpcm_loop.wav'))
    append_chunks(p('adpcm_loop.wav'), [smpl(12345, 70001), info(b'ADPCM loop', b'sox')])
    run('sox', p('adpcm_loop.wav'), '-t', 'raw', '-e', 'signed', '-b', '16', p('adpcm_ref.raw'))

    # Ogg Vorbis with loop comments and a Japanese title.
    run('oggenc', '-Q', '-q', '2', '-c', 'LOOPSTART=23456', '-c', 'LOOPLENGTH=50000',
        '-c', 'TITLE=ループ曲', '-c', 'ARTIST=Tarnuvo', '-o', p('vorbis_loop.ogg'), p('source.wav'))
    run('oggdec', '-Q', '-R', '-o', p('vorbis_ref.raw'), p('vorbis_loop.ogg'))
    # A tiny loop, shorter than the buffers in flight.
    run('oggenc', '-Q', '-q', '2', '-c', 'LOOP=s40000e40700', '-o', p('vorbis_short.ogg'), p('source.wav'))

    # For the DirectShow player: an mp3, and a file nothing can render.
    run('lame', '--silent', '-b', '128', p('source.wav'), p('tone.mp3'))
    open(p('noise.xyz'), 'wb').write(bytes((i * 7919 + 13) % 251 for i in range(20000)))

    # Refused kinds.
    run('sox', p('source.wav'), '-r', '48000', p('source48.wav'))
    run('oggenc', '-Q', '-o', p('vorbis_48k.ogg'), p('source48.wav'))
    run('sox', p('source.wav'), '-c', '1', p('mono.wav'))
    run('oggenc', '-Q', '-o', p('vorbis_mono.ogg'), p('mono.wav'))

    # Damaged streams.
    ogg = open(p('vorbis_loop.ogg'), 'rb').read()
    open(p('vorbis_cut.ogg'), 'wb').write(ogg[: len(ogg) // 2])
    open(p('vorbis_headers_cut.ogg'), 'wb').write(ogg[:300])
    damaged = bytearray(ogg)
    for i in range(len(damaged) // 3, len(damaged) // 3 + 400, 7):
        damaged[i] ^= 0x5A
    open(p('vorbis_corrupt.ogg'), 'wb').write(bytes(damaged))

    # A short track for the renderer's command-line tests.
    open(p('small.wav'), 'wb').write(pcm_wav(source[: 3000 * 4]))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
