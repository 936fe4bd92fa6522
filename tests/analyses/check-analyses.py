#!/usr/bin/env python3
"""Parses the analyses' tsv, csv and jsonl tables back with Python's csv and json
modules (the three must give the same rows), the dispersion plot's SVG with an XML
parser (a row per word, a tick per occurrence that has a place of its own, the table's
frequencies in the picture) and its PNG's header (twice the SVG's size)."""
import csv
import io
import json
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

cli = sys.argv[1]
document = ('The river, "quoth he", ran past the old mill; the miller\'s wife said: "Caf\u00e9,\n'
            'or tea?" The river ran on, and on, past the mill and the river bank.\n') * 3
env = dict(os.environ, ASAN_OPTIONS='detect_leaks=0')
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, 'book.txt')
    with open(path, 'w', encoding='utf-8', newline='') as f:
        f.write(document)

    def run(args, fmt):
        out = subprocess.run([cli] + args + ['-q', '--format', fmt, path], check=True, capture_output=True, env=env)
        return out.stdout.decode('utf-8')

    def rows(args):
        tsv = list(csv.DictReader(io.StringIO(run(args, 'tsv')), delimiter='\t', quoting=csv.QUOTE_NONE))
        comma = list(csv.DictReader(io.StringIO(run(args, 'csv'), newline='')))
        lines = [json.loads(line) for line in run(args, 'jsonl').splitlines()]
        assert tsv == comma, (tsv[:2], comma[:2])
        as_text = [{k: ('%.3f' % v if isinstance(v, float) else str(v)) for k, v in row.items()} for row in lines]
        assert tsv == as_text, (tsv[:2], as_text[:2])
        assert len(tsv) > 0, args
        return lines

    collocates = rows(['collocates', '-k', 'river', '--window', '2L,2R', '-s', 'none'])
    assert all(row['frequency'] == row['left'] + row['right'] for row in collocates)
    assert collocates == sorted(collocates, key=lambda row: -row['logdice'])
    trigrams = rows(['ngrams', '-n', '3'])
    assert all(len(row['ngram'].split()) == 3 for row in trigrams)
    assert any(row['ngram'] == 'caf\u00e9 tea the' for row in trigrams), trigrams[:5]
    words = ['river', 'bank', 'caf\u00e9']
    table = rows(['dispersion', '-k', ' '.join(words)])
    assert sorted(row['word'] for row in table) == sorted(words)
    assert all(sum(row['part%d' % i] for i in range(1, 11)) == row['frequency'] for row in table)

    svg, png = os.path.join(folder, 'plot.svg'), os.path.join(folder, 'plot.png')
    # The PNG writer is built with the desktop program; a build without it draws SVG only.
    with_png = os.path.exists(os.path.join(os.path.dirname(cli), 'quillmoor-png.so'))
    subprocess.run([cli, 'dispersion', '-q', '-k', ' '.join(words), '--svg', svg] + (['--png', png] if with_png else [])
                   + ['-o', os.devnull, path], check=True, env=env)
    root = ET.parse(svg).getroot()
    ns = '{http://www.w3.org/2000/svg}'
    assert root.tag == ns + 'svg'
    texts = [t.text for t in root.iter(ns + 'text')]
    ticks = [line for line in root.iter(ns + 'line') if line.get('stroke') == '#1f4e9c']
    for row in table:
        assert row['word'] in texts and str(row['frequency']) in texts, (row, texts)
    assert 0 < len(ticks) <= sum(row['frequency'] for row in table)
    if with_png:
        with open(png, 'rb') as f:
            header = f.read(24)
        assert header[:8] == b'\x89PNG\r\n\x1a\n', header
        width, height = struct.unpack('>II', header[16:24])
        assert (width, height) == (2 * int(float(root.get('width'))), 2 * int(float(root.get('height')))), \
            (width, height)
print('check-analyses: %d collocates, %d trigrams, %d dispersion rows; SVG%s read back'
      % (len(collocates), len(trigrams), len(table), ' and PNG' if with_png else ''))
