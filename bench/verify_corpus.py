#!/usr/bin/env python3
"""Makes a corpus of damaged MP3 files and holds velmora's verification against mp3val and a
full decode by ffmpeg, printing one Markdown table row per file.

Usage: bench/verify_corpus.py VELMORA [WORK_FOLDER]

The source song is a 104-second tone that ffmpeg encodes with LAME (128 kbit/s CBR with an
Info header, and a VBR one with a Xing header). Each damaged file is one fault users meet on
real disks; the near misses are files that must pass. Needs ffmpeg and mp3val (Debian).
"""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

SECONDS = 104
MP3VAL_LINE = re.compile(r'^(WARNING|ERROR|PROBLEM): "[^"]*"(?: \(offset [^)]*\))?: (.*)$')


def encode(path, *quality):
    subprocess.run(['ffmpeg', '-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
                    'sine=frequency=440:duration=%d' % SECONDS, '-ac', '2', '-ar', '44100',
                    '-c:a', 'libmp3lame', *quality, path], check=True)


def frames_start(data):
    """Offset of the first frame after the ID3v2 tag ffmpeg writes."""
    if data[:3] == b'ID3':
        size = 0
        for b in data[6:10]:
            size = (size << 7) | b
        return 10 + size
    return 0


def frame_boundary(data, near):
    """The offset of the first frame that starts at or after near (MPEG-1 Layer III)."""
    rates = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
    at = frames_start(data)
    while at < near:
        header = data[at:at + 4]
        at += 144000 * rates[header[2] >> 4] // 44100 + ((header[2] >> 1) & 1)
    return at


def id3v1():
    return b'TAG' + b'Title'.ljust(30, b'\0') + b'Artist'.ljust(30, b'\0') + b'Album'.ljust(30, b'\0') + \
        b'2001' + b'Comment'.ljust(30, b'\0') + b'\x0c'


def apev2():
    item = b'\x05\0\0\0' + b'\0\0\0\0' + b'Title\0' + b'Hello'
    size = 32 + len(item)
    footer = b'APETAGEX' + (2000).to_bytes(4, 'little') + size.to_bytes(4, 'little') + \
        (1).to_bytes(4, 'little') + (0).to_bytes(4, 'little') + b'\0' * 8
    return item + footer


def lyrics3v2():
    body = b'LYRICSBEGIN' + b'IND00002' + b'10' + b'LYR00011' + b'[00:01]la la'
    return body + str(len(body)).rjust(6, '0').encode() + b'LYRICS200'


def big_id3v2(body):
    """A 300 KB ID3v2.3 tag: one text frame, then padding."""
    frame = b'TIT2' + (6).to_bytes(4, 'big') + b'\0\0' + b'\0Song'
    tag_body = frame + b'\0' * (300 * 1024 - len(frame))
    size = len(tag_body)
    syncsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    return b'ID3\x03\x00\x00' + syncsafe + tag_body + body


def corpus(cbr, vbr):
    rng = random.Random(26)
    start = frames_start(cbr)
    middle = len(cbr) // 2
    boundary = frame_boundary(cbr, middle)
    garbage = bytes(rng.randrange(256) for _ in range(50 * 1024))
    foreign = bytes([0xFF, 0xF3, 0x90, 0xC4]) + bytes(rng.randrange(256) for _ in range(284))  # MPEG-2, 22050 Hz
    zeroed = bytearray(cbr)
    zeroed[middle:middle + 100 * 1024] = bytes(100 * 1024)
    zero_tail = bytearray(cbr)
    zero_tail[int(len(cbr) * 0.6):] = bytes(len(cbr) - int(len(cbr) * 0.6))
    return [
        ('good CBR (Info header)', 'near miss', cbr),
        ('good VBR (Xing header)', 'near miss', vbr),
        ('ID3v1 tag at the end', 'near miss', cbr + id3v1()),
        ('APEv2 and Lyrics3 tags, then ID3v1', 'near miss', cbr + apev2() + lyrics3v2() + id3v1()),
        ('300 KB ID3v2 tag with padding', 'near miss', big_id3v2(cbr[start:])),
        ('cut short (60 %, inside a frame)', 'fault', cbr[:int(len(cbr) * 0.6)]),
        ('VBR cut short (60 %)', 'fault', vbr[:int(len(vbr) * 0.6)]),
        ('50 KB of garbage in the middle', 'fault', cbr[:middle] + garbage + cbr[middle:]),
        ('20 KB of garbage at the end', 'fault', cbr + garbage[:20 * 1024]),
        ('100 KB zeroed in the middle', 'fault', bytes(zeroed)),
        ('last 40 % zeroed (unfinished download)', 'fault', bytes(zero_tail)),
        ('a foreign frame (MPEG-2) between two frames', 'fault', cbr[:boundary] + foreign + cbr[boundary:]),
        ('two songs joined (second with its ID3v2 tag)', 'fault', cbr + cbr),
        ('no frames at all (a WAV named .mp3)', 'fault', b'RIFF' + bytes(rng.randrange(256) for _ in range(40000))),
    ]


def velmora_verdicts(velmora, folder, data_dir):
    out = subprocess.run([velmora, 'check', '--songs', '--verify', '--format', 'json', '--data-dir', data_dir, folder],
                         capture_output=True, check=False).stdout
    verdicts = {}
    for row in json.loads(out):
        name = row['fileName']
        codes = sorted({p['code'] + (' (broken)' if p['severity'] == 'broken' else ' (warning)')
                        for p in row['problems'] if p['code'] != 'duplicate'})
        verdicts[name] = row['verdict'] + (': ' + ', '.join(codes) if codes else '')
    return verdicts


def mp3val(path):
    out = subprocess.run(['mp3val', path], capture_output=True, text=True, check=False).stdout
    problems = []
    for line in out.splitlines():
        match = MP3VAL_LINE.match(line)
        if match:
            problems.append(re.sub(r' \(.*\)$', '', match.group(2)))
    return '; '.join(dict.fromkeys(problems)) or 'no problem'


def ffmpeg_decode(path):
    result = subprocess.run(['ffmpeg', '-hide_banner', '-v', 'error', '-i', path, '-f', 'null', '-'],
                            capture_output=True, text=True, check=False)
    lines = [line for line in result.stderr.splitlines() if line.strip()]
    if result.returncode != 0:
        return 'fails: ' + (lines[-1][:60] if lines else 'exit %d' % result.returncode)
    if not lines:
        return 'no error'
    first = lines[0].split('] ', 1)[-1][:50]
    return '%d error line%s ("%s")' % (len(lines), '' if len(lines) == 1 else 's', first)


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    velmora = sys.argv[1]
    work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix='velmora-corpus-')
    source = os.path.join(work, 'source')
    os.makedirs(source, exist_ok=True)
    encode(os.path.join(source, 'cbr.mp3'), '-b:a', '128k')
    encode(os.path.join(source, 'vbr.mp3'), '-q:a', '4')
    cbr = open(os.path.join(source, 'cbr.mp3'), 'rb').read()
    vbr = open(os.path.join(source, 'vbr.mp3'), 'rb').read()
    print('| File | Kind | Velmora | mp3val | ffmpeg full decode |')
    print('|---|---|---|---|---|')
    for number, (label, kind, data) in enumerate(corpus(cbr, vbr), 1):
        # One folder per file: the verification judges a file on its own there.
        folder = os.path.join(work, 'case-%02d' % number)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        path = os.path.join(folder, 'song.mp3')
        with open(path, 'wb') as out:
            out.write(data)
        verdict = velmora_verdicts(velmora, folder, os.path.join(work, 'logs')).get('song.mp3', '?')
        print('| %s | %s | %s | %s | %s |' % (label, kind, verdict, mp3val(path), ffmpeg_decode(path)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
