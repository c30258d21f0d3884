"""orvanel-cli's CSV and JSON of the same run hold the same columns and the same values: every
CSV column of every row is found in the JSON, under the same key or, for the day's and the
year's settings and states, where the JSON puts them, with the same number to the bit (an
empty CSV field a JSON null or an absent event) or the same text. Each command runs with every
option that adds columns."""

import csv
import io
import json
import math
import os
import subprocess
import tempfile
import unittest

CLI = os.environ["ORVANEL_CLI"]
LIEU = ["--lon", "2.35", "--lat", "48.86", "--height", "35"]
SURFACES = ["--refraction", "--temp", "-5", "--pressure", "700", "--plane", "30,200",
            "--tracker", "0,180,60,0.4", "--cross-slope", "5", "--energy", "--tz", "Asia/Kathmandu",
            "--south-ref", "--dut1", "0.2"]


def lance(arguments, entree=None):
    sortie = {}
    for format_ in ("csv", "json"):
        r = subprocess.run([CLI, *arguments, "--format", format_], input=entree,
                           capture_output=True, text=True, check=True)
        sortie[format_] = r.stdout
    return list(csv.DictReader(io.StringIO(sortie["csv"]))), json.loads(sortie["json"])


class Colonnes(unittest.TestCase):
    def egal(self, cle, texte, valeur):
        """A CSV field against its JSON value: numbers read back to the same double."""
        if texte == "":
            self.assertTrue(valeur is None or valeur == [], f"{cle}: empty in CSV, {valeur!r}")
        elif isinstance(valeur, bool):
            self.fail(f"{cle}: a JSON boolean for the CSV text {texte!r}")
        elif isinstance(valeur, (int, float)):
            self.assertEqual(float(texte), float(valeur), cle)
        elif isinstance(valeur, list):
            self.assertEqual(texte.split(";"), valeur, cle)
        else:
            attendu = str(valeur)
            if cle == "abreviation" and attendu[:1] in "+-":
                attendu = "UTC" + attendu  # CSV keeps an offset-only abbreviation text
            self.assertEqual(texte, attendu, cle)

    def memes_lignes(self, lignes, objets):
        self.assertEqual(len(lignes), len(objets))
        self.assertGreater(len(lignes), 0)
        for ligne, objet in zip(lignes, objets):
            self.assertEqual(list(ligne), list(objet), "the same keys in the same order")
            for cle, texte in ligne.items():
                self.egal(cle, texte, objet[cle])

    def test_position_table_and_input(self):
        for options in ([], SURFACES):
            with self.subTest(options=options):
                lignes, o = lance(["position", "--date", "2026-06-21T03:00:00Z", *LIEU, *options])
                self.memes_lignes(lignes, [o["position"]])
                lignes, o = lance(["table", "--start", "2026-06-20T22:00:00Z", "--step", "17",
                                   "--unit", "min", "--count", "120", "--jobs", "2", *LIEU,
                                   *options])
                self.memes_lignes(lignes, o["lignes"])
                entree = "date,lon,lat,height\n" + "".join(
                    f"2026-12-{1 + i % 28:02d}T{i % 24:02d}:30:00Z,{-170 + 7 * i},{-60 + i},{i}\n"
                    for i in range(40))
                lignes, o = lance(["position", "--input", "-", *options], entree)
                self.memes_lignes(lignes, o["lignes"])

    def contexte(self, ligne, entete):
        """The settings every row of a day or a year repeats, from the JSON's header."""
        site = entete["site"]
        self.egal("site_longitude_deg", ligne["site_longitude_deg"], site["longitude_deg"])
        self.egal("site_latitude_deg", ligne["site_latitude_deg"], site["latitude_deg"])
        self.egal("site_hauteur_m", ligne["site_hauteur_m"], site["hauteur_m"])
        self.egal("ut1_moins_utc_s", ligne["ut1_moins_utc_s"], entete["ut1_moins_utc_s"])

    def test_day(self):
        with tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False) as f:
            f.write("azimuth,altitude\n150,0\n165,25\n195,25\n210,0\n")
        self.addCleanup(os.remove, f.name)
        for options in (["--threshold", "6", "--threshold", "-4", "--eye-height", "30"],
                        ["--threshold", "6", "--horizon", f.name, "--tz", "Asia/Kathmandu"]):
            with self.subTest(options=options):
                lignes, o = lance(["jour", "--date", "2026-01-01", *LIEU, *options])
                evenements = iter(o["evenements"])
                etats = dict(o["seuils"])
                etats.update({h["hauteur_deg"]: h["etat"] for h in o["hauteurs"]})
                vus = 0
                for ligne in lignes:
                    self.contexte(ligne, o["entete"])
                    self.egal("date", ligne["date"], o["date"])
                    if ligne["type"] == "etat":
                        seuil = ligne["evenement"]
                        cle = seuil if seuil in etats else float(ligne["seuil_deg"])
                        self.egal("etat", ligne["etat"], etats[cle])
                    elif ligne["type"] == "duree":
                        self.egal("duree_jour_min", ligne["duree_jour_min"], o["duree_jour_min"])
                        self.egal("variation_duree_min", ligne["variation_duree_min"],
                                  o["variation_duree_min"])
                    else:
                        e = next(evenements)
                        vus += 1
                        self.assertEqual(ligne["type"], e["type"])
                        for cle in ("evenement", "date_utc", "date_legale", "abreviation",
                                    "azimut_nord_deg", "hauteur_deg", "seuil_deg"):
                            if cle in ligne:
                                self.egal(cle, ligne[cle], e.get(cle))
                        if ligne["etat"]:
                            self.assertEqual(ligne["etat"], "franchi")
                self.assertEqual(vus, len(o["evenements"]))

    def test_year(self):
        for options in (["--threshold", "6"], ["--threshold", "-4", "--tz", "Europe/Paris",
                                                "--eye-height", "100"]):
            with self.subTest(options=options):
                lignes, o = lance(["annee", "--year", "2026", *LIEU, *options])
                self.assertEqual(len(lignes), len(o["jours"]))
                for ligne, jour in zip(lignes, o["jours"]):
                    self.contexte(ligne, o["entete"])
                    hauteurs = {h["hauteur_deg"]: h for h in jour["hauteurs"]}
                    for cle, texte in ligne.items():
                        if cle in jour:
                            self.egal(cle, texte, jour[cle])
                        elif cle.startswith("etat_"):
                            seuil = cle[len("etat_"):]
                            if seuil in jour["seuils"]:
                                self.egal(cle, texte, jour["seuils"][seuil])
                            else:
                                a = float(seuil[len("hauteur_"):])
                                self.egal(cle, texte, hauteurs[a]["etat"])
                        elif cle.startswith(("montee_hauteur_", "descente_hauteur_")):
                            sens, reste = cle.split("_hauteur_")
                            a, suffixe = reste.rsplit("_", 1)
                            self.egal(cle, texte, hauteurs[float(a)][f"{sens}_{suffixe}"])
                        else:
                            self.assertTrue(cle.startswith("site_") or cle == "ut1_moins_utc_s",
                                            f"{cle}: a CSV column the JSON lacks")


if __name__ == "__main__":
    unittest.main()
