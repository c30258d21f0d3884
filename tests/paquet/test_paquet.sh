#!/usr/bin/env bash
# Builds the four .deb packages from this build tree (the program, the shared library, its
# development files, the Python module), checks them with lintian (no error, no warning that is
# not kept with its reason), unpacks them into a temporary root, runs the unpacked orvanel-cli
# and validates the desktop entry, the AppStream metadata and the manual pages.
# Usage: test_paquet.sh BUILD_DIR
set -euo pipefail
build=$1
for outil in cpack dpkg-deb desktop-file-validate appstreamcli lintian; do
  command -v "$outil" >/dev/null || { echo "SKIP: $outil is not installed (tools/setup.sh installs it)"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/paquets" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
declare -A debs
for paquet in orvanel liborvanel1 liborvanel-dev python3-orvanel; do
  debs[$paquet]=$(ls "$tmp"/paquets/${paquet}_*.deb)
  echo "package: $(basename "${debs[$paquet]}")"
  dpkg-deb -x "${debs[$paquet]}" "$tmp/racine"
  for doc in copyright changelog.gz; do
    test -s "$tmp/racine/usr/share/doc/$paquet/$doc" || { echo "FAIL: $paquet has no $doc"; exit 1; }
  done
done
# lintian as root says so on standard error; its findings go to standard output.
if ! lintian --no-cfg --fail-on error,warning "${debs[@]}" 2>/dev/null; then
  echo "FAIL: lintian"
  exit 1
fi
echo "lintian: no error, no warning left unexplained"

# Each package declares what it needs: the program the Qt libraries, the time-zone library and
# database; the module Debian's python3 and NumPy; the development files their library.
depends=$(dpkg-deb -f "${debs[orvanel]}" Depends)
echo "Depends: $depends"
for paquet in libqt6widgets6 libdate-tz3 tzdata libc6; do
  grep -q "$paquet" <<<"$depends" || { echo "FAIL: $paquet missing from orvanel's Depends"; exit 1; }
done
# The module computes legal time too: the time-zone library and database.
for paquet in python3-numpy libdate-tz3 tzdata; do
  grep -q "$paquet" <<<"$(dpkg-deb -f "${debs[python3-orvanel]}" Depends)" ||
    { echo "FAIL: $paquet missing from python3-orvanel's Depends"; exit 1; }
done
grep -q "liborvanel1 (= " <<<"$(dpkg-deb -f "${debs[liborvanel-dev]}" Depends)" ||
  { echo "FAIL: liborvanel1 missing from liborvanel-dev's Depends"; exit 1; }
dpkg-deb --ctrl-tarfile "${debs[liborvanel1]}" | tar -xO ./shlibs | grep -q "^liborvanel 1 liborvanel1" ||
  { echo "FAIL: liborvanel1 has no shlibs entry"; exit 1; }

version=$("$tmp/racine/usr/bin/orvanel-cli" --version)
echo "$version"
[[ $version == "orvanel-cli "* ]] || { echo "FAIL: unexpected --version: $version"; exit 1; }
test -x "$tmp/racine/usr/bin/orvanel"

desktop-file-validate "$tmp/racine/usr/share/applications/org.orvanel.Orvanel.desktop"
appstreamcli validate --no-net "$tmp/racine/usr/share/metainfo/org.orvanel.Orvanel.metainfo.xml"
for taille in 16 22 24 32 48 64 128 256; do
  icone="$tmp/racine/usr/share/icons/hicolor/${taille}x${taille}/apps/orvanel.png"
  test -s "$icone" || { echo "FAIL: no icon $icone"; exit 1; }
done
for page in orvanel orvanel-cli; do
  manuel="$tmp/racine/usr/share/man/man1/$page.1.gz"
  test -s "$manuel" || { echo "FAIL: no $manuel"; exit 1; }
  if command -v groff >/dev/null; then
    avertissements=$(gzip -dc "$manuel" | groff -t -man -Tutf8 -ww -z 2>&1)
    [[ -z $avertissements ]] || { echo "FAIL: $page's manual page warns: $avertissements"; exit 1; }
  fi
done
# The library for C and C++ programs, and the Python module, which imports from the package.
for fichier in usr/include/orvanel/orvanel.h usr/include/orvanel/orvanel_ranges.h usr/lib/pkgconfig/orvanel.pc \
  usr/lib/cmake/Orvanel/OrvanelConfig.cmake usr/lib/python3/dist-packages/orvanel/__init__.py; do
  test -s "$tmp/racine/$fichier" || { echo "FAIL: no $fichier"; exit 1; }
done
ls "$tmp"/racine/usr/lib/liborvanel.so.1* >/dev/null || { echo "FAIL: no liborvanel.so.1"; exit 1; }
grep -q "^prefix=/usr$" "$tmp/racine/usr/lib/pkgconfig/orvanel.pc" || { echo "FAIL: orvanel.pc prefix"; exit 1; }
if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c "import numpy" 2>/dev/null; then
  PYTHONPATH="$tmp/racine/usr/lib/python3/dist-packages" /usr/bin/python3 -c \
    "import orvanel, numpy; r = orvanel.solar_position(numpy.datetime64('2026-06-21T12:00'), 45.0, 0.0); assert 60 < r['elevation'] < 70, r"
fi
echo "package test passed"
