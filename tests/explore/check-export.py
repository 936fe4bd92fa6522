#!/usr/bin/env python3
"""Parses quillmoor-cli kwic's tsv, csv and jsonl exports back with Python's own csv and
json modules, on a document whose contexts hold commas, quotes, tabs, accents and
line breaks, and checks that the three give the same rows and that each row's left
context, keyword and right context stand together in the document's text."""
import csv
import io
import json
import os
import subprocess
import sys
import tempfile

cli = sys.argv[1]
document = ('The river, "quoth he", ran past the old mill;\tthe miller\'s wife said: "Caf\u00e9,\n'
            'or tea?" The river ran on, and on.\r\nRivers run; a river\'s bank, "quoted", ends here.\n')
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, 'book.txt')
    with open(path, 'w', encoding='utf-8', newline='') as f:
        f.write(document)

    def run(fmt, sort='R1,L1'):
        out = subprocess.run([cli, 'kwic', '-q', '-s', 'none', '--width', '3', '--sort', sort,
                              '--format', fmt, path], check=True, capture_output=True,
                             env=dict(os.environ, ASAN_OPTIONS='detect_leaks=0'))
        return out.stdout.decode('utf-8')

    fields = ['left', 'keyword', 'right', 'word', 'frequency', 'line', 'offset']
    tsv = list(csv.DictReader(io.StringIO(run('tsv')), delimiter='\t', quoting=csv.QUOTE_NONE))
    comma = list(csv.DictReader(io.StringIO(run('csv'), newline='')))
    lines = [json.loads(line) for line in run('jsonl').splitlines()]
    lines = [{k: str(v) for k, v in row.items()} for row in lines]
    assert len(tsv) > 20, len(tsv)
    assert tsv == comma == lines, (tsv[:3], comma[:3], lines[:3])
    assert all(list(row) == fields for row in lines)
    # The document as a run reads it: line breaks become " / ", tabs spaces.
    text = ' '.join(document.replace('\t', ' ').replace('\r\n', ' / ').replace('\n', ' / ').split())
    for row in lines:
        assert row['left'] + row['keyword'] + row['right'] in text, row
        assert row['keyword'].lower().startswith(row['word'][:3]), row
    assert any(',' in row['right'] and '"' in row['right'] for row in comma)
    assert any(' / ' in row['left'] + row['right'] for row in lines)
    # By word, the rows made key by key as the export goes equal the rows sorted first.
    assert run('csv', 'KW') == run('csv', 'KW,POS')
print('check-export: tsv, csv and jsonl parse back to the same %d rows' % len(lines))
