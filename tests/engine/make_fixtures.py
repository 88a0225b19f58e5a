#!/usr/bin/env python3
"""Builds the media fixtures of the engine tests with independent tools:
sox encodes MS ADPCM, oggenc Vorbis, lame MP3, flac FLAC and opusenc Opus;
sox, oggdec, mpg123, flac and opusdec decode the reference PCM that the
tests compare the engine's output with. The formats table below also lands
in anyrate.txt, which the render table test reads."""
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
    # MP3 decodes to float; lame's LAME/Xing tag lets the decoder trim the
    # encoder's delay and padding, and without it (-t) nothing can.
    ('mp3_cbr_44100_stereo.mp3', 'mp3', 44100, 2, 40009, 11025, 38001, 'lame-cbr', 1),
    ('mp3_vbr_48000_stereo.mp3', 'mp3', 48000, 2, 45013, 4801, 41003, 'lame-vbr', 0),
    ('mp3_cbr_48000_mono.mp3', 'mp3', 48000, 1, 43007, 1234, 40111, 'lame-cbr', 0),
    ('mp3_vbr_44100_mono.mp3', 'mp3', 44100, 1, 39019, 3001, 33333, 'lame-vbr', 0),
    ('mp3_untagged_44100_stereo.mp3', 'mp3', 44100, 2, 40009, 2000, 30000, 'lame-untagged', 0),
    ('flac8_22050_mono.flac', 'flac8', 22050, 1, 20023, 2205, 19999, 'flac', 0),
    ('flac16_44100_stereo.flac', 'flac16', 44100, 2, 40013, 4410, 39001, 'flac', 1),
    ('flac24_96000_stereo.flac', 'flac24', 96000, 2, 90011, 11851, 88000, 'flac', 1),
    ('flac16_48000_6ch.flac', 'flac16', 48000, 6, 40009, 3333, 39009, 'flac', 0),
    ('flac24_44100_smpl.flac', 'flac24', 44100, 2, 40031, 5555, 37777, 'flac-smpl', 0),
    # Opus from 48 kHz sources: nothing resampled, the length is the source's.
    ('opus_48000_stereo.opus', 'opus', 48000, 2, 48017, 9600, 44444, 'opus', 1),
    ('opus_48000_mono.opus', 'opus', 48000, 1, 30011, 777, 29001, 'opus', 0),
    ('opus_48000_6ch.opus', 'opus', 48000, 6, 40013, 3999, 36000, 'opus', 0),
    # A WAV whose only loop is in a `cue ` chunk.
    ('cue_44100_stereo.wav', 's16', 44100, 2, 30011, 1111, 28888, 'cue', 0),
]

# The loop of each encoded file as its tags spell it; the table above holds
# the frames they mean. A time is whole seconds at the stream's rate plus the
# fraction rounded down: 0:0.123456789 at 96,000 Hz is 11,851 and :0.08333333
# at 48,000 Hz is 3,999.
LOOP_TAGS = {
    'mp3_cbr_44100_stereo.mp3': ['LOOPSTART=0:00.25', 'LOOPLENGTH=26976'],
    'mp3_vbr_48000_stereo.mp3': ['LOOP_START=4801', 'LOOP_END=41003'],
    'mp3_cbr_48000_mono.mp3': ['loop-start=1234', 'Loop-End=40111'],
    'mp3_vbr_44100_mono.mp3': ['XIPH_CUE_LOOPSTART=3001', 'XIPH_CUE_LOOPEND=33333'],
    'mp3_untagged_44100_stereo.mp3': ['LOOP_BEGIN=2000', 'LOOP_LENGTH=28000'],
    'flac8_22050_mono.flac': ['LOOP=s2205e19999'],
    'flac16_44100_stereo.flac': ['LOOPSTART=4410', 'LOOPEND=39001'],
    'flac24_96000_stereo.flac': ['XIPH_CUE_LOOPSTART=0:0.123456789', 'LOOP-END=0:00:00.916666667'],
    'flac16_48000_6ch.flac': ['LoopStart=3333', 'LoopLength=35676'],
    'opus_48000_stereo.opus': ['LOOP_START=0:00.2', 'LOOP_LENGTH=34844'],
    'opus_48000_mono.opus': ['LOOPSTART=777', 'LOOPEND=29001'],
    'opus_48000_6ch.opus': ['LOOPSTART=:0.08333333', 'LOOPEND=:0.75'],
}
# How each MP3 carries its tags: lame's own ID3v2 (UTF-16 text), or a tag
# written here as ID3v2.3 in Latin-1 or ID3v2.4 in UTF-8.
ID3_WRITER = {'mp3_vbr_48000_stereo.mp3': 3, 'mp3_cbr_48000_mono.mp3': 4}
LAME_MODE = {'lame-cbr': ['-b', '128'], 'lame-vbr': ['-V', '2'],
             'lame-untagged': ['-t', '-b', '160']}

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


def id3v2(version, comments):
    """An ID3v2 tag of TXXX frames, one per NAME=value comment."""
    encoding, text = (0, 'latin-1') if version == 3 else (3, 'utf-8')
    frames = b''
    for comment in comments:
        name, value = comment.split('=', 1)
        body = bytes([encoding]) + name.encode(text) + b'\0' + value.encode(text)
        size = struct.pack('>I', len(body)) if version == 3 else syncsafe(len(body))
        frames += b'TXXX' + size + b'\0\0' + body
    return b'ID3' + bytes([version, 0, 0]) + syncsafe(len(frames)) + frames


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def cue(points):
    """A `cue ` chunk of (id, sample offset) points in the order given."""
    body = struct.pack('<I', len(points))
    for cue_id, offset in points:
        body += struct.pack('<II4sIII', cue_id, 0, b'data', 0, 0, offset)
    return chunk(b'cue ', body)


def encode(name, kind, rate, channels, frames, start, end, how, path, plain):
    """Encodes an MP3, FLAC or Opus row and decodes it plainly with the
    format's own command-line decoder."""
    source = path + '.source.wav'
    bits = {'flac8': 'u8', 'flac24': 's24'}.get(kind, 's16')
    synth(rate, channels, frames, bits, 'wav', source)
    tags = LOOP_TAGS.get(name, [])
    if how.startswith('lame'):
        tv = [] if name in ID3_WRITER else [a for t in tags for a in ('--tv', 'TXXX=' + t)]
        run('lame', '--silent', '--noreplaygain', *LAME_MODE[how], *tv, source, path)
        if name in ID3_WRITER:
            mp3 = open(path, 'rb').read()
            open(path, 'wb').write(id3v2(ID3_WRITER[name], tags) + mp3)
        run('mpg123', '-q', '-e', 'f32', '-O', p_raw(path, plain), path)
    elif how.startswith('flac'):
        # The smpl row keeps its WAV chunks in APPLICATION blocks, the
        # others carry comments.
        keep = []
        if how == 'flac-smpl':
            insert_before_data(source, [smpl(start, end)])
            keep = ['--keep-foreign-metadata']
        run('flac', '-s', '-f', *keep, *['--tag=' + t for t in tags], '-o', path, source)
        run('flac', '-s', '-f', '-d', '--force-raw-format', '--endian=little', '--sign=signed',
            '-o', p_raw(path, plain), path)
    else:
        run('opusenc', '--quiet', '--serial', '7', *[a for t in tags for a in ('--comment', t)],
            source, path)
        run('opusdec', '--quiet', '--float', '--rate', '48000', path, p_raw(path, plain))
    # The lossy decodes are compared with their source; FLAC's is its source.
    if how.startswith('flac'):
        os.remove(source)


def p_raw(path, plain):
    return os.path.join(os.path.dirname(path), plain)


def make_formats(out):
    p = lambda name: os.path.join(out, name)
    lines = ['# file type rate channels loopStart loopEnd plainDecode validBits mask windowsSample'
             ' sourceFrames']
    for name, kind, rate, channels, frames, start, end, how, sample in FORMATS:
        valid = 24 if how == 'ext24' else 0
        mask = SPEAKER_MASK[channels] if how.startswith('ext') else 0
        path = p(name)
        plain = name.rsplit('.', 1)[0] + '.raw'
        if how.startswith(('lame', 'flac', 'opus')):
            encode(name, kind, rate, channels, frames, start, end, how, path, plain)
        elif how == 'cue':
            synth(rate, channels, frames, kind, 'wavpcm', path)
            run('sox', path, '-t', 'raw', p(plain))
            # The lowest id starts the loop and the next lowest ends it,
            # whatever their order in the chunk.
            insert_before_data(path, [cue([(9, 17), (4, end), (2, start)])])
        elif how == 'ogg':
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
        # The plain decode's length: the source's, except where a block or
        # an untrimmed encoder delay pads it.
        length = 0 if how in ('adpcm', 'lame-untagged') else frames
        lines.append('%s %s %d %d %d %d %s %d %d %d %d' % (name, kind, rate, channels, start, end,
                                                           plain, valid, mask, sample, length))
    open(p('anyrate.txt'), 'w').write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
