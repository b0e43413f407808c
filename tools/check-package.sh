#!/usr/bin/env bash
# Checks what a Debian user gets from the default build: the .deb from cpack
# passes lintian without errors or warnings, the desktop entries validate, and
# the tree that `cmake --install` lays down holds the programs, their manual
# pages, the desktop entries, icon, MIME type, udev rule and Debian docs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "check-package: $*" >&2; status=1; }

cmake --build "$build" --target kalviren-console kalviren-console-demo nddt kalviren-unit kv_package_docs

echo "-- desktop-file-validate"
for entry in packaging/*.desktop; do
  out=$(desktop-file-validate "$entry" 2>&1) || fail "$entry does not validate"
  [ -z "$out" ] || { echo "$out"; fail "$entry: desktop-file-validate has remarks"; }
done

echo "-- installed tree"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/kalviren-console bin/kalviren-console-demo bin/nddt bin/kalviren-unit \
         share/applications/kalviren-console.desktop share/applications/kalviren-console-demo.desktop \
         share/icons/hicolor/scalable/apps/kalviren-console.svg \
         share/mime/packages/kalviren-console.xml lib/udev/rules.d/70-kalviren-dsp.rules \
         share/doc/kalviren-console/copyright share/doc/kalviren-console/changelog.gz \
         share/man/man1/kalviren-console.1.gz share/man/man1/kalviren-console-demo.1.gz \
         share/man/man1/nddt.1.gz share/man/man1/kalviren-unit.1.gz; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
for p in kalviren-console kalviren-console-demo nddt kalviren-unit; do
  [ "$("$prefix/bin/$p" --version)" = "$p $(sed -n 's/^project(kalviren-console VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
    fail "$p --version"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$p.1.gz" 2>&1 >/dev/null) ||
    fail "man page of $p does not render"
  [ -z "$warnings" ] || { echo "$warnings"; fail "man page of $p has warnings"; }
  grep -q "^Exec=$p\( \|$\)" "$prefix"/share/applications/*.desktop || [ "$p" = nddt ] || [ "$p" = kalviren-unit ] || fail "no entry runs $p"
done
# The MIME database built from the installed tree maps *.Nddt to the type the
# console's entry opens.
XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime"
grep -qi ':application/x-kalviren-preset:\*\.nddt$' "$prefix/share/mime/globs2" || fail "*.Nddt has no MIME type"
grep -q '^MimeType=application/x-kalviren-preset;' "$prefix/share/applications/kalviren-console.desktop" ||
  fail "the console's entry does not open .Nddt files"

echo "-- lintian"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KB"
dpkg-deb -f "$deb" Depends
# Errors and warnings fail; the remaining notes are informational.
lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

[ $status -eq 0 ] && echo "check-package: ok"
exit $status
