"""The Sun on surfaces from Python and from orvanel-cli against the C library (the engine's
functions behind a thin layer), value for value, and the module's shapes, NaN and refusals.
Run with PYTHONPATH at the module, ORVANEL_LIB at liborvanel.so and ORVANEL_CLI at
orvanel-cli."""

import ctypes
import json
import math
import os
import subprocess
import unittest

import numpy as np
import pandas as pd

import orvanel

lib = ctypes.CDLL(os.environ["ORVANEL_LIB"])
CLI = os.environ["ORVANEL_CLI"]


class Suiveur(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in ("axis_tilt_deg", "axis_azimuth_deg",
                                               "max_angle_deg", "gcr", "cross_axis_tilt_deg")] + \
               [("backtrack", ctypes.c_int)]


class EtatSuiveur(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in ("theta_deg", "surface_tilt_deg",
                                               "surface_azimuth_deg", "aoi_deg")]


class Site(ctypes.Structure):
    _fields_ = [("longitude_deg", ctypes.c_double), ("latitude_deg", ctypes.c_double),
                ("height_m", ctypes.c_double)]


D = ctypes.c_double
for nom in ("orvanel_aoi", "orvanel_aoi_projection"):
    getattr(lib, nom).restype = D
    getattr(lib, nom).argtypes = [D] * 4
lib.orvanel_airmass_relative.restype = D
lib.orvanel_airmass_relative.argtypes = [D]
lib.orvanel_airmass_absolute.restype = D
lib.orvanel_airmass_absolute.argtypes = [D, D]
lib.orvanel_singleaxis.argtypes = [ctypes.POINTER(Suiveur), ctypes.POINTER(D), ctypes.POINTER(D),
                                   ctypes.c_size_t, ctypes.POINTER(EtatSuiveur)]
lib.orvanel_extra_radiation.argtypes = [D, D, ctypes.POINTER(D)]
lib.orvanel_solar_time.argtypes = [D, ctypes.POINTER(Site), D, ctypes.POINTER(D),
                                   ctypes.POINTER(D)]


def suiveur_c(z, a, *, axis_tilt=0.0, axis_azimuth=0.0, max_angle=90.0, backtrack=True,
              gcr=2 / 7, cross_axis_tilt=0.0):
    n = len(z)
    sortie = (EtatSuiveur * n)()
    zc, ac = (D * n)(*z), (D * n)(*a)
    code = lib.orvanel_singleaxis(ctypes.byref(Suiveur(axis_tilt, axis_azimuth, max_angle, gcr,
                                                       cross_axis_tilt, int(backtrack))),
                                  zc, ac, n, sortie)
    assert code == 0, code
    return sortie


def memes(a, b):
    """Equal to the bit, NaN equal to NaN."""
    return (math.isnan(a) and math.isnan(b)) or a == b


class LeModuleEstLaBibliotheque(unittest.TestCase):
    def test_incidence_trackers_air_mass_to_the_bit(self):
        rng = np.random.default_rng(300)
        n = 2000
        z = rng.uniform(0, 100, n)
        a = rng.uniform(0, 360, n)
        tilt, azimut = rng.uniform(0, 180, n), rng.uniform(-360, 720, n)
        proj = orvanel.aoi_projection(tilt, azimut, z, a)
        angle = orvanel.aoi(tilt, azimut, z, a)
        masse = orvanel.airmass(z)
        for i in range(n):
            self.assertEqual(proj[i], lib.orvanel_aoi_projection(tilt[i], azimut[i], z[i], a[i]))
            self.assertEqual(angle[i], lib.orvanel_aoi(tilt[i], azimut[i], z[i], a[i]))
            self.assertTrue(memes(masse[i], lib.orvanel_airmass_relative(z[i])))
        for reglage in (dict(), dict(axis_tilt=12.0, axis_azimuth=170.0, max_angle=55.0,
                                     gcr=0.4, cross_axis_tilt=-6.0),
                        dict(axis_azimuth=180.0, max_angle=60.0, backtrack=False)):
            with self.subTest(reglage=reglage):
                py = orvanel.singleaxis(z, a, **reglage)
                c = suiveur_c(z, a, **reglage)
                for i in range(n):
                    for cle, champ in (("tracker_theta", "theta_deg"), ("aoi", "aoi_deg"),
                                       ("surface_tilt", "surface_tilt_deg"),
                                       ("surface_azimuth", "surface_azimuth_deg")):
                        self.assertTrue(memes(py[cle][i], getattr(c[i], champ)), (i, cle))
        # Absolute air mass: pascals here, hectopascals there.
        self.assertAlmostEqual(orvanel.airmass(70.0, pressure=85000.0),
                               lib.orvanel_airmass_absolute(70.0, 850.0), delta=1e-14)

    def test_irradiance_and_solar_time_to_the_bit(self):
        heures = pd.date_range("2026-01-01", periods=400, freq="22h", tz="UTC")
        e = orvanel.extra_radiation(heures)
        table = orvanel.solar_position(heures, -33.87, 151.2, 50)
        self.assertIsInstance(e, pd.Series)
        for t, valeur, h, s in zip(heures, e, table["hour_angle"], table["solar_time"]):
            attendu, angle, temps = D(), D(), D()
            unix = t.timestamp()
            self.assertEqual(lib.orvanel_extra_radiation(unix, math.nan, ctypes.byref(attendu)), 0)
            self.assertEqual(valeur, attendu.value)
            self.assertEqual(lib.orvanel_solar_time(unix, ctypes.byref(Site(151.2, -33.87, 50)),
                                                    math.nan, ctypes.byref(angle),
                                                    ctypes.byref(temps)), 0)
            self.assertEqual(h, angle.value)
            self.assertEqual(s, temps.value)
        # Highest near perihelion (3 January), lowest near aphelion (6 July).
        self.assertLess(abs((e.idxmax() - pd.Timestamp("2026-01-03", tz="UTC")).days), 4)
        self.assertLess(abs((e.idxmin() - pd.Timestamp("2026-07-06", tz="UTC")).days), 4)

    def test_solar_time_is_noon_at_the_modules_transit(self):
        jours = pd.DatetimeIndex(["2026-02-11", "2026-11-03"], tz="UTC")
        passages = orvanel.sun_rise_set_transit(jours, 48.85, 2.35)["transit"]
        table = orvanel.solar_position(pd.DatetimeIndex(passages), 48.85, 2.35)
        # The transit to the millisecond: 0.0042 millidegrees of hour angle.
        self.assertTrue((table["hour_angle"].abs() < 1e-5).all())
        self.assertTrue(((table["solar_time"] - 12).abs() < 1e-5 / 15).all())


class LaCommandeEstLaBibliotheque(unittest.TestCase):
    def test_position_and_table_columns_to_the_bit(self):
        for instant in ("2026-06-21T05:10:00Z", "2026-06-21T11:40:00Z", "2026-12-21T15:30:00Z",
                        "2026-06-21T23:00:00Z"):
            with self.subTest(instant=instant):
                sortie = subprocess.run(
                    [CLI, "position", "--lat", "48.85", "--lon", "2.35", "--date", instant,
                     "--refraction", "--plane", "35,165", "--tracker", "2,175,55,0.4",
                     "--cross-slope", "3", "--energy", "--format", "json"],
                    check=True, capture_output=True, text=True).stdout
                p = json.loads(sortie)["position"]
                z, a = 90 - p["hauteur_refractee_deg"], p["azimut_nord_deg"]
                sous = z > 90
                c = suiveur_c([z], [a], axis_tilt=2.0, axis_azimuth=175.0, max_angle=55.0,
                              gcr=0.4, cross_axis_tilt=3.0)[0]
                attendus = {
                    "plan_projection_incidence": lib.orvanel_aoi_projection(35, 165, z, a),
                    "plan_incidence_deg": lib.orvanel_aoi(35, 165, z, a),
                    "masse_air": lib.orvanel_airmass_relative(z),
                    "suiveur_rotation_deg": c.theta_deg,
                    "suiveur_inclinaison_deg": c.surface_tilt_deg,
                    "suiveur_azimut_nord_deg": c.surface_azimuth_deg,
                    "suiveur_incidence_deg": c.aoi_deg}
                for cle, attendu in attendus.items():
                    if math.isnan(attendu):
                        self.assertIsNone(p[cle], cle)
                    else:
                        self.assertEqual(p[cle], attendu, cle)
                self.assertEqual(sous, p["suiveur_rotation_deg"] is None)
                e = D()
                lib.orvanel_extra_radiation(pd.Timestamp(instant).timestamp(), math.nan,
                                            ctypes.byref(e))
                self.assertEqual(p["irradiance_hors_atmosphere_w_m2"], e.value)
                self.assertEqual(p["irradiance_hors_atmosphere_w_m2"],
                                 1361.0 / (p["distance_ua"] * p["distance_ua"]))

    def test_bad_surfaces_are_refused_with_their_range(self):
        for options, message in [
                (["--plane", "190,180"], "--plane"),
                (["--plane", "30"], "TILT,AZIMUTH"),
                (["--tracker", "0,180,60"], "AXIS_TILT"),
                (["--tracker", "0,180,60,1.5"], "de 0,01 à 1"),
                (["--tracker", "0,180,200,0.3"], "--tracker"),
                (["--tracker", "0,180,60,0.3", "--cross-slope", "50"], "--cross-slope"),
                (["--cross-slope", "5"], "--tracker")]:
            with self.subTest(options=options):
                r = subprocess.run([CLI, "position", "--lat", "0", "--lon", "0", "--date",
                                    "2026-01-01T12:00:00Z", *options],
                                   capture_output=True, text=True,
                                   env={"LANG": "C.UTF-8"})
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertEqual(r.stdout, "")


class FormesEtRefus(unittest.TestCase):
    def test_shapes_nan_and_pandas(self):
        self.assertIsInstance(orvanel.aoi(30, 180, 40, 180), float)
        grille = orvanel.aoi(np.array([[0.0], [30.0], [90.0]]), 180, np.array([10.0, 50.0]), 170)
        self.assertEqual(grille.shape, (3, 2))
        self.assertTrue(math.isnan(orvanel.aoi(30, 180, math.nan, 180)))
        position = orvanel.solar_position(pd.date_range("2026-06-21", periods=24, freq="h",
                                                        tz="Europe/Paris"), 48.85, 2.35)
        suivi = orvanel.singleaxis(position["apparent_zenith"], position["azimuth"],
                                   axis_azimuth=180, max_angle=60, gcr=0.35)
        self.assertIsInstance(suivi, pd.DataFrame)
        self.assertTrue(suivi.index.equals(position.index))
        nuit = position["apparent_zenith"] > 90
        self.assertTrue(suivi["tracker_theta"][nuit].isna().all())
        self.assertTrue(suivi["tracker_theta"][~nuit].notna().all())
        self.assertTrue((suivi["tracker_theta"][~nuit].abs() <= 60).all())
        # Morning toward the east (negative for an axis pointing south), evening west.
        jour = suivi["tracker_theta"][~nuit]
        self.assertLess(jour.iloc[2], 0)
        self.assertGreater(jour.iloc[-3], 0)
        self.assertIsInstance(orvanel.airmass(position["apparent_zenith"]), pd.Series)
        self.assertTrue(orvanel.airmass(position["apparent_zenith"])[nuit].isna().all())

    def test_refusals_name_the_argument_and_its_range(self):
        for appel, message in [
                (lambda: orvanel.aoi(181, 0, 10, 0), "surface_tilt out of range: 181"),
                (lambda: orvanel.aoi(10, math.inf, 10, 0), "surface_azimuth"),
                (lambda: orvanel.aoi(10, 0, -1, 0), "solar_zenith out of range"),
                (lambda: orvanel.singleaxis(10, 0, gcr=0), "gcr out of range: 0"),
                (lambda: orvanel.singleaxis(10, 0, axis_tilt=95), "axis_tilt out of range"),
                (lambda: orvanel.singleaxis(10, 0, max_angle=-5), "max_angle out of range"),
                (lambda: orvanel.singleaxis(10, 0, cross_axis_tilt=60), "cross_axis_tilt"),
                (lambda: orvanel.singleaxis(10, 0, axis_azimuth=math.nan), "axis_azimuth"),
                (lambda: orvanel.singleaxis(10, 0, axis_tilt=[1, 2]), "axis_tilt must be"),
                (lambda: orvanel.airmass(10, pressure=1e3), "pressure out of range"),
                (lambda: orvanel.airmass(None), "apparent_zenith is required"),
                (lambda: orvanel.extra_radiation(np.datetime64("2600-01-01")), "time outside")]:
            with self.subTest(message=message):
                with self.assertRaisesRegex(ValueError, message):
                    appel()


if __name__ == "__main__":
    unittest.main()
