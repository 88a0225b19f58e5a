#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_media: a kind byte (which checksums the
harness mends: none, Ogg pages or FLAC frames), a control byte (play mode,
loop count, seek target), then a file. Small files of each kind the engine
plays, made as the test fixtures are, the kinds it refuses, and the damaged
files of the bad-input tests (the seeds named damaged-*). Run by hand when
the engine learns a new kind; the output is committed, and a test checks
that it is what the script makes:
    tests/engine/make_fuzz_seeds.py tests/engine/fuzz_media_seeds
    tests/engine/make_fuzz_seeds.py --check tests/engine/fuzz_media_seeds"""
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import seed_corpus  # noqa: E402
from make_fixtures import RATE, chunk, info, pcm_wav, riff, smpl, tone  # noqa: E402

SINGLE, REPEAT_ONE, REPEAT_ALL, RANDOM = range(4)
AS_IS, OGG, FLAC = (bytes([k]) for k in range(3))
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

    def lame(name, source, *args):
        run('lame', '--silent', '--noreplaygain', *args, source, p(name))
        return open(p(name), 'rb').read()

    out['mp3'] = lame('a.mp3', p('short.wav'), '-b', '128', '--tv', 'TXXX=LOOPSTART=100',
                      '--tv', 'TXXX=LOOPLENGTH=900', '--tt', 'Seed', '--ta', 'Tarnuvo')
    out['mp3_untagged'] = lame('b.mp3', p('short.wav'), '-t', '-b', '96')
    # ID3v2.3 in Latin-1 and the system code page: loop frames and a title.
    vbr = lame('c.mp3', p('48k.wav'), '-V', '5', '-m', 'm')
    out['mp3_vbr_48k'] = id3v2(3, [txxx('LOOP_START', b'0:00.01'), txxx('LOOP_END', b'5000'),
                                   (b'TIT2', b'\0' + 'ループ'.encode('cp932'))]) + vbr

    def flac(name, source, *args):
        run('flac', '-s', '-f', '--no-padding', *args, '-o', p(name), source)
        return open(p(name), 'rb').read()

    out['flac'] = flac('a.flac', p('short.wav'), '--blocksize=1152', '--tag=LOOP_START=120',
                       '--tag=LOOP-END=2400',
                       '--tag=TITLE=ループ曲')
    run('sox', '-R', p('mono.wav'), '-b', '24', '-r', '96000', p('mono24.wav'))
    out['flac_24_96k'] = flac('b.flac', p('mono24.wav'), '--tag=XIPH_CUE_LOOPSTART=:0.001',
                              '--tag=LOOPLENGTH=3000')
    open(p('smpl.wav'), 'wb').write(pcm_wav(tone(3000), [smpl(30, 2000)]))
    out['flac_smpl'] = flac('c.flac', p('smpl.wav'), '--keep-foreign-metadata')
    run('sox', '-R', p('short.wav'), '-b', '8', p('eight.wav'))
    out['flac_8'] = flac('d.flac', p('eight.wav'), '--blocksize=576')

    def opus(name, source, *args):
        run('opusenc', '--quiet', '--serial', '1', *args, source, p(name))
        return open(p(name), 'rb').read()

    # A page for each packet, for the damaged copies.
    out['opus'] = opus('a.opus', p('48k.wav'), '--max-delay', '20', '--comment', 'LOOP_START=480',
                       '--comment', 'LOOP_LENGTH=4000', '--comment', 'TITLE=ループ曲')
    run('sox', '-R', p('48k.wav'), '-c', '1', p('48k_mono.wav'))
    out['opus_mono'] = opus('b.opus', p('48k_mono.wav'), '--comment', 'LOOPSTART=0:0.05',
                            '--comment', 'LOOPEND=5000')
    run('sox', '-R', p('six.wav'), '-r', '48000', p('six48.wav'))
    out['opus_6ch'] = opus('c.opus', p('six48.wav'), '--comment', 'loopstart=10',
                           '--comment', 'looplength=1000')
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
    s['mp3-loop'] = control(REPEAT_ALL, 2, 3) + enc['mp3']
    s['mp3-untagged'] = control(REPEAT_ONE, 0, 5) + enc['mp3_untagged']
    s['mp3-vbr-48k-id3v23'] = control(REPEAT_ALL, 1, 6) + enc['mp3_vbr_48k']
    s['flac-loop'] = control(REPEAT_ALL, 3, 2) + enc['flac']
    s['flac-24-96k'] = control(REPEAT_ONE, 0, 4) + enc['flac_24_96k']
    s['flac-smpl'] = control(REPEAT_ALL, 1, 1) + enc['flac_smpl']
    s['flac-8'] = control(SINGLE, 0, 3) + enc['flac_8']
    s['opus-loop'] = control(REPEAT_ALL, 2, 5) + enc['opus']
    s['opus-mono'] = control(REPEAT_ONE, 0, 2) + enc['opus_mono']
    s['opus-6ch'] = control(RANDOM, 1, 7) + enc['opus_6ch']
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
    d.update(damaged_mp3(enc['mp3']))
    d.update(damaged_flac(enc['flac']))
    d.update(damaged_opus(enc['opus']))
    modes = [control(SINGLE), control(REPEAT_ONE, 0, 4), control(REPEAT_ALL, 2, 7)]
    for i, (name, body) in enumerate(d.items()):
        s['damaged-' + name] = modes[i % len(modes)] + body
    return {name: kind_of(name, body) + body for name, body in s.items()}


# Damaged files whose checksums are part of the damage (mending would rewrite
# a cut frame's last bytes): the harness takes them as they are.
BAD_CHECKSUMS = {'damaged-vorbis-corrupt', 'damaged-flac-bad-crc', 'damaged-flac-truncated',
                 'damaged-opus-bad-pages'}


def kind_of(name, body):
    """Which checksums the harness mends after the control byte."""
    if name in BAD_CHECKSUMS:
        return AS_IS
    if body[1:5] == b'OggS':
        return OGG
    return FLAC if body[1:5] == b'fLaC' else AS_IS


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def txxx(name, value):
    return b'TXXX', b'\0' + name.encode() + b'\0' + value


def id3v2(version, frames, declared=None):
    """An ID3v2.3 tag of (id, body) frames; `declared` overrides its size."""
    body = b''.join(fid + struct.pack('>I', len(data)) + b'\0\0' + data for fid, data in frames)
    size = len(body) if declared is None else declared
    return b'ID3' + bytes([version, 0, 0]) + syncsafe(size) + body


def mp3_frames(mp3):
    """Offsets of the MPEG-1 Layer III frames of an MP3, after its ID3v2 tag."""
    rates = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
    at, frames = 0, []
    if mp3[:3] == b'ID3':
        at = 10 + sum(b << (21 - 7 * i) for i, b in enumerate(mp3[6:10]))
    while at + 4 <= len(mp3) and mp3[at] == 0xFF and mp3[at + 1] & 0xE0 == 0xE0:
        bitrate = rates[mp3[at + 2] >> 4] * 1000
        rate = [44100, 48000, 32000][(mp3[at + 2] >> 2) & 3]
        frames.append(at)
        at += 144 * bitrate // rate + ((mp3[at + 2] >> 1) & 1)
    return frames


def damaged_mp3(mp3):
    frames = mp3_frames(mp3)
    garbage = bytes((i * 7919 + 13) % 251 for i in range(300))
    xing = bytearray(mp3)
    info = mp3.find(b'Info')
    xing[info + 8:info + 16] = b'\xff' * 8  # frame and byte counts
    padding = bytearray(mp3)
    padding[info + 141:info + 144] = b'\xff\xff\xff'  # the LAME tag's delay and padding
    return {
        'mp3-garbage-between-frames': mp3[:frames[3]] + garbage + mp3[frames[3]:],
        'mp3-truncated-last-frame': mp3[:frames[-1] + 100],
        'mp3-xing-absurd-counts': bytes(xing),
        'mp3-lame-delay-and-padding-absurd': bytes(padding),
        'mp3-id3v2-size-huge': id3v2(3, [txxx('LOOPSTART', b'1')], 0x0FFFFFFF) + mp3,
        'mp3-id3v2-size-past-the-end': id3v2(4, [txxx('LOOPSTART', b'1')], len(mp3) + 50) + mp3,
        'mp3-in-mp4': struct.pack('>I', 24) + b'ftypisom' + bytes(12) + mp3,
        'mp3-in-riff': riff([chunk(b'fmt ', struct.pack('<HHIIHH', 0x55, 2, RATE, 16000, 1, 0)),
                             chunk(b'data', mp3)]),
    }


def flac_blocks(flac):
    """Offsets of the metadata block headers, and where the frames start."""
    at, blocks = 4, []
    while True:
        blocks.append(at)
        last = flac[at] & 0x80
        at += 4 + int.from_bytes(flac[at + 1:at + 4], 'big')
        if last:
            return blocks, at


def damaged_flac(flac):
    blocks, frames = flac_blocks(flac)
    bad = bytearray(flac)
    for i in range(frames + 200, frames + 600, 11):
        bad[i] ^= 0x5A
    long_block = bytearray(flac)
    comment = next(b for b in blocks if flac[b] & 0x7F == 4)
    long_block[comment + 1:comment + 4] = b'\xff\xff\xff'
    count = bytearray(flac)
    vendor = int.from_bytes(flac[comment + 4:comment + 8], 'little')
    count[comment + 8 + vendor:comment + 12 + vendor] = b'\xff\xff\xff\xff'
    no_rate = bytearray(flac)
    no_rate[blocks[0] + 14:blocks[0] + 17] = bytes(3)  # STREAMINFO's rate and channels
    return {
        'flac-bad-crc': bytes(bad),
        'flac-truncated': flac[:frames + (len(flac) - frames) // 2],
        'flac-metadata-block-longer-than-file': bytes(long_block),
        'flac-comment-count-huge': bytes(count),
        'flac-streaminfo-rate-zero': bytes(no_rate),
        'flac-headers-only': flac[:frames],
    }


OGG_CRC = []
for _i in range(256):
    _r = _i << 24
    for _ in range(8):
        _r = ((_r << 1) ^ (0x04C11DB7 if _r & 0x80000000 else 0)) & 0xFFFFFFFF
    OGG_CRC.append(_r)


def ogg_pages(ogg):
    at, pages = 0, []
    while at + 27 <= len(ogg):
        segments = ogg[at + 26]
        length = 27 + segments + sum(ogg[at + 27:at + 27 + segments])
        pages.append(bytearray(ogg[at:at + length]))
        at += length
    return pages


def ogg_join(pages):
    """The pages with their checksums computed again."""
    out = b''
    for page in pages:
        page[22:26] = bytes(4)
        crc = 0
        for b in page:
            crc = ((crc << 8) & 0xFFFFFFFF) ^ OGG_CRC[(crc >> 24) ^ b]
        page[22:26] = struct.pack('<I', crc)
        out += bytes(page)
    return out


def damaged_opus(opus):
    pages = ogg_pages(opus)
    audio = first_audio_page(opus)
    bad = bytearray(opus)
    for i in range(audio + 100, min(audio + 500, len(bad)), 7):
        bad[i] ^= 0x5A
    garbled = ogg_pages(bytes(bad))
    skip = ogg_pages(opus)
    skip[0][28 + 10:28 + 12] = struct.pack('<H', 65535)  # OpusHead's pre-skip
    zero = ogg_pages(opus)[:2]
    zero[1][5] |= 4  # the tags page ends the stream
    gain = ogg_pages(opus)
    gain[0][28 + 16:28 + 18] = struct.pack('<h', 32767)  # OpusHead's output gain
    return {
        'opus-bad-pages': bytes(bad),
        'opus-garbage-in-pages': ogg_join(garbled),
        'opus-zero-length-stream': ogg_join(zero),
        'opus-pre-skip-beyond-stream': ogg_join(skip),
        'opus-output-gain-huge': ogg_join(gain),
        'opus-cut': opus[:audio + (len(opus) - audio) // 2],
        'opus-last-page-dropped': ogg_join(pages[:-1]),
    }


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


if __name__ == '__main__':
    seed_corpus.main(lambda tmp: seeds(encoded(tmp)))
