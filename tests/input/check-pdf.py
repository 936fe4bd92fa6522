#!/usr/bin/env python3
"""Reads PDF documents made here (with cairo, and qpdf for a password) through
quillmoor-cli: the text in reading order (two columns one after the other), ligatures
spelled out, a word hyphenated at a line end joined (also across a page break), page
numbers in the kwic exports; and the refusals of a protected, an image-only and a
damaged PDF."""
import csv
import io
import json
import os
import subprocess
import sys
import tempfile

import cairo

cli = sys.argv[1]
env = dict(os.environ, ASAN_OPTIONS='detect_leaks=0')


def lines_at(context, x, y, lines):
    for line in lines:
        context.move_to(x, y)
        context.show_text(line)
        y += 16


def make_text_pdf(path):
    surface = cairo.PDFSurface(path, 595, 842)
    c = cairo.Context(surface)
    c.select_font_face('serif')
    c.set_font_size(11)
    # Page 1: two columns; the left one ends with a hyphenated word.
    lines_at(c, 50, 100, ['The left column speaks of', 'the \ufb01rst \ufb02oor and a',
                          'well-known concor-', 'dance of words.'])
    lines_at(c, 320, 100, ['The right column comes', 'after the left one.'])
    c.show_page()
    # Page 2: a word broken across the page end (poppler joins "well-" "known" itself).
    lines_at(c, 50, 100, ['A well-', 'known case ends this page with a hy-'])
    c.show_page()
    c.show_page()  # page 3: nothing on it
    lines_at(c, 50, 100, ['phen on page four, the last.'])
    surface.finish()


def make_picture_pdf(path):
    surface = cairo.PDFSurface(path, 595, 842)
    c = cairo.Context(surface)
    c.rectangle(50, 50, 200, 300)
    c.fill()
    surface.finish()


def run(*arguments):
    return subprocess.run([cli, *arguments], capture_output=True, env=env)


with tempfile.TemporaryDirectory() as folder:
    book = os.path.join(folder, 'book.pdf')
    make_text_pdf(book)
    read = run('read', '-q', book)
    assert read.returncode == 0, read.stderr
    text = read.stdout.decode('utf-8').strip()
    expected = ('The left column speaks of / the first floor and a / well-known concordance of '
                'words. / The right column comes / after the left one. / A wellknown case ends '
                'this page with a hyphen / on page four, the last.')
    assert text == expected, text

    def kwic(fmt, keywords):
        out = run('kwic', '-q', '-s', 'none', '--keywords', keywords, '--format', fmt, book)
        assert out.returncode == 0, out.stderr
        return out.stdout.decode('utf-8')

    rows = list(csv.DictReader(io.StringIO(kwic('tsv', 'concordance hyphen last first')),
                               delimiter='\t', quoting=csv.QUOTE_NONE))
    pages = {row['word']: row['page'] for row in rows}
    assert pages == {'concordance': '1', 'first': '1', 'hyphen': '2', 'last': '4'}, pages
    jsonl = [json.loads(line) for line in kwic('jsonl', 'last').splitlines()]
    assert jsonl[0]['page'] == 4, jsonl
    assert kwic('text', 'last').startswith('p. 4 '), kwic('text', 'last')

    # A long document, read in batches on two threads: every page in its place.
    long = os.path.join(folder, 'long.pdf')
    surface = cairo.PDFSurface(long, 595, 842)
    c = cairo.Context(surface)
    for n in range(1, 41):
        lines_at(c, 50, 100, ['Folio number %d.' % n])
        c.show_page()
    surface.finish()
    out = run('kwic', '-q', '-s', 'none', '--keywords', 'folio', '--sort', 'POS', '--format',
              'tsv', long)
    rows = list(csv.DictReader(io.StringIO(out.stdout.decode('utf-8')), delimiter='\t',
                               quoting=csv.QUOTE_NONE))
    assert [row['page'] for row in rows] == [str(n) for n in range(1, 41)], rows
    assert all(row['right'].startswith(' number %s' % row['page']) for row in rows), rows

    def refused(path, *message):
        out = run('read', '-q', path)
        said = out.stderr.decode('utf-8')
        assert out.returncode != 0 and out.stdout == b'', (path, out)
        for m in message:
            assert m in said, (path, said)

    locked = os.path.join(folder, 'locked.pdf')
    subprocess.run(['qpdf', '--encrypt', 'user', 'owner', '256', '--', book, locked], check=True)
    refused(locked, 'is protected by a password')
    picture = os.path.join(folder, 'scan.pdf')
    make_picture_pdf(picture)
    refused(picture, 'holds no text', 'scanned document')
    damaged = os.path.join(folder, 'damaged.pdf')
    with open(damaged, 'wb') as f:
        f.write(b'%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer garbage\n')
    refused(damaged, 'is not a readable PDF document: ')
print('check-pdf: reading order, ligatures, joined hyphens, pages and three refusals')
