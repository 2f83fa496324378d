#!/usr/bin/env bash
# Installs the build tree into a staging root (as the package is made) and
# checks its files: programs, Python module, simulator, menu entry, icon,
# file types and manual page. Usage: check_install.sh BUILD_DIR VERSION LIBDIR MIME_PROBE
set -euo pipefail
build=$1 version=$2 libdir=$3 probe=$4
stage=$(mktemp -d "${TMPDIR:-/tmp}/lyr-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
share=$root/share
for f in bin/lyr bin/lyrtool "$libdir/lyr/libpgxsim.so" share/applications/lyr.desktop \
         share/icons/hicolor/scalable/apps/lyr.svg share/mime/packages/lyr.xml \
         share/man/man1/lyrtool.1.gz share/doc/lyr/README.md; do
  [ -f "$root/$f" ] || fail "missing $f"
done
[ -x "$root/bin/lyr" ] && [ -x "$root/bin/lyrtool" ] || fail "programs not executable"

# Menu entry: both names, the category, the file types it opens.
desktop=$share/applications/lyr.desktop
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
grep -q '^Name=LYR' "$desktop" || fail "no English name"
grep -q '^Name\[ja\]=LYR 波形' "$desktop" || fail "no Japanese name"
grep -q '^Categories=.*Electronics;' "$desktop" || fail "not in Electronics"
grep -q '^Exec=lyr %f$' "$desktop" || fail "Exec does not take a file"
grep -q '^MimeType=application/x-lyr-waveform;application/x-syn-waveform;$' "$desktop" || fail "MimeType"

xmllint --noout "$share/mime/packages/lyr.xml" "$share/icons/hicolor/scalable/apps/lyr.svg"
work=$stage/work
mkdir -p "$work"
# The staged database first, the system's (for every other type) after it.
export HOME=$work XDG_DATA_HOME=$work/data XDG_DATA_DIRS=$share:/usr/share XDG_RUNTIME_DIR=$work
update-mime-database "$share/mime"
for t in x-lyr-waveform x-syn-waveform; do
  [ -f "$share/mime/application/$t.xml" ] || fail "MIME database lacks $t"
done

# The file types by content: names without an extension of their own.
"$root/bin/lyrtool" new "$work/w.lyr" --total 1ms
cp "$work/w.lyr" "$work/current-data"
# A legacy header: n = 100 samples of u = 5 (20 ns steps), unit 20.
legacy=$work/legacy-data
{ printf '\x10\x27\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x64\x00\x00\x00\x14\x00\x00\x00'
  head -c $((1024 + 1200 - 20)) /dev/zero; } > "$legacy"
printf 'index,volts\n0,0.5\n' > "$work/text-data"
got=$("$probe" "$work/w.lyr" "$work/current-data" "$legacy" "$work/text-data" | tr '\n' ' ')
[ "$got" = "application/x-lyr-waveform application/x-lyr-waveform application/x-syn-waveform text/plain " ] ||
  fail "file types: $got"

# The manual page covers every command lyrtool lists.
man=$(gzip -dc "$share/man/man1/lyrtool.1.gz")
grep -q '^\.TH LYRTOOL 1 ' <<<"$man" || fail "manual page header"
for c in $("$root/bin/lyrtool" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p'); do
  grep -q "^\.SS $c\$" <<<"$man" || fail "manual page lacks $c"
done
if command -v groff >/dev/null; then
  warnings=$(groff -man -ww -z <<<"$man" 2>&1) || true
  [ -z "$warnings" ] || fail "manual page: $warnings"
fi

# The Python module where Debian's interpreter finds packaged modules; it
# imports and drives the staged lyrtool's code without the build tree.
module=$(find "$root/lib/python3/dist-packages" -maxdepth 1 -name 'lyr.cpython-*.so' | head -n 1)
[ -n "$module" ] || fail "missing lib/python3/dist-packages/lyr.cpython-*.so"
got=$(cd "$work" && PYTHONPATH="$root/lib/python3/dist-packages" /usr/bin/python3 -c '
import lyr
w = lyr.Waveform.new(total="1ms")
w.analog[:] = 0.5
w.save("py.lyr")
print(lyr.Waveform.open("py.lyr").info()["sampleCount"], lyr.Waveform.__doc__ is not None)') ||
  fail "the staged module does not import or run"
[ "$got" = "$("$root/bin/lyrtool" info "$work/w.lyr" --json | sed -n 's/.*"sampleCount": \([0-9]*\).*/\1/p') True" ] ||
  fail "staged module: $got"

# The installed editor answers --version and --help without a display.
unset DISPLAY WAYLAND_DISPLAY
[ "$("$root/bin/lyr" --version)" = "LYR $version" ] || fail "lyr --version"
"$root/bin/lyr" --help | grep -q -- '--settings <FILE>' || fail "lyr --help lacks --settings"
echo "staged install checked: $(find "$root" -type f | wc -l) files"
