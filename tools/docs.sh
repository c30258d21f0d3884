#!/usr/bin/env bash
# The API reference: the C library's from its header (Doxygen) and the Python module's from its
# docstrings (Sphinx with numpydoc), into BUILD_DIR/docs/c and BUILD_DIR/docs/python. Any warning
# fails the build.
# Usage: tools/docs.sh [BUILD_DIR]   (build/ by default; the Python module must be built there)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source/build}" && pwd)
[ -e "$build/python/orvanel/__init__.py" ] || { echo "build the Python module first" >&2; exit 1; }
# Without the tools (tools/setup.sh --tests installs them), a test run skips this with 77.
if ! command -v doxygen >/dev/null || ! /usr/bin/python3 -c "import sphinx, numpydoc" 2>/dev/null; then
  echo "doxygen, Sphinx or numpydoc is missing: apt-get install doxygen python3-sphinx python3-numpydoc" >&2
  exit 77
fi

export ORVANEL_DOCS_C="$build/docs/c" ORVANEL_HEADER="$source/orvanel/orvanel.h $source/contrat/orvanel_ranges.h"
rm -rf "$build/docs"
mkdir -p "$ORVANEL_DOCS_C"
(cd "$source/docs/api" && doxygen Doxyfile)

PYTHONPATH="$build/python" /usr/bin/python3 -m sphinx -W --keep-going -q -b html \
  -d "$build/docs/doctrees" "$source/docs/api" "$build/docs/python"
echo "The reference: $build/docs/c/index.html and $build/docs/python/index.html"
