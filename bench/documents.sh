#!/usr/bin/env bash
# How fast the document readers are: quillmoor-cli read of a PDF of 300 pages and more
# (Debian's longest manual pages set by groff -Tpdf, joined by pdfunite), of EPUB books
# (the King James Bible, one chapter per book, and The Devil's Dictionary: a novel's
# size), and of the same texts as OpenDocument and RTF; the median of five runs each.
# With OLD_CLI, also the start of a short run on a text file, old against new in
# alternating rounds: the PDF reader costs a run that reads no PDF nothing.
# Usage: bench/documents.sh NEW_CLI [OLD_CLI]
# Targets: a 300-page PDF under 1 s, an EPUB novel under 0.3 s.
# Needs groff, poppler-utils (pdfunite, pdfinfo) and Python.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 NEW_CLI [OLD_CLI]" >&2; exit 2; }
new=$(realpath "$1")
old=${2:+$(realpath "$2")}
. bench/prepare.sh
bench_prepare quillmoor-spawn-bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { bench_median 5 "$@"; }

# The PDFs: manual pages until 300 pages, then the rest of them.
pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
parts=()
total=0
for page in man1/bash man1/git-config man1/curl man1/gpg man1/tmux man5/proc \
            man5/systemd.exec man3/libpng; do
  source=$(ls /usr/share/man/$page.*gz 2>/dev/null | head -1) || true
  [ -n "$source" ] || continue
  zcat "$source" | groff -man -Tpdf >"$work/${page#*/}.pdf" 2>/dev/null
  parts+=("$work/${page#*/}.pdf")
  total=$((total + $(pages "$work/${page#*/}.pdf")))
  if [ ! -e "$work/300.pdf" ] && [ "$total" -ge 300 ]; then
    pdfunite "${parts[@]}" "$work/300.pdf"
  fi
done
pdfunite "${parts[@]}" "$work/all.pdf"

# The books, from the benchmark corpora.
python3 - "$corpora" "$work" <<'PY'
import html, re, sys, zipfile
corpora, work = sys.argv[1:]

def chapters(path, size):
    text = open(path, encoding='cp1252').read().replace('\r\n', '\n')
    paragraphs = [p for p in text.split('\n\n') if p.strip()]
    out, part = [], []
    for p in paragraphs:
        part.append(p)
        if sum(map(len, part)) > size:
            out.append(part)
            part = []
    return out + ([part] if part else [])

def epub(name, parts):
    with zipfile.ZipFile(f'{work}/{name}.epub', 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('mimetype', 'application/epub+zip', compress_type=zipfile.ZIP_STORED)
        z.writestr('META-INF/container.xml', "<container><rootfiles><rootfile "
                   "full-path='OEBPS/book.opf'/></rootfiles></container>")
        items = ''.join(f"<item id='c{i}' href='c{i}.xhtml' media-type='application/xhtml+xml'/>"
                        for i in range(len(parts)))
        spine = ''.join(f"<itemref idref='c{i}'/>" for i in range(len(parts)))
        z.writestr('OEBPS/book.opf', f"<package><metadata><dc:title>{name}</dc:title></metadata>"
                   f"<manifest>{items}</manifest><spine>{spine}</spine></package>")
        for i, part in enumerate(parts):
            body = ''.join(f'<p>{html.escape(p)}</p>\n' for p in part)
            z.writestr(f'OEBPS/c{i}.xhtml', '<?xml version="1.0"?><html><head><title>'
                       f'{name}</title></head><body>{body}</body></html>')

def odt(name, parts):
    body = ''.join(f'<text:p>{html.escape(p)}</text:p>' for part in parts for p in part)
    with zipfile.ZipFile(f'{work}/{name}.odt', 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('content.xml', '<?xml version="1.0"?><office:document-content><office:body>'
                   f'<office:text>{body}</office:text></office:body></office:document-content>')

def rtf(name, parts):
    def escape(p):
        return re.sub(r'[\\{}]', lambda m: '\\' + m.group(0),
                      ''.join(c if ord(c) < 128 else f"\\'{c.encode('cp1252')[0]:02x}" for c in p))
    body = ''.join(escape(p) + '\\par\n' for part in parts for p in part)
    open(f'{work}/{name}.rtf', 'w').write('{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times;}}\\f0 '
                                          + body + '}')

for name, path in (('kjv', f'{corpora}/kjv.txt'), ('devil', f'{corpora}/devil.txt')):
    parts = chapters(path, 60000)
    epub(name, parts)
    odt(name, parts)
    rtf(name, parts)
PY

echo "== quillmoor-cli read, seconds (median of 5)"
for pdf in 300 all; do
  echo "PDF, $(pages "$work/$pdf.pdf") pages, $(($(stat -c %s "$work/$pdf.pdf") >> 10)) KB:" \
       "$(median "$new" read -q "$work/$pdf.pdf")"
done
for book in devil kjv; do
  for kind in epub odt rtf; do
    echo "$book.$kind, $(($(stat -c %s "$work/$book.$kind") >> 10)) KB:" \
         "$(median "$new" read -q "$work/$book.$kind")"
  done
done
echo "== the whole run on the 300-page PDF (wordlist), seconds: $(median "$new" wordlist -q -o "$work/w" "$work/300.pdf")"

if [ -n "$old" ]; then
  printf 'The heron stood in the river.\n' >"$work/tiny.txt"
  echo "== wordlist of a one-line text file, old against new (alternating rounds)"
  build/release/bin/quillmoor-spawn-bench 5 200 "$old wordlist -q -o $work/o1 $work/tiny.txt" \
    "$new wordlist -q -o $work/o2 $work/tiny.txt"
fi
