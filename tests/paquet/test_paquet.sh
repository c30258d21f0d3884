#!/usr/bin/env bash
# Builds the .deb from this build tree, unpacks it into a temporary root, runs the unpacked
# orvanel-cli and validates the desktop entry, the AppStream metadata and the manual page.
# Usage: test_paquet.sh BUILD_DIR
set -euo pipefail
build=$1
for outil in cpack dpkg-deb desktop-file-validate appstreamcli; do
  command -v "$outil" >/dev/null || { echo "SKIP: $outil is not installed (tools/setup.sh installs it)"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/paquets" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/paquets/orvanel_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$tmp/racine"

# Its dependencies are declared: the Qt libraries, the time-zone library and database.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for paquet in libqt6widgets6 libdate-tz3 tzdata libc6 python3-numpy; do
  grep -q "$paquet" <<<"$depends" || { echo "FAIL: $paquet missing from Depends"; exit 1; }
done

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
manuel="$tmp/racine/usr/share/man/man1/orvanel-cli.1"
test -s "$manuel"
if command -v groff >/dev/null; then
  avertissements=$(groff -t -man -Tutf8 -ww -z "$manuel" 2>&1)
  [[ -z $avertissements ]] || { echo "FAIL: the manual page warns: $avertissements"; exit 1; }
fi
# The library for C and C++ programs, and the Python module, which imports from the package.
for fichier in usr/include/orvanel/orvanel.h usr/lib/pkgconfig/orvanel.pc \
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
