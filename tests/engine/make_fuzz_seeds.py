#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_media: a control byte (play mode, loop
count, seek target), then a file. Small files of each kind the engine plays,
made as the test fixtures are, the kinds it refuses, and the damaged files of
the bad-input tests. Run by hand when the engine learns a new kind; the
output is committed, and a test checks that it is what the script makes:
    tests/engine/make_fuzz_seeds.py tests/engine/fuzz_media_seeds
    tests/engine/make_fuzz_seeds.py --check tests/engine/fuzz_media_seeds"""
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_fixtures import RATE, chunk, info, pcm_wav, riff, smpl, tone  # noqa: E402

SINGLE, REPEAT_ONE, REPEAT_ALL, RANDOM = range(4)
ADPCM_BLOCK = 2048


def control(mode, loops=0, seek=0):
    return bytes([mode | loops << 2 | seek << 5])


def fmt(tag, channels, rate, align, bits, extra=None):
    body = struct.pack('<HHIIHH', tag, channels, rate, rate * align, align, bits)
    if extra is not None:
        body += struct.pack('<H', extra) + bytes(extra)
    return chunk(b'fmt ', body)


def lying(cid, data, declared):
    """A chunk whose size field says something else than what follows."""
    return cid + struct.pack('<I', declared) + data


def wav(chunks, riff_size=None):
    body = b'WAVE' + b''.join(chunks)
    size = len(body) if riff_size is None else riff_size
    return b'RIFF' + struct.pack('<I', size) + body


def extensible_fmt(channels, rate, bits, valid, subformat, cb_size=22):
    """WAVE_FORMAT_EXTENSIBLE, cut or padded to `cb_size` extra bytes."""
    mask = 0x4 if channels == 1 else (1 << channels) - 1
    guid_tail = bytes.fromhex('000000001000800000aa00389b71')
    extra = struct.pack('<HIH', valid, mask, subformat) + guid_tail
    body = struct.pack('<HHIIHHH', 0xFFFE, channels, rate, rate * channels * bits // 8,
                       channels * bits // 8, bits, cb_size)
    return chunk(b'fmt ', body + (extra + bytes(cb_size))[:cb_size])


def adpcm_fmt(channels, rate, align, per_block):
    coefficients = struct.pack('<14h', 256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392,
                               -232)
    bytes_per_second = rate * align // per_block if per_block else 0
    body = struct.pack('<HHIIHHHHH', 2, channels, rate, bytes_per_second, align, 4, 32, per_block, 7)
    return chunk(b'fmt ', body + coefficients)


PCM_FMT = fmt(1, 2, RATE, 4, 16)
ADPCM_FMT = fmt(2, 2, RATE, ADPCM_BLOCK, 4, 32)


def counting(frames):
    return b''.join(struct.pack('<HH', i & 0xFFFF, (i >> 16) ^ 0x5A5A) for i in range(frames))


def adpcm_block(pred, delta, s1, s2, nibbles):
    head = struct.pack('<BBhhhhhh', pred, pred, delta, delta, s1, s1, s2, s2)
    return head + bytes([nibbles]) * (ADPCM_BLOCK - len(head))


def info_list(*subchunks):
    return b'INFO' + b''.join(subchunks)


def run(*cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def encoded(tmp):
    """Files made by the same independent encoders as the test fixtures."""
    p = lambda name: os.path.join(tmp, name)
    out = {}
    open(p('src.wav'), 'wb').write(pcm_wav(tone(4072)))
    # Two whole ADPCM blocks of 2036 frames each.
    run('sox', '-R', p('src.wav'), '-e', 'ms-adpcm', p('adpcm.wav'))
    adpcm = open(p('adpcm.wav'), 'rb').read()
    body = adpcm[12:] + smpl(10, 3000) + info(b'ADPCM seed', b'sox')
    out['adpcm'] = b'RIFF' + struct.pack('<I', len(body) + 4) + b'WAVE' + body

    # The serial number is fixed so that the corpus comes out the same each time.
    def ogg(name, source, *comments):
        args = []
        for c in comments:
            args += ['-c', c]
        run('oggenc', '-Q', '-q', '-1', '-s', '1', *args, '-o', p(name), source)
        return open(p(name), 'rb').read()

    open(p('short.wav'), 'wb').write(pcm_wav(tone(6000)))
    out['vorbis'] = ogg('a.ogg', p('short.wav'), 'LOOPSTART=100', 'LOOPLENGTH=900',
                        'TITLE=ループ曲', 'ARTIST=Tarnuvo')
    out['vorbis_loop_form'] = ogg('b.ogg', p('short.wav'), 'LOOP=s200e1500')
    out['vorbis_loopend'] = ogg('c.ogg', p('short.wav'), 'loopstart=300', 'LoopEnd=1200')
    out['vorbis_odd_values'] = ogg('d.ogg', p('short.wav'), 'LOOPSTART', 'LOOPLENGTH',
                                   'LOOPSTART=  +12abc', 'LOOPEND=99999999999999999999')
    out['vorbis_negative'] = ogg('e.ogg', p('short.wav'), 'LOOPSTART=-5', 'LOOPEND=10')
    out['vorbis_long_loop'] = ogg('f.ogg', p('short.wav'), 'LOOP=s' + '1' * 400 + 'e5')
    run('sox', '-R', p('short.wav'), '-c', '1', p('mono.wav'))
    out['vorbis_mono'] = ogg('g.ogg', p('mono.wav'))
    run('sox', '-R', p('short.wav'), '-r', '48000', p('48k.wav'))
    out['vorbis_48k'] = ogg('h.ogg', p('48k.wav'), 'LOOPSTART=101', 'LOOPLENGTH=2001')
    run('sox', '-R', '-r', '32000', '-c', '6', '-n', '-r', '32000', '-c', '6', '-b', '16',
        p('six.wav'), 'synth', '1500s', 'sine', '200', 'sine', '300', 'sine', '400', 'sine', '500',
        'sine', '600', 'sine', '700')
    out['vorbis_6ch'] = ogg('i.ogg', p('six.wav'), 'LOOPSTART=33', 'LOOPLENGTH=1111')
    # One 512-byte ADPCM block of 1012 frames and a partial one.
    run('sox', '-R', p('mono.wav'), '-r', '22050', '-e', 'ms-adpcm', p('adpcm_mono.wav'))
    mono = open(p('adpcm_mono.wav'), 'rb').read()
    body = mono[12:] + smpl(7, 1001)
    out['adpcm_mono'] = b'RIFF' + struct.pack('<I', len(body) + 4) + b'WAVE' + body
    return out


def seeds(enc):
    pcm = counting(800)
    s = {}
    # Each kind the engine plays.
    s['pcm-loop'] = control(REPEAT_ALL, 2, 3) + wav(
        [PCM_FMT, info(b'Seed', b'Tarnuvo'), chunk(b'data', pcm), smpl(100, 600)])
    s['pcm-tone-repeat-one'] = control(REPEAT_ONE, 0, 5) + pcm_wav(tone(500))
    s['adpcm-loop'] = control(REPEAT_ALL, 3, 1) + enc['adpcm']
    s['vorbis-loop'] = control(RANDOM, 1, 5) + enc['vorbis']
    s['vorbis-loop-form'] = control(REPEAT_ONE, 0, 2) + enc['vorbis_loop_form']
    s['vorbis-loopend'] = control(REPEAT_ALL, 7, 6) + enc['vorbis_loopend']

    # Every sample type at other rates and channel counts.
    played = [(1, 1, 44100, 2, 16), (1, 2, 48000, 4, 16), (1, 2, 44100, 6, 24),
              (1, 2, 44100, 2, 8), (1, 1, 8000, 1, 8), (1, 8, 192000, 32, 32),
              (3, 2, 22050, 8, 32), (3, 1, 96000, 8, 64)]
    for tag, ch, rate, align, bits in played:
        name = 'format-tag%d-%dch-%d-align%d-bits%d' % (tag, ch, rate, align, bits)
        s[name] = control(REPEAT_ALL, 1, 2) + wav([fmt(tag, ch, rate, align, bits),
                                                   chunk(b'data', pcm[:1600]), smpl(3, 90)])
    s['format-extensible-24-in-32'] = control(REPEAT_ONE, 0, 3) + wav(
        [extensible_fmt(2, 48000, 32, 24, 1), chunk(b'data', pcm[:1600]), smpl(5, 77)])
    s['format-extensible-float-6ch'] = control(REPEAT_ALL, 2, 1) + wav(
        [extensible_fmt(6, 32000, 32, 32, 3), chunk(b'data', pcm[:2400]), smpl(9, 50)])
    s['format-extensible-pcm-6ch'] = control(SINGLE) + wav(
        [extensible_fmt(6, 48000, 16, 16, 1), chunk(b'data', pcm[:2400])])
    s['format-adpcm-mono-22050'] = control(REPEAT_ALL, 3, 4) + enc['adpcm_mono']
    s['vorbis-mono'] = control(SINGLE) + enc['vorbis_mono']
    s['vorbis-48k'] = control(REPEAT_ALL, 1, 3) + enc['vorbis_48k']
    s['vorbis-6ch'] = control(REPEAT_ONE, 0, 6) + enc['vorbis_6ch']
    # Float values beyond any sample: they play.
    floats = struct.pack('<8f', float('nan'), float('inf'), -float('inf'), 1e30, -1e30, 3.5,
                         1e-40, -0.0)
    doubles = struct.pack('<8d', 1e300, -1e300, 1e39, float('nan'), 1e-320, float('inf'),
                          -float('inf'), 0.1)
    s['float-nan-and-huge-32'] = control(REPEAT_ONE, 0, 1) + wav(
        [fmt(3, 2, 48000, 8, 32), chunk(b'data', floats * 40), smpl(1, 70)])
    s['float-nan-and-huge-64'] = control(REPEAT_ALL, 2, 2) + wav(
        [fmt(3, 1, 44100, 8, 64), chunk(b'data', doubles * 40), smpl(3, 200)])

    # Format chunks it refuses.
    refused = [(3, 2, 44100, 4, 16, None), (2, 2, 44100, 1024, 4, 32), (2, 1, 44100, 2048, 4, 32),
               (2, 2, 22050, 2048, 4, 32), (2, 2, 44100, 2048, 4, 0), (0x11, 2, 44100, 2048, 4, 2),
               (1, 2, 7999, 4, 16, None), (1, 2, 192001, 4, 16, None), (1, 0, 44100, 0, 16, None),
               (1, 9, 44100, 18, 16, None), (1, 2, 44100, 4, 12, None), (1, 2, 44100, 6, 16, None),
               (3, 1, 44100, 8, 32, None)]
    for tag, ch, rate, align, bits, extra in refused:
        name = 'refused-tag%d-%dch-%d-align%d-bits%d' % (tag, ch, rate, align, bits)
        s[name] = control(SINGLE) + wav([fmt(tag, ch, rate, align, bits, extra),
                                         chunk(b'data', pcm[:400])])
    refused_chunks = {
        'extensible-cbsize-21': extensible_fmt(2, 48000, 16, 16, 1, cb_size=21),
        'extensible-unknown-subformat': extensible_fmt(2, 48000, 16, 16, 2),
        'extensible-valid-above-container': extensible_fmt(2, 48000, 24, 32, 1),
        'adpcm-zero-samples-per-block': adpcm_fmt(1, 22050, 512, 0),
        'adpcm-samples-per-block-against-align': adpcm_fmt(1, 22050, 512, 1000),
    }
    for name, format_chunk in refused_chunks.items():
        s['refused-' + name] = control(REPEAT_ALL, 1, 1) + wav(
            [format_chunk, chunk(b'data', pcm[:2048]), smpl(2, 40)])

    # The damaged files of the bad-input tests.
    data = chunk(b'data', pcm[:200])
    small = pcm[:200]
    d = {
        'header-cut-inside-fmt': wav([PCM_FMT])[:30],
        'chunk-header-cut': wav([PCM_FMT, chunk(b'data', small)])[:48],
        'data-past-the-end': wav([PCM_FMT, lying(b'data', small, 1 << 30)]),
        'data-size-minus-one': wav([PCM_FMT, lying(b'data', small, 0xFFFFFFFF)]),
        'chunk-size-minus-one-before-data': wav([PCM_FMT, lying(b'junk', bytes(8), 0xFFFFFFFF),
                                                 data]),
        'chunk-size-wraps-to-zero': wav([PCM_FMT, lying(b'junk', bytes(8), 0xFFFFFFF8), data]),
        'fmt-size-minus-one': wav([lying(b'fmt ', bytes(16), 0xFFFFFFFF)]),
        'list-size-minus-one': wav([PCM_FMT, data,
                                    lying(b'LIST', info_list(chunk(b'INAM', b'x\0')),
                                          0xFFFFFFFF)]),
        'info-subchunk-size-minus-one': wav([PCM_FMT, data, chunk(
            b'LIST', info_list(b'INAM\xff\xff\xff\xffa'))]),
        'info-subchunk-header-cut': wav([PCM_FMT, data, lying(b'LIST', b'INFOIN', 40)]),
        'list-type-cut': wav([PCM_FMT, data, b'LIST\x04\0\0\0IN']),
        'smpl-cut': wav([PCM_FMT, data, lying(b'smpl', b'\xff' * 40, 60)]),
        'data-size-zero': wav([PCM_FMT, chunk(b'data', b'')]),
        'no-data-chunk': wav([PCM_FMT, chunk(b'junk', small)]),
        'empty': b'',
        'riff-size-equals-file-size': wav([PCM_FMT, data], riff_size=4 + len(PCM_FMT + data) + 8),
        'riff-size-minus-one': wav([PCM_FMT, data], riff_size=0xFFFFFFFF),
        'fmt-not-first': wav([chunk(b'junk', bytes(4)), PCM_FMT, data]),
        'smpl-loop-count-zero': wav([PCM_FMT, data, smpl_loops(5, 9, 0)]),
        'smpl-start-equals-end': wav([PCM_FMT, data, smpl(7, 7)]),
        'smpl-twice': wav([PCM_FMT, data, smpl(1, 5), smpl(9, 3)]),
        'smpl-huge-count-short-chunk': wav([PCM_FMT, data, chunk(
            b'smpl', bytes(28) + b'\xff\xff\xff\xff' + bytes(4))]),
        'info-text-unterminated': wav([PCM_FMT, chunk(b'LIST', info_list(
            chunk(b'INAM', b'Title'))), chunk(b'data', b'')]),
        'info-text-size-minus-one': wav([PCM_FMT, chunk(b'data', b''), chunk(
            b'LIST', b'INFOINAM\xff\xff\xff\xff' + b'x' * 400)]),
        'info-text-at-end-of-file': wav([PCM_FMT, chunk(b'data', b''),
                                         lying(b'LIST', b'INFOIART\xc8\0\0\0abc', 300)]),
        'info-double-byte-at-limit': wav([PCM_FMT, chunk(b'data', b''), chunk(
            b'LIST', info_list(chunk(b'INAM', b'a' * 258 + b'\x95\x5c\0')))]),
        'odd-chunk-padded': wav([PCM_FMT, b'junk\x03\0\0\0\0\0\0\0', data]),
        'adpcm-predictor-seven': wav([ADPCM_FMT, chunk(
            b'data', adpcm_block(7, 100, 3000, 1000, 0x12))]),
        'adpcm-predictor-255': wav([ADPCM_FMT, chunk(
            b'data', adpcm_block(255, 100, 3000, 1000, 0x12))]),
        'adpcm-saturates-up': wav([ADPCM_FMT, chunk(
            b'data', adpcm_block(1, 32767, 32000, 32000, 0x77))]),
        'adpcm-saturates-down': wav([ADPCM_FMT, chunk(
            b'data', adpcm_block(0, 32767, -32000, -32000, 0x88))]),
        'adpcm-partial-last-block': wav([ADPCM_FMT, chunk(
            b'data', adpcm_block(0, 16, 5, 5, 0x11) + adpcm_block(0, 16, 9, 9, 0x11)[:952])]),
        'vorbis-odd-comment-values': enc['vorbis_odd_values'],
        'vorbis-negative-loop-start': enc['vorbis_negative'],
        'vorbis-loop-value-too-long': enc['vorbis_long_loop'],
    }
    ogg = enc['vorbis']
    audio = first_audio_page(ogg)
    d['vorbis-cut'] = ogg[:audio + (len(ogg) - audio) // 2]
    d['vorbis-headers-cut'] = ogg[:300]
    damaged = bytearray(ogg)
    for i in range(audio + 100, min(audio + 500, len(damaged)), 7):
        damaged[i] ^= 0x5A
    d['vorbis-corrupt'] = bytes(damaged)
    modes = [control(SINGLE), control(REPEAT_ONE, 0, 4), control(REPEAT_ALL, 2, 7)]
    for i, (name, body) in enumerate(d.items()):
        s['damaged-' + name] = modes[i % len(modes)] + body
    return s


def first_audio_page(ogg):
    """Offset of the first Ogg page past the headers: the first with a granule."""
    at = 0
    while at + 27 <= len(ogg):
        granule = struct.unpack_from('<q', ogg, at + 6)[0]
        if granule > 0:
            return at
        segments = ogg[at + 26]
        at += 27 + segments + sum(ogg[at + 27:at + 27 + segments])
    raise ValueError('no audio page')


def smpl_loops(start, end, loops):
    header = struct.pack('<9I', 0, 0, 22676, 60, 0, 0, 0, loops, 0)
    return chunk(b'smpl', header + struct.pack('<6I', 0, 0, start, end, 0, 0))


def check(committed):
    """Whether the committed corpus is what this script makes now."""
    with tempfile.TemporaryDirectory() as tmp:
        made = {name + '.bin': body for name, body in seeds(encoded(tmp)).items()}
    have = set(os.listdir(committed))
    stale = sorted(name for name in have & made.keys()
                   if open(os.path.join(committed, name), 'rb').read() != made[name])
    for what, names in (('missing', sorted(made.keys() - have)),
                        ('not made by the script', sorted(have - made.keys())),
                        ('different', stale)):
        for name in names:
            print('%s: %s' % (what, name))
    same = not stale and have == made.keys()
    print('%d seeds, %s' % (len(made), 'as committed' if same else 'run the script again'))
    return 0 if same else 1


def main(out):
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        os.remove(os.path.join(out, old))
    with tempfile.TemporaryDirectory() as tmp:
        made = seeds(encoded(tmp))
    for name, body in sorted(made.items()):
        open(os.path.join(out, name + '.bin'), 'wb').write(body)
    return 0


if __name__ == '__main__':
    if sys.argv[1] == '--check':
        sys.exit(check(sys.argv[2]))
    sys.exit(main(sys.argv[1]))
