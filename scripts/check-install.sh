#!/usr/bin/env bash
# Checks what `cmake --install` and the Debian package hold, as a desktop would
# see them: installs BUILD (build/ unless given) into a temporary DESTDIR under
# a prefix of its own, then checks that every file is in its place and nothing
# lies outside the prefix, validates the desktop entry and the AppStream
# metadata, reads the copyright file with Debian's parser, renders the manual
# pages with warnings on, runs the installed command line, and checks that both
# programs and the metadata give one version; then builds the package, lists
# its contents and dependencies, and checks its version is that one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
id=com.halvick.OrvaneZozivi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=/opt/orvane-check
root=$work/dest$prefix
DESTDIR=$work/dest cmake --install "$build" --prefix "$prefix" >/dev/null

# Every file, relative to the prefix, against the list it must be.
{
  printf '%s\n' bin/orvane-zozivi bin/orvane-zozivi-cli \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/orvane-zozivi.1.gz share/man/man1/orvane-zozivi-cli.1.gz \
    share/doc/orvane-zozivi/copyright share/orvane-zozivi/templates/descriptions.tsv
  for size in 48 128 256; do echo "share/icons/hicolor/${size}x$size/apps/$id.png"; done
  (cd doc && find . -type f | sed 's|^\./|share/doc/orvane-zozivi/|')
  (cd templates && find . -maxdepth 1 -name '*.txt' | sed 's|^\./|share/orvane-zozivi/templates/|')
  (cd examples/frames && find . -maxdepth 1 -name '*.png' | sed 's|^\./|share/orvane-zozivi/examples/frames/|')
} | sort >"$work/expected"
(cd "$work/dest" && find . -type f -o -type l) | sed "s|^\./${prefix#/}/||" | sort >"$work/installed"
if ! diff -u "$work/expected" "$work/installed"; then
  echo "check-install: the installed files differ from the list above (+ unexpected, - missing)" >&2
  exit 1
fi

desktop-file-validate --no-hints "$root/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$root/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; exit 1; }
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root/share/metainfo/$id.metainfo.xml" ||
  { echo "check-install: the AppStream metadata names no project licence" >&2; exit 1; }
# Debian's own reader of machine-readable copyright files (python3-debian, for
# the system's Python); strict, so a malformed paragraph or a licence named but
# never given fails.
/usr/bin/python3 - "$root/share/doc/orvane-zozivi/copyright" <<'PY'
import sys
from debian.copyright import Copyright
with open(sys.argv[1], encoding='utf-8') as f:
    c = Copyright(f, strict=True)
named = {p.license.synopsis for p in c.all_files_paragraphs()}
given = {p.license.synopsis for p in c.all_license_paragraphs()}
given |= {p.license.synopsis for p in c.all_files_paragraphs() if p.license.text}
assert named == {'GPL-3+', 'PngSuite'} and named <= given, (named, given)
assert c.find_files_paragraph('testdata/pngsuite/basn0g01.png').license.synopsis == 'PngSuite'
assert c.find_files_paragraph('sheet/build_sheet.cpp').license.synopsis == 'GPL-3+'
PY
for size in 48 128 256; do
  file "$root/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
    { echo "check-install: the $size-pixel icon is not a $size x $size PNG" >&2; exit 1; }
done
for page in "$root"/share/man/man1/*.1.gz; do
  # man-db's own checks plus groff's warnings; any message on standard error fails.
  if [ -n "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" ]; then
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >/dev/null
    exit 1
  fi
done

# The installed command line finds the installed gallery and builds the examples.
(cd templates && ls -1 -- *.txt | sed 's/\.txt$//' | LC_ALL=C sort) >"$work/gallery.expected"
"$root/bin/orvane-zozivi-cli" --gallery | cut -f1 | LC_ALL=C sort >"$work/gallery"
diff -u "$work/gallery.expected" "$work/gallery"
"$root/bin/orvane-zozivi-cli" --sheet "$work/walk.png" examples/frames >/dev/null
# Both installed programs, the metadata and the package name one version.
version=$("$root/bin/orvane-zozivi-cli" --version | sed -n 's/^orvane-zozivi-cli //p')
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/orvane-zozivi" --version)" = "orvane-zozivi $version" ] &&
  grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" ||
  { echo "check-install: the programs and the metadata do not name one version ($version)" >&2; exit 1; }
echo "check-install: $(wc -l <"$work/installed") files under $prefix; entry, metadata, icons, manual pages and gallery check out"

deb=$(bash scripts/package.sh "$build" | tail -n 1)
echo "Package $deb:"
contents=$(dpkg-deb --contents "$deb" | sed -E 's/^([^ ]+ +){5}/  /')
echo "$contents"
echo "  Depends: $(dpkg-deb --field "$deb" Depends)"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] ||
  { echo "check-install: the package's version is not the programs' $version" >&2; exit 1; }
grep -qx '  \./usr/share/doc/orvane-zozivi/copyright' <<<"$contents" ||
  { echo "check-install: the package holds no copyright file" >&2; exit 1; }
# The package's programs, unpacked as apt would place them, run from the PATH.
dpkg-deb --extract "$deb" "$work/deb"
PATH=$work/deb/usr/bin:$PATH orvane-zozivi-cli --sheet "$work/deb-walk.png" --script "$work/deb/usr/share/orvane-zozivi/templates/JSON Hash.txt" \
  --data "$work/deb-walk.json" examples/frames >/dev/null
python3 -c 'import json, sys; assert len(json.load(open(sys.argv[1]))["frames"]) == 8' "$work/deb-walk.json"
