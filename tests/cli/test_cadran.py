"""orvanel-cli cadran: the SVG is well-formed XML at one unit of its view box a millimetre, the
CSV and the JSON hold the same points, the noon line of a wall facing due south is the vertical
through the style's foot, and settings that make no dial are refused with their reason."""

import csv
import io
import json
import math
import os
import subprocess
import unittest
import xml.etree.ElementTree as ET

CLI = os.environ["ORVANEL_CLI"]
TOULOUSE = ["--lon", "1.444", "--lat", "43.6045", "--year", "2026"]


def lance(*arguments):
    return subprocess.run([CLI, "cadran", *TOULOUSE, *arguments], capture_output=True, text=True)


class Cadran(unittest.TestCase):
    def test_svg_at_true_scale(self):
        for taille in ("400,300", "1200,2500"):
            with self.subTest(taille=taille):
                r = lance("--wall-azimuth", "202.5", "--nodus-distance", "120", "--size", taille,
                          "--lines", "heures,demi-heures,dates,analemmes", "--format", "svg")
                self.assertEqual(r.returncode, 0, r.stderr)
                racine = ET.fromstring(r.stdout)
                self.assertEqual(racine.tag, "{http://www.w3.org/2000/svg}svg")
                w, h = (float(v) for v in taille.split(","))
                self.assertEqual(racine.attrib["width"], f"{w:g}mm")
                self.assertEqual(racine.attrib["height"], f"{h:g}mm")
                self.assertEqual([float(v) for v in racine.attrib["viewBox"].split()],
                                 [0, 0, w, h])
                lignes = racine.findall("{http://www.w3.org/2000/svg}polyline")
                self.assertGreater(len(lignes), 10)
                for l in lignes:
                    for paire in l.attrib["points"].split():
                        x, y = (float(v) for v in paire.split(","))
                        self.assertTrue(-1e-9 <= x <= w + 1e-9 and -1e-9 <= y <= h + 1e-9)
                # The settings travel with the picture.
                entete = json.loads(racine.find("{http://www.w3.org/2000/svg}desc").text)
                self.assertEqual(entete["gnomon"], {"type": "nodus", "longueur_mm": 120.0})

    def test_csv_and_json_hold_the_same_points(self):
        arguments = ("--wall-azimuth", "160", "--inclination", "70", "--style-length", "90",
                     "--lines", "heures,dates,babyloniennes,italiques")
        j = json.loads(lance(*arguments, "--format", "json").stdout)
        rangs = list(csv.DictReader(io.StringIO(lance(*arguments, "--format", "csv").stdout)))
        points = [(l["type"], l["etiquette"], x, y) for l in j["lignes"] for x, y in l["points"]]
        self.assertEqual(len(points), len(rangs))
        for (sorte, etiquette, x, y), rang in zip(points, rangs):
            self.assertEqual((sorte, etiquette), (rang["type"], rang["etiquette"]))
            self.assertEqual((x, y), (float(rang["x_mm"]), float(rang["y_mm"])))
        self.assertEqual({l["type"] for l in j["lignes"]},
                         {"heure", "date", "babylonienne", "italique"})
        self.assertEqual(j["entete"]["mur"]["declinaison_gnomonique_deg"], -20)

    def test_noon_line_of_a_south_wall(self):
        j = json.loads(lance("--style-length", "100", "--lines", "heures", "--format",
                             "json").stdout)
        self.assertAlmostEqual(j["entete"]["style"]["hauteur_deg"], 90 - 43.6045, places=9)
        midi = [l for l in j["lignes"] if l["etiquette"] == "12 h"]
        self.assertEqual(len(midi), 1)
        for x, y in midi[0]["points"]:
            self.assertAlmostEqual(x, 0, places=9)
            self.assertLess(y, 0)

    def test_refusals_name_their_reason(self):
        cas = [
            (("--wall-azimuth", "90", "--style-length", "100"), "axe du monde"),
            (("--inclination", "180", "--nodus-distance", "100"), "jamais"),
            (("--inclination", "200", "--nodus-distance", "100"), "de 0 à 180 degrés"),
            (("--nodus-distance", "0"), "--nodus-distance"),
            (("--style-length", "100", "--lines", "heures,minutes"), "minutes"),
            (("--style-length", "100", "--size", "5,300"), "--size"),
            (("--style-length", "100", "--nodus-distance", "50"), "nodus"),
            ((), "--style-length"),
        ]
        for arguments, attendu in cas:
            with self.subTest(arguments=arguments):
                r = lance(*arguments)
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertEqual(r.stdout, "")
                self.assertIn(attendu, r.stderr)


if __name__ == "__main__":
    unittest.main()
