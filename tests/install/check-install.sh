#!/usr/bin/env bash
# Installs the build folder BUILD into a temporary prefix and checks the layout: the
# programs run from there and find their data, the manual page documents every option
# of --help, and the desktop file and the software-centre metadata pass their
# validators.
set -euo pipefail
build=${1:?usage: check-install.sh BUILD}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/quillmoor-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.quillmoor.Quillmoor
for f in bin/quillmoor-cli share/quillmoor/quillmoor.dat share/quillmoor/stwds_en.txt \
         share/man/man1/quillmoor-cli.1 share/man/man1/quillmoor.1 \
         share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
if [ -e "$build/bin/quillmoor" ]; then
  [ -x "$prefix/bin/quillmoor" ] || fail "bin/quillmoor is not installed"
  "$prefix/bin/quillmoor" --version | grep -q '^quillmoor (Quillmoor) ' || fail "quillmoor --version"
  # The installed command line finds its PNG writer in lib/quillmoor.
  [ -s "$prefix/lib/quillmoor/quillmoor-png.so" ] || fail "lib/quillmoor/quillmoor-png.so is not installed"
  printf 'The heron stood. The heron flew.\n' >"$prefix/plot.txt"
  ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/quillmoor-cli" dispersion -q -k heron --png "$prefix/plot.png" \
    -o /dev/null "$prefix/plot.txt" || fail "installed dispersion --png failed"
  [ "$(head -c 4 "$prefix/plot.png" | tail -c 3)" = PNG ] || fail "installed dispersion --png wrote no PNG"
fi

# The installed command line finds its data files in share/quillmoor.
export ASAN_OPTIONS=detect_leaks=0
printf 'The heron stood in the river. The heron flew.\n' >"$prefix/heron.txt"
out=$("$prefix/bin/quillmoor-cli" wordlist -q "$prefix/heron.txt") || fail "installed quillmoor-cli failed"
[ "$out" = "$(printf 'flew\t1\nheron\t2\nriver\t1\nstood\t1')" ] || fail "installed wordlist gave: $out"
# ... and its PDF reader in lib/quillmoor (a PDF of one line, made by hand).
[ -s "$prefix/lib/quillmoor/quillmoor-pdf.so" ] || fail "lib/quillmoor/quillmoor-pdf.so is not installed"
python3 - "$prefix/heron.pdf" <<'PDF'
import sys
stream = b'BT /F1 12 Tf 72 720 Td (The heron flew.) Tj ET'
objects = [b'<< /Type /Catalog /Pages 2 0 R >>', b'<< /Type /Pages /Kids [3 0 R] /Count 1 >>',
           b'<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R '
           b'/Resources << /Font << /F1 5 0 R >> >> >>',
           b'<< /Length %d >>\nstream\n' % len(stream) + stream + b'\nendstream',
           b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>']
out, offsets = b'%PDF-1.4\n', []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b'%d 0 obj\n' % number + body + b'\nendobj\n'
xref = len(out)
out += b'xref\n0 %d\n0000000000 65535 f \n' % (len(objects) + 1)
out += b''.join(b'%010d 00000 n \n' % o for o in offsets)
out += b'trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n' % (len(objects) + 1, xref)
open(sys.argv[1], 'wb').write(out)
PDF
out=$("$prefix/bin/quillmoor-cli" read -q "$prefix/heron.pdf") || fail "installed read of a PDF failed"
[ "$out" = "The heron flew." ] || fail "installed read of a PDF gave: $out"

# Every long option of --help is in the manual page.
man_text=$(sed 's/\\-/-/g' "$prefix/share/man/man1/quillmoor-cli.1")
for option in $("$prefix/bin/quillmoor-cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$man_text" || fail "the manual page lacks $option"
done
grep -q "^Quillmoor $("$prefix/bin/quillmoor-cli" --version | sed -n '1s/.* //p')\"" \
  <(sed -n 's/^\.TH [^"]*"[^"]*" "\([^"]*\)".*/\1"/p' "$prefix/share/man/man1/quillmoor-cli.1") ||
  fail "the manual page names another version"

# The menu entry and the metadata.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q '^Exec=quillmoor %f$' "$prefix/share/applications/$id.desktop" || fail "Exec takes no file"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate"
echo "check-install: the installed layout is complete and valid"
