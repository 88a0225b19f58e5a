#!/usr/bin/env python3
"""Writes the seed corpus of the list-file fuzzer: one byte that picks the
list's path, then a list file. Run from anywhere; the seeds are committed.

    python3 tests/playlist/make_list_seeds.py
"""
import os
import sys


def cp932(text):
    return text.encode('cp932')


def track(i, file, title=b'', artist=b'', length=b'0', loop=b'0', start=b'0', end=b'0'):
    return (b'[Track%02d]\r\nFile=%s\r\nTitle=%s\r\nArtist=%s\r\nLength=%s\r\nLoop=%s\r\n'
            b'LoopStart=%s\r\nLoopEnd=%s\r\n' % (i, file, title, artist, length, loop, start, end))


def frames(rate, count, start, end):
    return (b'Rate=%s\r\nFrames=%s\r\nLoopStartFrames=%s\r\nLoopEndFrames=%s\r\n'
            % (rate, count, start, end))


def header(count, path=b'0', album=b'', comment=b''):
    return (b'[Tarnuvolist]\r\nVer=1\r\nAlbum=%s\r\nComment=%s\r\nPath=%s\r\nTrack=%s\r\n'
            % (album, comment, path, count))


def main(out):
    os.makedirs(out, exist_ok=True)
    seeds = {}
    seeds['written.bin'] = b'\x00' + header(b'3', album=cp932('夏'), comment=b'memo') + b''.join([
        track(0, cp932('C:\\曲\\ソナタ.ogg'), cp932('ソナタ'), cp932('作曲家'), b'176400', b'1',
              b'100', b'200'),
        track(1, b'C:\\a.zip|' + cp932('ポ.mp3'), b'"quoted"', b'" edge "', b'4294967295'),
        track(2, b'\\\\server\\share\\u.wav', length=b'0x10', start=b'5', end=b'1'),
    ])
    seeds['relative.bin'] = b'\x01' + header(b'4', path=b'1') + b''.join([
        track(0, b'music\\a.ogg'),
        track(1, b'\\' + cp932('ソ\\b.ogg')),
        track(3, b'C:\\abs.wav'),
    ]) + b'[Track02]\r\nFile=' + b'n' * 250 + cp932('あ') + b'\r\n'
    seeds['hand.bin'] = b'\x04' + (
        b'\n  [tarnuvolist]  \n ver = 1 \rPATH=1\ntrack= 2000000000\n\n[TRACK00]\nfile = x\n'
        b'loopstart=100\nLOOPLENGTH=50\nloop\nloop=1\n[Track05] junk\nTitle=' + cp932('表示') +
        b'\n[Track07\nArtist=\x1a\t\n[]\nFile=y\n')
    seeds['damaged.bin'] = b'\x02' + header(b'2')[:-3] + b'\x83\n[Track0\x00]\nFile=\x82\r\n' \
        b'[Track01]\nLength=99999999999999999999999999999999\nLoopEnd=-1\nTitle="' + \
        b'q' * 259 + b'"\n'
    seeds['rates.bin'] = b'\x00' + header(b'5') + b''.join([
        track(0, b'C:\\a.ogg', length=b'5512952', loop=b'1', start=b'88200', end=b'1323000') +
        frames(b'48000', b'1500123', b'96000', b'1440000'),
        # Edited by a program that knows only the 44,100 Hz keys.
        track(1, b'C:\\b.ogg', length=b'1764000', loop=b'1', start=b'44100', end=b'1323000') +
        frames(b'48000', b'1500123', b'96000', b'1440000'),
        track(2, b'C:\\c.wav', length=b'4294967295', loop=b'1', start=b'100', end=b'101') +
        frames(b'8000', b'4294967295', b'0', b'4294967295'),
        track(3, b'C:\\d.wav', loop=b'1', start=b'4294967294', end=b'4294967295') +
        frames(b'192000', b'', b'-1', b'0x10'),
        track(4, b'C:\\e.wav', loop=b'1', start=b'1', end=b'2') + frames(b'44100', b'9', b'7', b'8'),
    ])
    u16 = '[Tarnuvolist]\r\nVer=1\r\nTrack=1\r\n[Track00]\r\nFile=C:\\曲.ogg\r\nTitle=été\r\n'
    seeds['utf16.bin'] = b'\x00\xff\xfe' + u16.encode('utf-16-le')
    seeds['utf8.bin'] = b'\x03\xef\xbb\xbf' + u16.encode('utf-8')
    for name, data in seeds.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, 'list_seeds')))
