#!/usr/bin/env bash
# Installs what building, running and testing Orvanel needs on Debian 12, if it is missing.
set -euo pipefail

paquets=(
  build-essential cmake pkg-config
  libgtest-dev libbenchmark-dev liberfa-dev
  libcli11-dev nlohmann-json3-dev libhowardhinnant-date-dev tzdata
  dpkg-dev desktop-file-utils appstream
  qt6-base-dev libgl-dev
  xvfb xauth xdotool xclip x11-utils libx11-dev icewm
  clang-14 libclang-rt-14-dev
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

# The French regional settings, for the tests of the decimal comma.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed" ||
    { $sudo apt-get update && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends locales; }
  $sudo sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
