"""The Python module against the C library (the engine's figures), its shapes, its tables and
its refusals. Run with PYTHONPATH at the module and ORVANEL_LIB at liborvanel.so."""

import ctypes
import datetime as dt
import math
import os
import unittest

import numpy as np
import pandas as pd

import orvanel


class Site(ctypes.Structure):
    _fields_ = [("longitude_deg", ctypes.c_double), ("latitude_deg", ctypes.c_double),
                ("height_m", ctypes.c_double)]


class Position(ctypes.Structure):
    _fields_ = [(nom, ctypes.c_double) for nom in
                ("right_ascension_deg", "declination_deg", "distance_au", "equation_of_time_min",
                 "azimuth_deg", "elevation_deg")]


class Evenement(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("threshold", ctypes.c_int),
                ("unix_utc", ctypes.c_double), ("azimuth_deg", ctypes.c_double),
                ("elevation_deg", ctypes.c_double)]


class Jour(ctypes.Structure):
    _fields_ = [("start_unix_utc", ctypes.c_double), ("count", ctypes.c_int),
                ("events", Evenement * 24), ("states", ctypes.c_int * 4),
                ("day_length_min", ctypes.c_double), ("day_length_change_min", ctypes.c_double)]


lib = ctypes.CDLL(os.environ["ORVANEL_LIB"])
lib.orvanel_position_at.argtypes = [ctypes.c_double, ctypes.POINTER(Site), ctypes.c_double,
                                    ctypes.POINTER(Position)]
lib.orvanel_refraction.restype = ctypes.c_double
lib.orvanel_refraction.argtypes = [ctypes.c_double] * 3
lib.orvanel_day_events.argtypes = [ctypes.c_int] * 3 + [ctypes.POINTER(Site), ctypes.c_double,
                                                        ctypes.POINTER(Jour)]


def position_c(unix, lat, lon, alt, tt=math.nan):
    p = Position()
    code = lib.orvanel_position_at(unix, ctypes.byref(Site(lon, lat, alt)), tt, ctypes.byref(p))
    assert code == 0, code
    return p


COLONNES = ["apparent_zenith", "zenith", "apparent_elevation", "elevation", "azimuth",
            "equation_of_time", "right_ascension", "declination", "distance", "hour_angle",
            "solar_time"]


class SolarPosition(unittest.TestCase):
    def test_equals_the_engine_on_random_instants_and_sites(self):
        alea = np.random.default_rng(20261209)
        n = 500
        secondes = alea.integers(315532800, 8835004800, n)  # 1980 .. 2249
        instants = secondes.astype("datetime64[s]")
        lat = alea.uniform(-90, 90, n)
        lon = alea.uniform(-180, 180, n)
        alt = alea.uniform(-1000, 10000, n)
        pression = alea.uniform(50000, 105000, n)
        temperature = alea.uniform(-40, 45, n)
        for tt in (None, 69.184):
            with self.subTest(tt=tt):
                r = orvanel.solar_position(instants, lat, lon, alt, pression, temperature,
                                           tt_minus_utc=tt, jobs=2)
                for i in range(n):
                    p = position_c(float(secondes[i]), lat[i], lon[i], alt[i],
                                   math.nan if tt is None else tt)
                    self.assertEqual(r["elevation"][i], p.elevation_deg)
                    self.assertEqual(r["azimuth"][i], p.azimuth_deg)
                    self.assertEqual(r["right_ascension"][i], p.right_ascension_deg)
                    self.assertEqual(r["declination"][i], p.declination_deg)
                    self.assertEqual(r["distance"][i], p.distance_au)
                    self.assertEqual(r["equation_of_time"][i], p.equation_of_time_min)
                    self.assertEqual(r["zenith"][i], 90 - p.elevation_deg)
                    refraction = lib.orvanel_refraction(p.elevation_deg, pression[i] / 100,
                                                        temperature[i])
                    self.assertAlmostEqual(r["apparent_elevation"][i],
                                           p.elevation_deg + refraction, delta=1e-12)
                    self.assertAlmostEqual(r["apparent_zenith"][i], 90 - r["apparent_elevation"][i],
                                           delta=1e-12)

    def test_broadcasting_shapes(self):
        temps = np.datetime64("2026-03-20T00:00") + np.arange(24) * np.timedelta64(1, "h")
        lat = np.linspace(-60, 60, 5)
        cas = [  # times, latitude, longitude, expected shape
            (temps, lat[:, None], 10.0, (5, 24)),
            (temps, 45.0, np.array([0.0, 90.0])[:, None, None] + 0 * lat[:, None], (2, 5, 24)),
            (temps, np.full(24, 45.0), np.linspace(-180, 180, 24), (24,)),
            (temps[0], lat, 0.0, (5,)),
            (temps[0], 45.0, 0.0, ()),
        ]
        for t, la, lo, forme in cas:
            with self.subTest(forme=forme):
                r = orvanel.solar_position(t, la, lo)
                self.assertEqual(set(r), set(COLONNES))
                for nom in COLONNES:
                    self.assertEqual(r[nom].shape, forme)
        # A grid's element is the position of its own time and site.
        grille = orvanel.solar_position(temps, lat[:, None], 10.0)
        seul = orvanel.solar_position(temps[7], lat[3], 10.0)
        self.assertEqual(grille["azimuth"][3, 7], seul["azimuth"])
        with self.assertRaisesRegex(ValueError, "broadcast"):
            orvanel.solar_position(temps, np.zeros(5), 0.0)

    def test_a_grid_of_sites_by_times_is_each_sites_position(self):
        # Sites along the leading axes and times along the trailing ones, as a grid is usually
        # written: each element is the C library's position of its own time and site, and the
        # element-by-element path (one dynamical time per element) gives the same bits.
        alea = np.random.default_rng(7)
        secondes = alea.integers(315532800, 8835004800, (2, 37))
        temps = secondes.astype("datetime64[s]").astype("datetime64[ns]")
        temps[1, 5] = np.datetime64("NaT")
        forme_sites = (23, 1, 1)
        lat = alea.uniform(-90, 90, forme_sites)
        lon = alea.uniform(-180, 180, forme_sites)
        alt = alea.uniform(-1000, 10000, forme_sites)
        pression = alea.uniform(50000, 105000, (23, 1, 1))
        r = orvanel.solar_position(temps, lat, lon, alt, pression, 15.0, tt_minus_utc=69.184,
                                   jobs=3)
        self.assertEqual(r["azimuth"].shape, (23, 2, 37))
        elementaire = orvanel.solar_position(temps, lat, lon, alt, pression, 15.0,
                                             tt_minus_utc=np.full((23, 2, 37), 69.184), jobs=2)
        for nom in COLONNES:
            np.testing.assert_array_equal(r[nom], elementaire[nom], err_msg=nom)
        self.assertTrue(all(np.isnan(r[nom][:, 1, 5]).all() for nom in COLONNES))
        for s, j, k in ((0, 0, 0), (22, 1, 36), (11, 0, 17), (5, 1, 4), (17, 1, 6)):
            p = position_c(float(secondes[j, k]), lat[s, 0, 0], lon[s, 0, 0], alt[s, 0, 0],
                           69.184)
            self.assertEqual(r["elevation"][s, j, k], p.elevation_deg)
            self.assertEqual(r["azimuth"][s, j, k], p.azimuth_deg)
            self.assertEqual(r["declination"][s, j, k], p.declination_deg)
        # A refused site is named as on the other path.
        with self.assertRaisesRegex(ValueError, "latitude"):
            orvanel.solar_position(temps, np.full((3, 1, 1), 91.0), 0.0)

    def test_dataframe_and_time_zones(self):
        paris = pd.date_range("2026-06-21 00:00", periods=48, freq="30min", tz="Europe/Paris")
        df = orvanel.solar_position(paris, 48.85, 2.35, 35)
        self.assertIsInstance(df, pd.DataFrame)
        self.assertEqual(list(df.columns), COLONNES)
        self.assertTrue(df.index.equals(paris))
        # The same instants given in UTC, naive, as aware datetimes, or as datetime64.
        utc = paris.tz_convert("UTC")
        naifs = utc.tz_localize(None)
        for autre in (utc, naifs, list(paris.to_pydatetime()), naifs.values):
            with self.subTest(type=type(autre).__name__):
                r = orvanel.solar_position(autre, 48.85, 2.35, 35)
                np.testing.assert_array_equal(np.asarray(r["elevation"]), df["elevation"].to_numpy())
        # Several sites against a DatetimeIndex: a dict of sites x times.
        r = orvanel.solar_position(paris, np.array([[10.0], [20.0]]), 2.35)
        self.assertIsInstance(r, dict)
        self.assertEqual(r["azimuth"].shape, (2, 48))

    def test_nat_gives_nan(self):
        temps = np.array(["2026-01-01T12:00", "NaT", "2026-01-02T12:00"], dtype="datetime64[ns]")
        r = orvanel.solar_position(temps, 45.0, 5.0)
        for nom in COLONNES:
            self.assertTrue(np.isnan(r[nom][1]))
            self.assertFalse(np.isnan(r[nom][[0, 2]]).any())
        r = orvanel.solar_position([dt.datetime(2026, 1, 1, 12), None], 45.0, 5.0)
        self.assertTrue(np.isnan(r["elevation"][1]))

    def test_bad_input_raises_value_error(self):
        t = np.datetime64("2026-01-01T12:00")
        cas = [
            (dict(latitude=95.0, longitude=0.0), "latitude out of range: 95"),
            (dict(latitude=np.array([10.0, math.nan]), longitude=0.0), "latitude out of range: nan"),
            (dict(latitude=0.0, longitude=-180.5), "longitude out of range"),
            (dict(latitude=0.0, longitude=0.0, altitude=20000.0), "altitude out of range"),
            (dict(latitude=0.0, longitude=0.0, pressure=-5.0), "pressure out of range"),
            # hectopascals given for pascals: outside the model's domain, named in pascals
            (dict(latitude=0.0, longitude=0.0, pressure=1013.0),
             r"pressure out of range: 1013 \(from 26664.4\d* to 119990.1\d* pascals\)"),
            (dict(latitude=0.0, longitude=0.0, temperature=99.0), "temperature out of range"),
            (dict(latitude=0.0, longitude=0.0, tt_minus_utc=math.inf), "tt_minus_utc"),
            (dict(latitude=0.0, longitude=0.0, tt_minus_utc=1e6), "tt_minus_utc out of range"),
        ]
        for arguments, message in cas:
            with self.subTest(message=message):
                with self.assertRaisesRegex(ValueError, message):
                    orvanel.solar_position(t, **arguments)
        with self.assertRaisesRegex(ValueError, "time outside 1980"):
            orvanel.solar_position(np.datetime64("1975-01-01"), 0.0, 0.0)

    def test_a_time_outside_the_dates_is_refused_as_itself(self):
        # In nanoseconds these would wrap around by 2**64 ns to dates within the range (2015,
        # 2085) and be computed there: each must be refused, named as the time it is.
        cas = [
            (np.array(["2600-06-21T12"], "datetime64[s]"), "2600-06-21T12:00:00Z"),
            ([dt.datetime(2600, 6, 21, 12)], "2600-06-21T12:00:00Z"),
            (dt.datetime(1500, 6, 21, 12), "1500-06-21T12:00:00Z"),
            (np.datetime64("2251-01-01T00:00:00", "s"), "2251-01-01T00:00:00Z"),
        ]
        for temps, iso in cas:
            with self.subTest(iso=iso):
                with self.assertRaisesRegex(ValueError, "time outside 1980.*: " + iso):
                    orvanel.solar_position(temps, 48.85, 2.35)
        # Microseconds pass through: the position at 12:00:00.5 is between those at 12:00:00
        # and 12:00:01.
        t = np.array(["2026-06-21T12:00:00", "2026-06-21T12:00:00.5", "2026-06-21T12:00:01"],
                     "datetime64[us]")
        h = orvanel.solar_position(t, 48.85, 2.35)["elevation"]
        self.assertTrue(h[0] < h[1] < h[2] or h[0] > h[1] > h[2])

    def test_numbers_none_and_bad_jobs_are_refused(self):
        t = np.datetime64("2026-06-21T12:00")
        for temps in (1782037440, 1.78e9, np.array([1.0, 2.0]), [1, 2]):
            with self.subTest(times=temps):
                with self.assertRaisesRegex(ValueError, "times must be datetimes"):
                    orvanel.solar_position(temps, 48.0, 2.0)
        for jobs in (0, -3, 2.7, True):
            with self.subTest(jobs=jobs):
                with self.assertRaisesRegex(ValueError, "jobs must be a whole number"):
                    orvanel.solar_position(t, 48.0, 2.0, jobs=jobs)
        with self.assertRaisesRegex(ValueError, "latitude is required"):
            orvanel.solar_position(t, None, 2.0)

    def test_missing_weather_and_the_altitudes_pressure(self):
        t = np.array(["2026-06-21T12:00", "2026-06-21T13:00", "2026-06-21T14:00"], "datetime64[s]")
        r = orvanel.solar_position(t, 48.0, 2.0, pressure=np.array([101325.0, math.nan, 90000.0]),
                                   temperature=np.array([12.0, 12.0, math.nan]))
        self.assertFalse(math.isnan(r["apparent_elevation"][0]))
        self.assertTrue(math.isnan(r["apparent_elevation"][1]))
        self.assertTrue(math.isnan(r["apparent_zenith"][2]))
        self.assertFalse(np.isnan(r["elevation"]).any())
        # pressure=None: the standard atmosphere's pressure at the site's altitude.
        sans = orvanel.solar_position(t, 48.0, 2.0, altitude=2000.0, pressure=None)
        explicite = orvanel.solar_position(t, 48.0, 2.0, altitude=2000.0,
                                           pressure=101325.0 * (1 - 2.25577e-5 * 2000) ** 5.25588)
        np.testing.assert_array_equal(sans["apparent_elevation"], explicite["apparent_elevation"])

    def test_pandas_in_pandas_out(self):
        heures = pd.date_range("2026-06-21 10:00", periods=3, freq="h", tz="Europe/Paris")
        serie = pd.Series(heures, index=["a", "b", "c"])
        par_serie = orvanel.solar_position(serie, 48.0, 2.0)
        self.assertIsInstance(par_serie, pd.DataFrame)
        self.assertEqual(list(par_serie.index), ["a", "b", "c"])
        par_index = orvanel.solar_position(heures, 48.0, 2.0)
        np.testing.assert_array_equal(par_serie["elevation"].values, par_index["elevation"].values)
        un = orvanel.solar_position(heures[1], 48.0, 2.0)
        self.assertIsInstance(un, pd.DataFrame)
        self.assertEqual(len(un), 1)
        self.assertEqual(un.index[0], heures[1])
        self.assertEqual(un["elevation"].iloc[0], par_index["elevation"].iloc[1])

    def test_threads_change_nothing(self):
        temps = np.datetime64("2030-01-01") + np.arange(5000) * np.timedelta64(17, "m")
        sites = np.linspace(-89, 89, 7)[:, None]
        un = orvanel.solar_position(temps, sites, -70.0, jobs=1)
        deux = orvanel.solar_position(temps, sites, -70.0, jobs=2)
        for nom in COLONNES:
            np.testing.assert_array_equal(un[nom], deux[nom])


class DayEvents(unittest.TestCase):
    def test_the_days_events_are_the_librarys(self):
        noms = {0: "transit", 1: "lower_transit", 2: "rise", 3: "set"}
        etats = ["crossed", "always_above", "always_below"]
        for date, lat, lon in [("2026-06-21", 48.85, 2.35), (dt.date(2026, 12, 21), 69.65, 18.95),
                               (np.datetime64("2026-03-20"), -33.45, -70.5)]:
            with self.subTest(date=str(date)):
                jour = orvanel.day_events(date, lat, lon)
                attendu = Jour()
                d = pd.Timestamp(date).date()
                self.assertEqual(lib.orvanel_day_events(d.year, d.month, d.day,
                                                        ctypes.byref(Site(lon, lat, 0)),
                                                        math.nan, ctypes.byref(attendu)), 0)
                self.assertEqual(len(jour["events"]), attendu.count)
                for e, a in zip(jour["events"], attendu.events):
                    self.assertEqual(e["type"], noms[a.type])
                    # To the millisecond, as orvanel-cli writes them.
                    self.assertEqual(round(e["time"].timestamp() * 1000), round(a.unix_utc * 1000))
                    self.assertEqual(e["elevation"], a.elevation_deg)
                self.assertEqual([jour["states"][s] for s in
                                  ("horizon", "civil", "nautical", "astronomical")],
                                 [etats[s] for s in attendu.states])
                self.assertEqual(jour["day_length"], attendu.day_length_min)
        polaire = orvanel.day_events("2026-12-21", 69.65, 18.95)
        self.assertEqual(polaire["states"]["horizon"], "always_below")
        self.assertNotIn("sunrise", [e["event"] for e in polaire["events"]])
        with self.assertRaisesRegex(ValueError, "date"):
            orvanel.day_events("2026-02-30", 0, 0)
        with self.assertRaisesRegex(ValueError, "latitude out of range"):
            orvanel.day_events("2026-02-10", 91, 0)


if __name__ == "__main__":
    unittest.main()
