#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, then builds two users' programs against it
# (C with pkg-config alone, C++ with find_package) and checks that both print the in-tree
# reference's figures, bit for bit.
# Usage: installe.sh BUILD_DIR SOURCE_DIR REFERENCE_PROGRAM
set -euo pipefail
build=$1 source=$2 reference=$3
prefixe=$(mktemp -d)
trap 'rm -rf "$prefixe"' EXIT

cmake --install "$build" --prefix "$prefixe" >/dev/null
pc=$(find "$prefixe" -name orvanel.pc -print -quit)
[ -n "$pc" ] || { echo "orvanel.pc not installed" >&2; exit 1; }
libdir=$(dirname "$(dirname "$pc")")
export PKG_CONFIG_PATH="$(dirname "$pc")"

"$reference" >"$prefixe/attendu.txt"

# shellcheck disable=SC2046  # pkg-config's flags are words
cc -std=c99 -Wall -Wextra -Werror -I"$source/tests/lib" "$source/tests/lib/programme.c" \
  $(pkg-config --cflags --libs orvanel) -o "$prefixe/programme_c"
LD_LIBRARY_PATH="$libdir" "$prefixe/programme_c" >"$prefixe/c.txt"
diff -u "$prefixe/attendu.txt" "$prefixe/c.txt"

cmake -S "$source/tests/lib/projet" -B "$prefixe/projet" -DCMAKE_PREFIX_PATH="$prefixe" >/dev/null
cmake --build "$prefixe/projet" >/dev/null
LD_LIBRARY_PATH="$libdir" "$prefixe/projet/programme_cpp" >"$prefixe/cpp.txt"
diff -u "$prefixe/attendu.txt" "$prefixe/cpp.txt"

# The Python module from the installed tree, when Debian's NumPy is there.
module=$(find "$prefixe" -path '*dist-packages/orvanel' -print -quit)
if [ -n "$module" ] && /usr/bin/python3 -c "import numpy" 2>/dev/null; then
  PYTHONPATH="$(dirname "$module")" /usr/bin/python3 -c \
    "import orvanel; assert orvanel.__version__ == '$(tail -1 "$prefixe/attendu.txt" | cut -d' ' -f2)'"
fi

# Only the C interface is exported.
so=$(find "$libdir" -name 'liborvanel.so.1' -print -quit)
autres=$(nm -D --defined-only "$so" | awk '$2 == "T" && $3 !~ /^orvanel_/')
[ -z "$autres" ] || { echo "exported beyond the C interface: $autres" >&2; exit 1; }
echo "C and C++ programs against the installed library: $(wc -l <"$prefixe/c.txt") lines as expected"
