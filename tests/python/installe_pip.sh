#!/usr/bin/env bash
# The README's install for Python users, run as written: a virtual environment that sees
# Debian's NumPy and pandas, pip installing this tree with Debian's setuptools and no index;
# then `import orvanel` there, from elsewhere, gives the build tree's figures to the bit.
# Usage: installe_pip.sh SOURCE_DIR BUILD_PYTHON_DIR
set -euo pipefail
source=$1 construit=$2
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT

# A copy of the tree without its build directories, so that the build starts from nothing.
tar -C "$source" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$temp" -xf - --one-top-level=arbre
/usr/bin/python3 -m venv --system-site-packages "$temp/env"
(cd "$temp/arbre" && "$temp/env/bin/pip" install --no-build-isolation --no-index --quiet .)

cat >"$temp/figures.py" <<'PY'
import numpy as np, orvanel, pandas as pd, sys
heures = pd.date_range("2026-03-27", periods=72, freq="h", tz="Europe/Paris")
p = orvanel.solar_position(heures, 48.85, 2.35)
j = orvanel.sun_rise_set_transit(heures, 48.85, 2.35, thresholds=[6])
print(orvanel.__file__.startswith(sys.argv[1]))
print(p.to_numpy().tobytes().hex())
print(j.to_string())
PY
cd "$temp"
"$temp/env/bin/python" figures.py "$temp/env" >"$temp/installe.txt"
PYTHONPATH="$construit" /usr/bin/python3 figures.py "$construit" >"$temp/construit.txt"
[ "$(head -1 "$temp/installe.txt")" = True ] || { echo "orvanel not imported from the environment" >&2; exit 1; }
diff <(tail -n +2 "$temp/installe.txt") <(tail -n +2 "$temp/construit.txt")
echo "pip installed the module; its figures are the build tree's"
