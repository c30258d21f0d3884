"""orvanel.sundial and orvanel.sundial_shadow: the shadow against the ray through the nodus
written here from solar_position's place of the Sun, the June solstice's shadow on its line, the
noon line of a horizontal dial, and the refusals."""

import math
import unittest

import numpy as np
import pandas as pd

import orvanel


def cadre(azimut, inclinaison):
    """The dial's normal, x and y in (east, north, up), as a dial maker sets them out."""
    b, g = math.radians(inclinaison), math.radians(azimut)
    n = np.array([math.sin(b) * math.sin(g), math.sin(b) * math.cos(g), math.cos(b)])
    x = np.cross([0, 0, 1], n) if math.sin(b) > 1e-12 else np.array([1.0, 0, 0])
    x = x / np.linalg.norm(x)
    return n, x, np.cross(n, x)


class Sundial(unittest.TestCase):
    def test_shadow_is_the_ray_through_the_nodus(self):
        t = pd.date_range("2026-03-01", periods=400, freq="37min", tz="UTC")
        for azimut, inclinaison in ((202.5, 90), (180, 0), (120, 60)):
            with self.subTest(azimut=azimut, inclinaison=inclinaison):
                s = orvanel.sundial_shadow(t, 43.6045, 1.444, 150, azimut, inclinaison,
                                           nodus_distance=80, pressure=101325, temperature=12)
                p = orvanel.solar_position(t, 43.6045, 1.444, 150, pressure=101325,
                                           temperature=12)
                n, x, y = cadre(azimut, inclinaison)
                vus = 0
                for k in range(len(t)):
                    a, h = math.radians(p["azimuth"].iloc[k]), \
                        math.radians(p["apparent_elevation"].iloc[k])
                    soleil = np.array([math.sin(a) * math.cos(h), math.cos(a) * math.cos(h),
                                       math.sin(h)])
                    face = soleil @ n
                    self.assertEqual(bool(s["lit"].iloc[k]), bool(h > 0 and face > 0))
                    if not s["lit"].iloc[k]:
                        self.assertTrue(math.isnan(s["x_mm"].iloc[k]))
                        continue
                    ombre = 80 * n - 80 / face * soleil
                    self.assertAlmostEqual(s["x_mm"].iloc[k], ombre @ x, delta=1e-9)
                    self.assertAlmostEqual(s["y_mm"].iloc[k], ombre @ y, delta=1e-9)
                    vus += 1
                self.assertGreater(vus, 50)

    def test_solstice_shadow_on_its_line_and_the_noon_line(self):
        # The June solstice of 2026, 08:24 UTC (U.S. Naval Observatory), at Toulouse.
        d = orvanel.sundial(43.6045, 1.444, 150, 130, 90, nodus_distance=300, lines=["dates"],
                            size=(3000, 3000), year=2026)
        ligne = d[d["label"] == "solstice de juin"]
        s = orvanel.sundial_shadow(pd.DatetimeIndex(["2026-06-21T08:24:29Z"]), 43.6045, 1.444,
                                   150, 130, 90, nodus_distance=300)
        self.assertTrue(s["lit"].iloc[0])
        ecart = np.hypot(ligne["x_mm"] - s["x_mm"].iloc[0], ligne["y_mm"] - s["y_mm"].iloc[0])
        self.assertLess(ecart.min(), 1.0)  # a minute off the instant moves it about 0.1 mm
        h = orvanel.sundial(-33.9, 151.2, inclination=0, style_length=100, lines="hours",
                            year=2026)
        midi = h[h["label"] == "12 h"]
        np.testing.assert_allclose(midi["x_mm"], 0, atol=1e-9)
        self.assertTrue((midi["y_mm"] < 0).all())  # southward in the southern hemisphere

    def test_refusals(self):
        cas = [(dict(wall_azimuth=90, style_length=100), "axis"),
               (dict(inclination=180, nodus_distance=100), "never"),
               (dict(inclination=200, nodus_distance=100), "inclination"),
               (dict(nodus_distance=0.1), "nodus_distance"),
               (dict(style_length=100, nodus_distance=10), "one of"),
               (dict(style_length=100, lines=["minutes"]), "minutes"),
               (dict(style_length=100, size=(1, 100)), "size")]
        for arguments, attendu in cas:
            with self.subTest(arguments=arguments):
                with self.assertRaisesRegex(ValueError, attendu):
                    orvanel.sundial(45.0, 5.0, **arguments)


if __name__ == "__main__":
    unittest.main()
