#!/usr/bin/env bash
# Installs what Orvanel needs on Debian 12, if it is missing (apt-get update, then apt-get
# install). Alone: what building and running need (with Python's headers, pybind11 and NumPy
# for the Python module). With --tests: also the test toolchain (GoogleTest, Google Benchmark,
# ERFA, pandas and Dask, Sphinx, numpydoc and Doxygen for the API reference, matplotlib for
# the examples, pip and venv for the install test, Xvfb and a window manager, xdotool, xclip,
# clang and its fuzzing runtime, the desktop-file and AppStream validators) and the French
# locale.
set -euo pipefail

paquets=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libcli11-dev nlohmann-json3-dev libfmt-dev libhowardhinnant-date-dev tzdata
  python3-dev pybind11-dev python3-numpy
  fonts-dejavu-core
)
tests=0
if [ "${1:-}" = "--tests" ]; then
  tests=1
  paquets+=(
    libgtest-dev libbenchmark-dev liberfa-dev
    python3-pandas python3-dask python3-distributed
    python3-sphinx python3-numpydoc doxygen python3-matplotlib python3-venv python3-pip
    python3-setuptools python3-wheel
    dpkg-dev desktop-file-utils appstream lintian
    xvfb xauth xdotool xclip x11-utils libx11-dev icewm poppler-utils
    clang-14 libclang-rt-14-dev clang-format-14
    locales
  )
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if ((${#manquants[@]})); then
  echo "Installing: ${manquants[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${manquants[@]}"
fi

# The French regional settings, for the tests of the decimal comma.
if ((tests)) && ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  $sudo sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
