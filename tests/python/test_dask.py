"""The example of a grid on a Dask cluster: a small grid on a local cluster of two worker
processes equals the same grid computed in this process."""

import os
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples"))

import grille_dask  # noqa: E402
import orvanel  # noqa: E402


class GrilleDask(unittest.TestCase):
    def test_a_grid_on_two_workers_equals_the_grid_in_process(self):
        latitudes, longitudes = grille_dask.sites_du_quadrillage(40, 50, -3, 7, 2.5)
        temps = grille_dask.heures_de_l_annee(2027)[::37]
        colonnes = ("apparent_elevation", "azimuth", "declination")
        with grille_dask.client_dask(workers=2) as client:
            self.assertEqual(len(client.scheduler_info()["workers"]), 2)
            paresseux = grille_dask.grille(latitudes, longitudes, temps, colonnes,
                                           sites_par_bloc=7)
            self.assertGreater(paresseux["azimuth"].numblocks[0], 2)
            calcule = dict(zip(colonnes, client.compute([paresseux[c] for c in colonnes],
                                                        sync=True)))
        attendu = orvanel.solar_position(temps, latitudes[:, None], longitudes[:, None])
        for c in colonnes:
            with self.subTest(colonne=c):
                self.assertEqual(calcule[c].shape, (latitudes.size, temps.size))
                np.testing.assert_array_equal(calcule[c], attendu[c])


if __name__ == "__main__":
    unittest.main()
