#!/usr/bin/env bash
# Screenshots of the windows for the README, from the real program under Xvfb.
# Usage: tools/screenshots.sh [build/app/orvanel]
set -euo pipefail
cd "$(dirname "$0")/.."
programme=${1:-build/app/orvanel}
affichage=:$((90 + RANDOM % 100))
Xvfb "$affichage" -screen 0 1280x800x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $programme_pid $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$affichage
sleep 1
"$programme" >/dev/null 2>&1 &
programme_pid=$!

fenetre() { for _ in $(seq 50); do w=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$w" ] && { echo "$w"; return; }; sleep 0.1; done; return 1; }

principale=$(fenetre "Ephémérides Solaire")
sleep 1.5
import -window "$principale" docs/main-window.png

xdotool windowfocus --sync "$principale"; xdotool key alt+g
generateur=$(fenetre "générateur d'éphémérides Solaire")
xdotool windowfocus --sync "$generateur"; xdotool key alt+g
sleep 1.5
import -window "$generateur" docs/generator.png
xdotool windowunmap --sync "$generateur"

xdotool windowfocus --sync "$principale"; xdotool key alt+e
dialogue=$(fenetre "Temps des éphémérides")
sleep 0.5
import -window "$dialogue" docs/et-ut-dialog.png
xdotool windowfocus --sync "$dialogue"; xdotool key Escape
sleep 0.3

xdotool windowfocus --sync "$principale"; xdotool key alt+a
apropos=$(fenetre "A Propos")
sleep 0.5
import -window "$apropos" docs/about-box.png
xdotool windowfocus --sync "$apropos"; xdotool key Escape
sleep 0.3

xdotool windowfocus --sync "$principale"; xdotool key alt+j
journee=$(fenetre "Journée solaire")
sleep 1
import -window "$journee" docs/solar-day.png

# The year of the site: its bands of night and day, then the equation of time and the analemma.
xdotool windowfocus --sync "$journee"; xdotool key alt+a
annee=$(fenetre "Année solaire [0-9]*")
sleep 1
import -window "$annee" docs/solar-year.png
xdotool windowfocus --sync "$annee"; xdotool key alt+q
sleep 0.5
import -window "$annee" docs/equation-analemma.png
xdotool windowunmap --sync "$annee"

# The sundial of a wall of the site, from the solar day.
xdotool windowfocus --sync "$journee"; xdotool key alt+s
cadran=$(fenetre "Cadran solaire")
sleep 1
import -window "$cadran" docs/sundial.png
echo "docs/main-window.png docs/generator.png docs/et-ut-dialog.png docs/about-box.png docs/solar-day.png" \
  "docs/solar-year.png docs/equation-analemma.png docs/sundial.png"
