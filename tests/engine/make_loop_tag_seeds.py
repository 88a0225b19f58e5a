#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_loop_tags: a control byte (the parser in
the low two bits, the rate of time values above them), then the parser's
input: name=value comments one a line, an ID3v2 tag, or the payload of a
`smpl` or `cue ` chunk. Hand-made tags of every version and encoding, two
written by lame, and the damaged inputs of the tests. The output is
committed, and a test checks that it is what the script makes:
    tests/engine/make_loop_tag_seeds.py tests/engine/fuzz_loop_tags_seeds
    tests/engine/make_loop_tag_seeds.py --check tests/engine/fuzz_loop_tags_seeds"""
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import seed_corpus  # noqa: E402

COMMENTS, ID3, SMPL, CUE = range(4)
# The fuzz target's rates by index: 44100, 48000, none, 1, 22050, 96000, 192000, 2^32 - 1.
R44100, R48000, NO_RATE, R1, R22050, R96000, R192000, RMAX = range(8)


def control(parser, rate=R44100):
    return bytes([parser | rate << 2])


def comments(*lines):
    return '\n'.join(lines).encode('utf-8')


def syncsafe(v):
    return bytes([v >> 21 & 0x7F, v >> 14 & 0x7F, v >> 7 & 0x7F, v & 0x7F])


def unsynchronise(b):
    return b.replace(b'\xff', b'\xff\x00')


def frame(major, fid, body, format_flags=0):
    if major == 2:
        return fid + struct.pack('>I', len(body))[1:] + body
    size = syncsafe(len(body)) if major == 4 else struct.pack('>I', len(body))
    return fid + size + bytes([0, format_flags]) + body


def tag(major, frames, flags=0, declared=None, padding=16):
    body = frames + bytes(padding)
    size = len(body) if declared is None else declared
    return b'ID3' + bytes([major, 0, flags]) + syncsafe(size) + body


def text(encoding, s):
    codec = {0: 'cp932', 1: 'utf-16', 2: 'utf-16-be', 3: 'utf-8'}[encoding]
    end = b'\0\0' if encoding in (1, 2) else b'\0'
    return s.encode(codec) + end


def txxx(major, encoding, name, value):
    fid = b'TXX' if major == 2 else b'TXXX'
    return frame(major, fid, bytes([encoding]) + text(encoding, name) + text(encoding, value))


def title(major, encoding, s, fid=None):
    fid = fid or (b'TT2' if major == 2 else b'TIT2')
    return frame(major, fid, bytes([encoding]) + text(encoding, s))


def artist(major, encoding, s):
    return frame(major, b'TP1' if major == 2 else b'TPE1', bytes([encoding]) + text(encoding, s))


def smpl(start, end, loops=1):
    return struct.pack('<9I', 0, 0, 22676, 60, 0, 0, 0, loops, 0) + struct.pack(
        '<6I', 0, 0, start, end, 0, 0)


def cue(points, declared=None):
    out = struct.pack('<I', len(points) if declared is None else declared)
    for cid, offset in points:
        out += struct.pack('<II4sIII', cid, 0, b'data', 0, 0, offset)
    return out


def lame_tags(tmp):
    """ID3v2 tags as an independent writer makes them: UTF-16 and Latin-1."""
    raw = os.path.join(tmp, 'tone.raw')
    open(raw, 'wb').write(struct.pack('<2000h', *[(i * 37) % 2000 - 1000 for i in range(2000)]))
    out = {}
    for name, args in (('utf16', ['--tt', 'ループ曲', '--ta', 'Tarnuvo']),
                       ('latin1', ['--id3v2-latin1', '--tt', 'Song', '--ta', 'Band'])):
        mp3 = os.path.join(tmp, name + '.mp3')
        subprocess.run(['lame', '-r', '-s', '44.1', '--bitwidth', '16', '--signed',
                        '--little-endian', '-m', 'm', '--quiet', '--id3v2-only', *args, '--tv',
                        'TXXX=LOOPSTART=1234', '--tv', 'TXXX=LOOPLENGTH=0:00.5', raw, mp3],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        data = open(mp3, 'rb').read()
        size = data[6] << 21 | data[7] << 14 | data[8] << 7 | data[9]
        out[name] = data[:10 + size]
    return out


def seeds(lame):
    s = {}
    c = {
        'vorbis-rules': comments('LOOPSTART=1000', 'LOOPLENGTH=500', 'TITLE=ループ曲',
                                 'ARTIST=Tarnuvo'),
        'loop-form': comments('LOOP=s100e200'),
        'aliases': comments('loop_start=10', 'LOOP-END=20', 'LOOP_BEGIN=3', 'LOOP_LENGTH=7',
                            'XIPH_CUE_LOOPSTART=4', 'xiph_cue_loopend=8', 'Loop-Start=1',
                            'loop_end=2', 'LOOPEND=30'),
        'times': comments('LOOPSTART=0:00.7', 'LOOPEND=1:02:03.123456789', 'LOOPLENGTH=:5'),
        'bad-times': comments('LOOPSTART=7', 'LOOPSTART=0:0:0:1', 'LOOPSTART=a:5', 'LOOPSTART=1:',
                              'LOOPSTART=1::2', 'LOOPSTART=0:1.', 'LOOPSTART=0:-1',
                              'LOOPSTART=0:1.1234567890', 'LOOPSTART=:', 'LOOPSTART=1:5e',
                              'LOOPLENGTH=0:x', 'LOOPEND=99999999999:0'),
        'atoi': comments('LOOPSTART=  +12abc', 'LOOPEND=99999999999999999999', 'LOOPSTART=-5',
                         'LOOPLENGTH=-1'),
        'long-loop': comments('LOOP=s' + '1' * 400 + 'e5'),
        'long-title': comments('TITLE=' + 'ル' * 400, 'ARTIST=' + 'x' * 2000),
        'no-equals': comments('LOOPSTART', 'LOOPLENGTH', '=', '', 'TITLE'),
        'invalid-utf8': b'TITLE=\xe3\x83\nARTIST=\xff\xfe\xc0\x80\nLOOPSTART=1\0\x32',
    }
    for name, body in c.items():
        s['comments-' + name] = control(COMMENTS) + body
    times = comments('LOOPSTART=0:00.7', 'LOOPEND=1193046:28:15', 'LOOPLENGTH= 0:01 ')
    for rate, name in ((R48000, '48000'), (NO_RATE, 'no-rate'), (R1, 'rate-1'), (RMAX, 'rate-max'),
                       (R192000, '192000')):
        s['comments-times-' + name] = control(COMMENTS, rate) + times

    loop23 = txxx(3, 0, 'LOOPSTART', '100') + txxx(3, 3, 'looplength', '0:00.7')
    utf16_title = title(3, 1, 'ループ曲')
    t = {
        '2.2': tag(2, title(2, 0, 'Song') + artist(2, 0, 'Band') + txxx(2, 0, 'LOOP_START', '7')),
        '2.2-compressed': tag(2, title(2, 0, 'Song'), flags=0x40),
        '2.3': tag(3, title(3, 0, 'Song') + artist(3, 0, 'Band') + loop23),
        '2.3-cp932': tag(3, title(3, 0, 'ループ曲') + txxx(3, 0, '表LOOPEND', '表')),
        '2.3-utf16-unsync': tag(3, unsynchronise(utf16_title + txxx(3, 1, 'LOOP_END', '9')),
                                flags=0x80),
        '2.3-extended': tag(3, b'\0\0\0\x06' + bytes(6) + artist(3, 0, 'Band'), flags=0x40),
        '2.3-frame-flags': tag(3, frame(3, b'TIT2', b'\0Song', 0x80) +
                               frame(3, b'TPE1', b'\x05\0Band', 0x20) +
                               frame(3, b'TXXX', b'\0LOOPSTART\x005', 0x40)),
        '2.4-utf8-two-strings': tag(4, frame(4, b'TIT2', b'\x03' + 'ループ曲\0Two'.encode())),
        '2.4-utf16be': tag(4, artist(4, 2, 'ループ') + txxx(4, 2, 'LOOP-START', '1:00')),
        '2.4-frame-unsync': tag(4, frame(4, b'TIT2', unsynchronise(b'\x01' + text(1, 'ループ曲')),
                                         0x02) +
                                frame(4, b'TPE1', b'\x09' + syncsafe(5) + b'\0Band', 0x41)),
        '2.4-extended-footer': tag(4, syncsafe(6) + b'\x01\0' + artist(4, 3, 'Band'),
                                   flags=0x50) + b'3DI\x04\0\x50' + syncsafe(30),
        '2.4-syncsafe-sizes': tag(4, title(4, 0, 'a' * 200) + artist(4, 0, 'Band')),
        '2.4-surrogates': tag(4, title(4, 1, '𝄞 clef') + frame(4, b'TPE1', b'\x01\xff\xfe\x00\xd8a\0')),
        'cut': tag(3, artist(3, 0, 'Band') + loop23)[:40],
        'huge-tag-size': tag(3, artist(3, 0, 'Band'), declared=0x0FFFFFFF),
        'huge-frame-size': tag(3, artist(3, 0, 'Band') + b'TIT2\x7f\xff\xff\xff\0\0\0Song'),
        'size-past-tag': tag(3, artist(3, 0, 'Band'), declared=12),
        'extended-too-long': tag(4, syncsafe(1000) + artist(4, 0, 'Band'), flags=0x40),
        'encoding-4': tag(3, frame(3, b'TIT2', b'\x04Song')),
        'lame-utf16': lame['utf16'],
        'lame-latin1': lame['latin1'],
    }
    for i, (name, body) in enumerate(t.items()):
        s['id3-' + name] = control(ID3, (R44100, R48000, R22050)[i % 3]) + body

    r = {
        'smpl': control(SMPL) + smpl(100, 900),
        'smpl-count-zero': control(SMPL) + smpl(100, 900, 0),
        'smpl-huge-count-cut': control(SMPL) + smpl(5, 9, 0xFFFFFFFF)[:51],
        'cue-two': control(CUE) + cue([(1, 100), (2, 900)]),
        'cue-reversed': control(CUE) + cue([(7, 5000), (3, 1000)]),
        'cue-three': control(CUE) + cue([(5, 50), (1, 10), (3, 30)]),
        'cue-equal-ids': control(CUE) + cue([(4, 10), (4, 20), (4, 30)]),
        'cue-one': control(CUE) + cue([(1, 100)]),
        'cue-count-beyond': control(CUE) + cue([(1, 100), (2, 900)], declared=0xFFFFFFFF),
        'cue-cut': control(CUE) + cue([(1, 100), (2, 900)])[:-1],
    }
    s.update(r)
    return s


if __name__ == '__main__':
    seed_corpus.main(lambda tmp: seeds(lame_tags(tmp)))
