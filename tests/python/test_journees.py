"""The day's events from Python against orvanel-cli's `jour` and `annee` (run as a user runs
them), against the module's own day_events, and across the changes of legal time. Run with
PYTHONPATH at the module and ORVANEL_CLI at orvanel-cli."""

import datetime as dt
import doctest
import json
import math
import os
import subprocess
import tempfile
import unittest
import zoneinfo

import numpy as np
import pandas as pd

import orvanel

CLI = os.environ["ORVANEL_CLI"]

# orvanel-cli's words for the standard events, and the module's columns for them.
COLONNES_CLI = {("montee", -6.0): "civil_dawn", ("descente", -6.0): "civil_dusk",
                ("montee", -12.0): "nautical_dawn", ("descente", -12.0): "nautical_dusk",
                ("montee", -18.0): "astronomical_dawn", ("descente", -18.0): "astronomical_dusk"}


def cli(*arguments):
    sortie = subprocess.run([CLI, *arguments, "--format", "json"], check=True,
                            capture_output=True, text=True, env={"LANG": "C.UTF-8"}).stdout
    return json.loads(sortie)


def ms(texte):
    """Milliseconds since 1970 of an ISO 8601 text with its offset."""
    return round(dt.datetime.fromisoformat(texte.replace("Z", "+00:00")).timestamp() * 1000)


def ms_de(valeur):
    return None if pd.isna(valeur) else round(pd.Timestamp(valeur).timestamp() * 1000)


def attendu_du_jour(json_jour):
    """The columns a `jour` output gives: first rise, last set of each threshold, the transit."""
    colonnes = {}
    for e in json_jour["evenements"]:
        t = ms(e.get("date_legale", e["date_utc"]))
        if e["type"] == "passage":
            colonnes.setdefault("transit", t)
        elif e["type"] in ("montee", "descente"):
            seuil = e["seuil_deg"]
            if e["evenement"] in ("Lever", "Coucher"):  # of this sky
                nom = "sunrise" if e["type"] == "montee" else "sunset"
            else:
                nom = COLONNES_CLI.get((e["type"], seuil))
                if nom is None:
                    nom = ("rise_" if e["type"] == "montee" else "set_") + f"{seuil:+g}"
            if e["type"] == "montee":
                colonnes.setdefault(nom, t)
            else:
                colonnes[nom] = t
    return colonnes


class SunRiseSetTransit(unittest.TestCase):
    def test_random_site_dates_equal_day_events_to_the_millisecond(self):
        rng = np.random.default_rng(29)
        n = 1000
        lat = rng.uniform(-89.9, 89.9, n)
        lon = rng.uniform(-180, 180, n)
        alt = rng.uniform(0, 3000, n)
        jours = (np.datetime64("1985-01-01") + rng.integers(0, 90000, n)).astype("datetime64[D]")
        table = orvanel.sun_rise_set_transit(jours, lat, lon, alt, jobs=2)
        for i in range(n):
            jour = orvanel.day_events(jours[i], lat[i], lon[i], alt[i])
            attendu = {}
            for e in jour["events"]:
                if e["type"] == "transit":
                    attendu.setdefault("transit", e["time"])
                elif e["type"] == "rise":
                    attendu.setdefault(e["event"], e["time"])
                elif e["type"] == "set":
                    attendu[e["event"]] = e["time"]
            for nom in orvanel._COLONNES_JOUR:
                with self.subTest(i=i, colonne=nom):
                    obtenu = table[nom][i]
                    if nom in attendu:
                        self.assertEqual(obtenu.astype("int64"),
                                         round(attendu[nom].timestamp() * 1000))
                    else:
                        self.assertTrue(np.isnat(obtenu))
            self.assertEqual(table["state_horizon"][i], jour["states"]["horizon"])
            self.assertEqual(table["day_length"][i], jour["day_length"])

    def test_a_legal_index_across_the_summer_time_changes_gives_the_residents_days(self):
        # A year's hours in Paris and in Apia (whose zone is half a day from the site's
        # longitude): each row the events of its legal date, told in that zone; the whole-year
        # path (many dates) and the one-date path (a few) agree with `jour --tz`.
        for zone, lat, lon, debut, heures in [
                ("Europe/Paris", 48.85, 2.35, "2026-03-27", 24 * 5),
                ("Europe/Paris", 48.85, 2.35, "2026-10-23", 24 * 40),
                ("Pacific/Apia", -13.83, -171.76, "2026-03-30", 24 * 3),
                ("America/Santiago", -33.45, -70.67, "2026-04-03", 24 * 4)]:
            index = pd.date_range(debut, periods=heures, freq="h", tz=zone)
            table = orvanel.sun_rise_set_transit(index, lat, lon)
            self.assertTrue(table.index.equals(index))
            self.assertEqual(str(table["sunrise"].dt.tz), zone)
            for date in sorted(set(index.date))[:6]:
                with self.subTest(zone=zone, date=str(date)):
                    rangee = table[index.date == date].iloc[-1]
                    attendu = attendu_du_jour(
                        cli("jour", "--lat", str(lat), "--lon", str(lon), "--date", str(date),
                            "--tz", zone))
                    for nom, t in attendu.items():
                        self.assertEqual(ms_de(rangee[nom]), t, nom)
                    self.assertEqual(rangee["transit"].date(), date)

    def test_thresholds_eye_height_and_a_skyline_equal_the_command_lines(self):
        with tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False) as f:
            f.write("azimuth,altitude\n0,2\n90,8.5\n150,1\n200,12\n270,3\n")
            fichier = f.name
        horizon = pd.read_csv(fichier)
        cas = [
            (dict(thresholds=[6, -4]), ["--threshold", "6", "--threshold", "-4"]),
            (dict(eye_height=120.0, thresholds=[0.5]),
             ["--eye-height", "120", "--threshold", "0.5"]),
            (dict(horizon=horizon), ["--horizon", fichier]),
            (dict(horizon=horizon.to_numpy()), ["--horizon", fichier]),
        ]
        for ciel, options in cas:
            for date, lat, lon, zone in [("2026-06-21", 45.9, 6.87, "Europe/Paris"),
                                         ("2026-12-21", 45.9, 6.87, None),
                                         ("2026-03-01", 69.65, 18.95, "Europe/Oslo")]:
                with self.subTest(options=options, date=date):
                    jour = cli("jour", "--lat", str(lat), "--lon", str(lon), "--date", date,
                               *options, *(["--tz", zone] if zone else []))
                    attendu = attendu_du_jour(jour)
                    index = pd.DatetimeIndex([date], tz=zone)
                    rangee = orvanel.sun_rise_set_transit(index, lat, lon, **ciel).iloc[0]
                    for nom, t in attendu.items():
                        self.assertEqual(ms_de(rangee[nom]), t, nom)
                    # day_events lists every crossing behind the skyline, as `jour` does.
                    liste = orvanel.day_events(date, lat, lon, tz=zone, **ciel)
                    self.assertEqual([round(e["time"].timestamp() * 1000)
                                      for e in liste["events"]],
                                     [ms(e.get("date_legale", e["date_utc"]))
                                      for e in jour["evenements"]])
                    self.assertEqual([e["elevation"] for e in liste["events"]],
                                     [e["hauteur_deg"] for e in jour["evenements"]])
        os.unlink(fichier)

    def test_polar_states_and_broadcast_sites(self):
        jours = np.array(["2026-06-21", "2026-12-21"], "datetime64[D]")
        sites = np.array([[78.22], [-78.0], [0.0]])  # Longyearbyen, an Antarctic site, equator
        table = orvanel.sun_rise_set_transit(jours, sites, 15.6)
        self.assertEqual(table["state_horizon"].tolist(),
                         [["always_above", "always_below"], ["always_below", "always_above"],
                          ["crossed", "crossed"]])
        self.assertTrue(np.isnat(table["sunrise"][:2]).all())
        self.assertFalse(np.isnat(table["sunrise"][2]).any())
        self.assertEqual(table["day_length"][0].tolist(), [24 * 60, 0])
        # NaT stays NaT, a bad sky or zone is refused with its range.
        vide = orvanel.sun_rise_set_transit(pd.DatetimeIndex([pd.NaT, "2026-01-01"]), 0, 0)
        self.assertTrue(pd.isna(vide["sunrise"].iloc[0]))
        self.assertIsNone(vide["state_horizon"].iloc[0])
        for arguments, message in [
                (dict(eye_height=-1), "eye_height out of range"),
                (dict(thresholds=[95]), "threshold out of range"),
                (dict(thresholds=[6, 6]), "threshold given twice"),
                (dict(horizon=[[0, 1]]), "two points"),
                (dict(horizon=[[0, 1], [90, 95]]), "horizon altitude out of range"),
                (dict(horizon=[[0, 1], [90, 2]], eye_height=10), "exclude"),
                (dict(latitude=91), "latitude out of range"),
                (dict(tt_minus_utc=[60, 1e6]), "tt_minus_utc out of range")]:
            with self.subTest(arguments=arguments):
                tous = dict(latitude=0, longitude=0)
                tous.update(arguments)
                with self.assertRaisesRegex(ValueError, message):
                    orvanel.sun_rise_set_transit(np.array(["2026-01-01", "2026-01-02"],
                                                          "datetime64[D]"), **tous)
        # Aware datetimes in a list are dated by their own wall clock, as an aware index is:
        # 00:30 in Auckland on 1 July is 30 June in UTC.
        auckland = zoneinfo.ZoneInfo("Pacific/Auckland")
        liste = orvanel.sun_rise_set_transit([dt.datetime(2026, 7, 1, 0, 30, tzinfo=auckland)],
                                             -36.85, 174.76)
        index = orvanel.sun_rise_set_transit(pd.DatetimeIndex(["2026-07-01"], tz=auckland),
                                             -36.85, 174.76)
        self.assertEqual(liste["sunrise"][0], index["sunrise"].iloc[0].tz_convert(None)
                         .to_datetime64())
        self.assertEqual(index["transit"].iloc[0].date(), dt.date(2026, 7, 1))
        with self.assertRaisesRegex(ValueError, "unknown time zone: Mars/Olympus"):
            orvanel.year_events(2026, 0, 0, tz="Mars/Olympus")
        with self.assertRaisesRegex(ValueError, "date outside .*2600-06-21"):
            orvanel.sun_rise_set_transit(np.array(["2600-06-21"], "datetime64[D]"), 0, 0)


class YearEvents(unittest.TestCase):
    def test_the_year_is_the_command_lines(self):
        for lat, lon, zone, options, ciel in [
                (48.85, 2.35, "Europe/Paris", [], {}),
                (-13.83, -171.76, "Pacific/Apia", ["--threshold", "6"], dict(thresholds=[6])),
                (69.65, 18.95, None, ["--eye-height", "30"], dict(eye_height=30))]:
            with self.subTest(zone=zone):
                an = orvanel.year_events(2024, lat, lon, tz=zone, **ciel)
                attendu = cli("annee", "--lat", str(lat), "--lon", str(lon), "--year", "2024",
                              *options, *(["--tz", zone] if zone else []))
                self.assertEqual(len(an), 366)
                suffixe = "_legale" if zone else "_utc"
                for rangee, jour in zip(an.itertuples(), attendu["jours"]):
                    self.assertEqual(str(rangee.Index.date()), jour["date"])
                    for cle, nom in [("lever", "sunrise"), ("coucher", "sunset"),
                                     ("passage", "transit"), ("aube_civile", "civil_dawn")]:
                        textes = jour[cle + suffixe]
                        t = getattr(rangee, nom)
                        if not textes:
                            self.assertTrue(pd.isna(t))
                            continue
                        texte = textes[0] if nom != "sunset" else textes[-1]
                        self.assertEqual(ms_de(t), ms(texte), (jour["date"], nom))
                    self.assertEqual(rangee.day_length, jour["duree_jour_min"])
                    self.assertEqual(rangee.state_horizon,
                                     {"franchi": "crossed", "toujours_au_dessus": "always_above",
                                      "toujours_au_dessous": "always_below"}[
                                          jour["seuils"]["lever_coucher"]])


class DynamicalTimeBroadcast(unittest.TestCase):
    def test_an_array_of_tt_minus_utc_is_each_elements_own(self):
        heures = pd.date_range("2026-06-21", periods=6, freq="4h", tz="UTC")
        valeurs = np.array([0.0, 32.184, 69.184, 100.0, np.nan, 5000.0])
        table = orvanel.solar_position(heures, 48.85, 2.35, tt_minus_utc=valeurs)
        for i, v in enumerate(valeurs):
            seul = orvanel.solar_position(heures[i:i + 1], 48.85, 2.35,
                                          tt_minus_utc=None if np.isnan(v) else v)
            self.assertEqual(table["azimuth"].iloc[i], seul["azimuth"].iloc[0])
            self.assertEqual(table["declination"].iloc[i], seul["declination"].iloc[0])
        # A column of values against a row of times: a grid, one value per row.
        grille = orvanel.solar_position(heures.values, 48.85, 2.35,
                                        tt_minus_utc=np.array([[0.0], [5000.0]]))
        self.assertEqual(grille["elevation"].shape, (2, 6))
        self.assertNotEqual(grille["declination"][0, 0], grille["declination"][1, 0])


class Documentation(unittest.TestCase):
    def test_the_docstrings_examples_hold(self):
        echecs, essais = doctest.testmod(orvanel)
        self.assertGreater(essais, 10)
        self.assertEqual(echecs, 0)


if __name__ == "__main__":
    unittest.main()
