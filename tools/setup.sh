#!/usr/bin/env bash
# Installs what building, running and testing Orvanel needs on Debian 12, if it is missing.
set -euo pipefail

paquets=(
  build-essential cmake pkg-config
  libgtest-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  xvfb xauth xdotool xclip x11-utils libx11-dev imagemagick
  clang libclang-rt-14-dev valgrind
  fonts-dejavu-core
)

manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done

if ((${#manquants[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${manquants[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${manquants[@]}"
fi
