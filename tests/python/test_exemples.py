"""The example of an hourly year (examples/annee_horaire.py), run as a user runs it: its CSV
read back and its plot written, and their figures against what the year must show at the site."""

import os
import sys
import tempfile
import unittest

import numpy as np
import pandas as pd

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples"))

import annee_horaire  # noqa: E402
import cadran_mur  # noqa: E402
import suiveur_annee  # noqa: E402


class AnneeHoraire(unittest.TestCase):
    def test_the_csv_and_the_plot_of_a_year_at_lyon(self):
        with tempfile.TemporaryDirectory() as dossier:
            annee_horaire.main(["--lat", "45.76", "--lon", "4.84", "--height", "170", "--tz",
                                "Europe/Paris", "--year", "2027", "--out", dossier])
            with open(os.path.join(dossier, "annee_horaire.png"), "rb") as f:
                self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")
            table = pd.read_csv(os.path.join(dossier, "annee_horaire.csv"), index_col="time")
        index = pd.to_datetime(table.index, utc=True).tz_convert("Europe/Paris")
        self.assertEqual(len(table), 8760)  # every hour of 2027, the changes of time included
        self.assertEqual(pd.Series(index).diff().dropna().dt.total_seconds().unique().tolist(),
                         [3600.0])
        for colonne in ("apparent_zenith", "zenith", "apparent_elevation", "elevation", "azimuth",
                        "equation_of_time", "sunrise", "transit", "sunset", "day_length"):
            self.assertIn(colonne, table.columns)
        # The noon Sun at the solstice reaches 90 - 45.76 + 23.44 degrees and a little
        # refraction; the hours, up to half an hour from noon, come a little below it.
        self.assertLess(table["apparent_elevation"].max(), 90 - 45.76 + 23.44 + 0.05)
        self.assertGreater(table["apparent_elevation"].max(), 90 - 45.76 + 23.44 - 0.6)
        # Each hour carries its own legal date's events.
        levers = pd.to_datetime(table["sunrise"], utc=True).dt.tz_convert("Europe/Paris")
        self.assertTrue((levers.dt.date.to_numpy() == index.date).all())
        # Day length between 8.6 h and 15.8 h at 45.8 degrees North.
        self.assertAlmostEqual(table["day_length"].min() / 60, 8.7, delta=0.15)
        self.assertAlmostEqual(table["day_length"].max() / 60, 15.7, delta=0.15)



class SuiveurAnnee(unittest.TestCase):
    def test_a_tracker_row_through_a_year_at_almeria(self):
        with tempfile.TemporaryDirectory() as dossier:
            suiveur_annee.main(["--lat", "37.1", "--lon", "-2.4", "--tz", "Europe/Madrid",
                                "--year", "2027", "--max-angle", "55", "--gcr", "0.4",
                                "--out", dossier])
            with open(os.path.join(dossier, "suiveur_annee.png"), "rb") as f:
                self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")
            table = pd.read_csv(os.path.join(dossier, "suiveur_annee.csv"), index_col="time")
        self.assertEqual(len(table), 8760)
        debout = table["apparent_elevation"] > 0
        rotation = table["tracker_theta"]
        self.assertTrue(rotation[~debout].isna().all())
        self.assertTrue(rotation[debout].notna().all())
        self.assertLessEqual(rotation.abs().max(), 55)
        # East in the morning, west in the afternoon (an axis pointing south): the rotation has
        # the hour angle's sign, backtracking only bringing it back toward flat.
        matin_soir = debout & (table["hour_angle"].abs() > 1)
        self.assertTrue((np.sign(rotation[matin_soir]) ==
                         np.sign(table["hour_angle"][matin_soir])).all())
        # Following the Sun, the modules catch it more squarely than the fixed plane in June.
        juin = debout & table.index.str.startswith("2027-06")
        self.assertLess(table["aoi"][juin].mean(), table["fixed_aoi"][juin].mean())
        self.assertTrue(((table["extra_radiation"] > 1315) & (table["extra_radiation"] < 1410))
                        .all())


if __name__ == "__main__":
    unittest.main()


class CadranMur(unittest.TestCase):
    def test_a_dial_for_a_south_south_west_wall_at_toulouse(self):
        import xml.etree.ElementTree as ET
        with tempfile.TemporaryDirectory() as dossier:
            lignes, chemin = cadran_mur.main(["--width", "600", "--height", "500", "--out",
                                              dossier])
            racine = ET.parse(chemin).getroot()
        # True scale: the page is the dial and its margins, in points of 1/72 inch.
        self.assertAlmostEqual(float(racine.attrib["width"].rstrip("pt")), 630 / 25.4 * 72,
                               places=3)
        self.assertAlmostEqual(float(racine.attrib["height"].rstrip("pt")), 550 / 25.4 * 72,
                               places=3)
        self.assertEqual(set(lignes["line"]), {"hour", "half_hour", "date", "analemma"})
        self.assertEqual(set(lignes.loc[lignes["line"] == "date", "label"]),
                         {"solstice de juin", "équinoxe de mars", "équinoxe de septembre",
                          "solstice de décembre"})
        # A wall declining 22.5 degrees west: the afternoon's hours, to 19 h in summer.
        heures = set(lignes.loc[lignes["line"] == "hour", "label"])
        self.assertIn("19 h", heures)
        self.assertNotIn("7 h", heures)

