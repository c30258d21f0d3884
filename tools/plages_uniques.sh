#!/usr/bin/env bash
# Each range of the inputs is written as a number in exactly one definition: every check,
# message, help text and manual page line derives from it. Greps the program's sources (not the
# tests, which repeat the numbers on purpose, nor the generated VSOP87 table) for each number as
# a range would write it, and fails where it stands more or less often than its definitions.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t fichiers < <(git ls-files --cached --others --exclude-standard -- engine contrat heurelegale app orvanel python ui tableau conversions \
  data/orvanel-cli.1.in | grep -E '\.(h|cpp|py|in)$' | grep -v 'VSOPEAR_data\.h$')

echec=0
# verifie DESCRIPTION ATTENDU MOTIF [MOTIF_A_IGNORER]
verifie() {
  local quoi=$1 attendu=$2 motif=$3 ignore=${4:-'^$'}
  local lignes
  lignes=$(grep -nE -- "$motif" "${fichiers[@]}" | grep -vE -- "$ignore" || true)
  local n=0
  [ -n "$lignes" ] && n=$(printf '%s\n' "$lignes" | wc -l)
  if [ "$n" -ne "$attendu" ]; then
    echo "$quoi : $n définitions au lieu de $attendu"
    printf '%s\n' "$lignes"
    echec=1
  fi
}

verifie "première année" 1 '\b1980\b' 'IAU 1980|1980 series|Nutation1980|\{1980, 1, 19\}|Janvier 1980'
verifie "dernière année" 1 '\b2250\b'
verifie "année après la dernière" 0 '\b2251\b'
verifie "hauteur du lieu minimale" 1 '\(-1000(\.0)?\)|-1000\b'
verifie "hauteurs maximales (lieu, œil)" 2 '\b10000(\.0)?\b' '/ 10000'
verifie "TT - UTC" 1 '\b20000(\.0)?\b'
verifie "pression minimale" 1 '\b200\.0\b'
verifie "pression maximale" 1 '\b900\.0\b'
verifie "anciennes bornes de la pression" 0 '\b1100\b|\b150000\b|1125[.,]09'
verifie "température" 2 '(^|[^0-9.])(-90|60)(\.0)?\b.*(°C|[Tt]empérature|TEMPERATURE_M)|TEMPERATURE_M.*(^|[^0-9.])(-90|60)(\.0)?\b'
verifie "pas d'une table" 1 '\b9999\b' '"9999;_"'
verifie "lignes d'une table" 1 "100'000'000|\\b100000000\\b"
verifie "fin de la table des secondes intercalaires" 0 'fin de 20[0-9][0-9]'
# The main window's bounds come from the contract: no temperature or pressure compared with a
# number, no bound written back as a literal text.
verifie "température de la fenêtre" 1 '\{-20, 40\}'
verifie "bornes écrites dans la fenêtre" 0 '(Temperature|Pression) *[<>]=? *-?[0-9]|(Temperature|Pression) = -?[1-9][0-9]*;|"[+-]?(40|20|900|200)"'
# The constants of the time model and of the units, each once.
verifie "TT - TAI" 1 '\b32184(\.0)?\b'
verifie "TT - TAI hors de sa définition" 0 '32\.184' '//|"|\*|TAI - UTC \+ 32\.184'
verifie "date-time value of the Unix epoch" 1 '\b25569(\.0)?\b'
verifie "millisecondes d'un jour" 1 "86'?400'?000"
verifie "facteur de la pression (modèle de réfraction)" 1 '0\.7500617\b'
verifie "millimètre de mercure (ISO 80000-4)" 1 '1333\.22387415|133\.322387415\b' '//|\*'
verifie "décalage de UT1" 1 'dut1 / (PosSoleil::)?SecondesParJour|dut1 / 86400' '//'
((echec == 0)) && echo "Chaque plage est définie une fois."
exit "$echec"
