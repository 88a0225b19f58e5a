#!/usr/bin/env python3
"""Builds the media fixtures of the engine tests with independent tools:
sox encodes MS ADPCM and oggenc encodes Vorbis; sox and oggdec decode the
reference PCM that the tests compare the engine's output with. The formats
table below also lands in anyrate.txt, which the render table test reads."""
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


def insert_before_data(path, extra):
    """Puts chunks before the data chunk: after an odd-sized data chunk, sox
    writes a pad byte that the player's chunk walk does not skip."""
    data = open(path, 'rb').read()
    at = 12
    while data[at:at + 4] != b'data':
        size = struct.unpack_from('<I', data, at + 4)[0]
        at += 8 + size + (size & 1)
    body = data[12:at] + b''.join(extra) + data[at:]
    open(path, 'wb').write(b'RIFF' + struct.pack('<I', len(body) + 4) + b'WAVE' + body)


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

    # A short track for the renderer's command-line tests, and a format
    # nothing plays in-process (12 bits per sample).
    open(p('small.wav'), 'wb').write(pcm_wav(source[: 3000 * 4]))
    twelve = struct.pack('<HHIIHH', 1, 2, RATE, RATE * 4, 4, 12)
    open(p('twelve_bits.wav'), 'wb').write(riff([chunk(b'fmt ', twelve),
                                                  chunk(b'data', source[:4000])]))

    make_formats(out)
    return 0


# Every sample type, rate and channel count the player takes at least once,
# with odd lengths and odd loop points. Columns: file, sample type, rate,
# channels, frames asked of the encoder, loop start, loop end, how it is
# made, and whether the Windows build's sample runs it too.
FORMATS = [
    ('u8_22050_mono.wav', 'u8', 22050, 1, 19997, 3001, 17713, 'wav', 0),
    ('u8_48000_stereo.wav', 'u8', 48000, 2, 41011, 777, 39999, 'wav', 0),
    ('s16_32000_mono.wav', 's16', 32000, 1, 28463, 1235, 27001, 'wav', 0),
    ('s16_96000_stereo.wav', 's16', 96000, 2, 90001, 40003, 88889, 'wav', 0),
    ('s24_48000_stereo.wav', 's24', 48000, 2, 45679, 4801, 43211, 'wav', 1),
    ('s24_22050_mono.wav', 's24', 22050, 1, 21011, 1, 20999, 'wav', 0),
    ('s32_32000_stereo.wav', 's32', 32000, 2, 31337, 10007, 31337, 'wav', 0),
    ('s32_96000_mono.wav', 's32', 96000, 1, 77777, 12345, 65433, 'wav', 0),
    ('f32_22050_stereo.wav', 'f32', 22050, 2, 20011, 5003, 19001, 'wav', 0),
    ('f32_48000_mono.wav', 'f32', 48000, 1, 47003, 3, 46997, 'wav', 1),
    ('f64_96000_stereo.wav', 'f64', 96000, 2, 66667, 33333, 66001, 'wav', 0),
    ('f64_32000_mono.wav', 'f64', 32000, 1, 30001, 2999, 29999, 'wav', 0),
    # WAVE_FORMAT_EXTENSIBLE: as sox writes it, with 24 valid bits in a
    # 32-bit container, as IEEE float, and 5.1 by its channel mask.
    ('ext_s24_96000_stereo.wav', 's24', 96000, 2, 95003, 9601, 90007, 'ext', 0),
    ('ext_s32v24_48000_stereo.wav', 's32', 48000, 2, 44443, 4443, 40009, 'ext24', 1),
    ('ext_f32_32000_mono.wav', 'f32', 32000, 1, 29989, 1001, 28001, 'extfloat', 0),
    ('ext_s16_48000_6ch.wav', 's16', 48000, 6, 39007, 2221, 38011, 'ext', 0),
    ('adpcm_22050_mono.wav', 'adpcm', 22050, 1, 19999, 1013, 18217, 'adpcm', 1),
    ('adpcm_48000_stereo.wav', 'adpcm', 48000, 2, 43001, 2037, 40723, 'adpcm', 0),
    ('vorbis_48000_stereo.ogg', 'vorbis', 48000, 2, 45007, 4099, 41011, 'ogg', 1),
    ('vorbis_22050_mono.ogg', 'vorbis', 22050, 1, 20021, 505, 19009, 'ogg', 0),
    ('vorbis_32000_6ch.ogg', 'vorbis', 32000, 6, 29003, 3203, 27007, 'ogg', 1),
]

SOX_TYPE = {'u8': ['-e', 'unsigned', '-b', '8'], 's16': ['-e', 'signed', '-b', '16'],
            's24': ['-e', 'signed', '-b', '24'], 's32': ['-e', 'signed', '-b', '32'],
            'f32': ['-e', 'floating-point', '-b', '32'],
            'f64': ['-e', 'floating-point', '-b', '64'], 'adpcm': ['-e', 'ms-adpcm']}
KSDATAFORMAT_TAIL = bytes.fromhex('000000001000800000aa00389b71')
SUBFORMAT_PCM, SUBFORMAT_FLOAT = 1, 3
SPEAKER_MASK = {1: 0x4, 2: 0x3, 6: 0x3F}


def synth(rate, channels, frames, kind, wav_type, path):
    """A sweep and a tone per channel, below full scale; sox's dither is
    made repeatable with -R."""
    tones = []
    for c in range(channels):
        tones += ['sine', '%d-%d' % (150 + 97 * c, 900 + 311 * c)]
    shape = ['-r', str(rate), '-c', str(channels)]
    run('sox', '-R', *shape, '-n', *shape, *SOX_TYPE[kind], '-t', wav_type, path,
        'synth', '%ds' % frames, *tones, 'vol', '0.8')


def extensible(path, subformat, valid_bits=None):
    """Rewrites the first format chunk of a plain WAV as WAVE_FORMAT_EXTENSIBLE."""
    data = open(path, 'rb').read()
    size = struct.unpack_from('<I', data, 16)[0]
    tag, channels, rate, rate_bytes, align, bits = struct.unpack_from('<HHIIHH', data, 20)
    valid = bits if valid_bits is None else valid_bits
    fmt = struct.pack('<HHIIHHHHI', 0xFFFE, channels, rate, rate_bytes, align, bits, 22, valid,
                      SPEAKER_MASK[channels]) + struct.pack('<H', subformat) + KSDATAFORMAT_TAIL
    body = chunk(b'fmt ', fmt) + data[20 + size + (size & 1):]
    open(path, 'wb').write(b'RIFF' + struct.pack('<I', len(body) + 4) + b'WAVE' + body)


def make_formats(out):
    p = lambda name: os.path.join(out, name)
    lines = ['# file type rate channels loopStart loopEnd plainDecode validBits mask windowsSample']
    for name, kind, rate, channels, frames, start, end, how, sample in FORMATS:
        valid = 24 if how == 'ext24' else 0
        mask = SPEAKER_MASK[channels] if how.startswith('ext') else 0
        path = p(name)
        plain = name.rsplit('.', 1)[0] + '.raw'
        if how == 'ogg':
            source = p(name + '.source.wav')
            synth(rate, channels, frames, 's16', 'wav', source)
            run('oggenc', '-Q', '-q', '2', '-s', '7', '-c', 'LOOPSTART=%d' % start,
                '-c', 'LOOPLENGTH=%d' % (end - start), '-o', path, source)
            os.remove(source)
            run('oggdec', '-Q', '-R', '-o', p(plain), path)
        else:
            # sox writes EXTENSIBLE itself for more than 16 bits or 2 channels
            # with -t wav, and the plain format chunk with -t wavpcm.
            synth(rate, channels, frames, kind, 'wav' if how == 'ext' else 'wavpcm', path)
            # sox's own decode: the file's samples in their own encoding. It
            # refuses padded samples, so it reads the file before the rewrite
            # that declares 24 valid bits, which leaves the samples as they are.
            decoded = ['-e', 'signed', '-b', '16'] if kind == 'adpcm' else []
            run('sox', path, '-t', 'raw', *decoded, p(plain))
            if how == 'ext24':
                extensible(path, SUBFORMAT_PCM, valid_bits=24)
            elif how == 'extfloat':
                extensible(path, SUBFORMAT_FLOAT)
            insert_before_data(path, [smpl(start, end)])
        lines.append('%s %s %d %d %d %d %s %d %d %d' % (name, kind, rate, channels, start, end,
                                                        plain, valid, mask, sample))
    open(p('anyrate.txt'), 'w').write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
