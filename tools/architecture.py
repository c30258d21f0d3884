#!/usr/bin/env python3
"""The house's layers, checked on the tracked sources.

1. The faces below the windows and the command line (the C library, the Python module, the
   contract and legal time) include no header of app/ or ui/, and the contract none of the C
   library's: each layer stands on the ones below it only.
2. No window's file includes, directly or through other files of ui/, a file that includes it
   back: the graph of ui/'s modules (a module is a header and its source, named by their stem;
   A -> B when A's header or source includes B's header) has no cycle.
3. No source is over 500 lines, and none of the engine's over 300, the generated VSOP87 table
   aside.

Prints each fault and exits 1 if there is any."""
import os
import re
import subprocess
import sys

racine = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.chdir(racine)
fichiers = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                          capture_output=True, text=True, check=True).stdout.split()
fichiers = [f for f in fichiers if os.path.isfile(f)]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
fautes = []


def inclus(chemin):
    with open(chemin, encoding="utf-8") as f:
        return [os.path.basename(n) for n in INCLUDE.findall(f.read())]


def entetes(dossier):
    return {os.path.basename(f) for f in fichiers
            if f.startswith(dossier + "/") and f.endswith(".h")}


# 1. Layers.
interdits = {
    "orvanel": {"app", "ui"},
    "python": {"app", "ui"},
    "heurelegale": {"app", "ui", "orvanel", "python"},
    "contrat": {"app", "ui", "orvanel", "python", "heurelegale"},
    "engine": {"app", "ui", "orvanel", "python", "heurelegale", "contrat", "tableau",
               "conversions"},
}
for dossier, hauts in interdits.items():
    noms = {h: d for d in hauts for h in entetes(d)}
    propres = entetes(dossier)
    for f in fichiers:
        if not f.startswith(dossier + "/") or not f.endswith((".h", ".cpp", ".c")):
            continue
        for n in inclus(f):
            if n in noms and n not in propres:
                fautes.append(f"{f} includes {n} of {noms[n]}/")

# 2. No circle among ui/'s modules.
modules = {}
for f in fichiers:
    if f.startswith("ui/") and f.endswith((".h", ".cpp")):
        modules.setdefault(os.path.splitext(os.path.basename(f))[0], []).append(f)
graphe = {m: sorted({os.path.splitext(n)[0] for f in fs for n in inclus(f)
                     if os.path.splitext(n)[0] in modules and os.path.splitext(n)[0] != m})
          for m, fs in modules.items()}
etat = {}


def parcours(m, chemin):
    etat[m] = 1
    for s in graphe[m]:
        if etat.get(s) == 1:
            cercle = chemin[chemin.index(s):] + [s]
            fautes.append("ui/ circle: " + " -> ".join(cercle))
        elif s not in etat:
            parcours(s, chemin + [s])
    etat[m] = 2


for m in sorted(graphe):
    if m not in etat:
        parcours(m, [m])

# 3. Files a reader can hold.
SOURCES = (".h", ".c", ".cpp", ".py", ".sh", ".txt", ".cmake", ".in")
for f in fichiers:
    if not f.endswith(SOURCES) or f == "engine/VSOPEAR_data.h" or f.startswith("data/"):
        continue
    with open(f, encoding="utf-8", errors="replace") as t:
        n = sum(1 for _ in t)
    limite = 300 if f.startswith("engine/") else 500
    if n > limite:
        fautes.append(f"{f}: {n} lines (at most {limite})")

for faute in fautes:
    print(faute)
if fautes:
    sys.exit(1)
print(f"Layers, ui/'s {len(modules)} modules without a circle, and every source within its length.")
