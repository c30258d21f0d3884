#!/usr/bin/env python3
"""The Sun over a grid of sites for every hour of a year, on a Dask cluster.

A country's grid of sites times the 8760 hours of a year is 10^9 to 10^10 positions: more than
one machine holds or computes in a sitting. The grid is cut into blocks of sites; each block
is one task, which computes its sites x hours with orvanel.solar_position on its worker. The
result stays on the cluster as Dask arrays (sites x hours) until it is reduced or saved.

    # on one machine, a local cluster of as many workers as processors:
    python3 grille_dask.py --lat 42 51 --lon -5 8 --step 0.5 --year 2027

    # on several machines (each with orvanel installed), a scheduler and its workers:
    dask-scheduler                                  # on the first, listens on port 8786
    dask-worker tcp://first-machine:8786            # on each of the others
    python3 grille_dask.py --scheduler tcp://first-machine:8786 --step 0.05

Prints, for each site, the hours of the year with the Sun's centre above the horizon
(refracted) and the highest elevation, summed up over the grid; --output saves them (.npz).
"""

import argparse

import numpy as np

import orvanel

try:
    import cloudpickle

    # The block function travels to the workers by value, so that they need orvanel only.
    cloudpickle.register_pickle_by_value(__import__(__name__))
except (ImportError, AttributeError, ValueError):
    pass


def heures_de_l_annee(annee):
    """Every hour of a year, UTC, as datetime64."""
    debut = np.datetime64(f"{annee}-01-01T00:00", "h")
    fin = np.datetime64(f"{annee + 1}-01-01T00:00", "h")
    return np.arange(debut, fin, np.timedelta64(1, "h"))


def sites_du_quadrillage(lat_min, lat_max, lon_min, lon_max, pas):
    """The grid's sites, latitude by latitude, as two flat arrays."""
    lat = np.arange(lat_min, lat_max + pas / 2, pas)
    lon = np.arange(lon_min, lon_max + pas / 2, pas)
    la, lo = np.meshgrid(lat, lon, indexing="ij")
    return la.ravel(), lo.ravel()


def _bloc(latitudes, longitudes, temps, colonne):
    """One task: a block of sites (a column) against every time, on one thread."""
    return orvanel.solar_position(temps, latitudes, longitudes, jobs=1)[colonne]


def grille(latitudes, longitudes, temps, colonnes=("apparent_elevation",), sites_par_bloc=500):
    """Lazy Dask arrays, sites x times, one per column of orvanel.solar_position."""
    import dask.array as da

    lat = da.from_array(np.asarray(latitudes, dtype=float)[:, None], chunks=(sites_par_bloc, 1))
    lon = da.from_array(np.asarray(longitudes, dtype=float)[:, None], chunks=(sites_par_bloc, 1))
    return {c: da.map_blocks(_bloc, lat, lon, temps=temps, colonne=c, dtype=float,
                             chunks=(lat.chunks[0], (len(temps),)))
            for c in colonnes}


def client_dask(scheduler=None, workers=None):
    """A client of the given scheduler, or of a local cluster of processes."""
    from dask.distributed import Client, LocalCluster

    if scheduler:
        return Client(scheduler)
    return Client(LocalCluster(n_workers=workers, threads_per_worker=1, processes=True))


def main():
    arguments = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    arguments.add_argument("--lat", nargs=2, type=float, default=(42.0, 51.0), metavar=("MIN", "MAX"))
    arguments.add_argument("--lon", nargs=2, type=float, default=(-5.0, 8.0), metavar=("MIN", "MAX"))
    arguments.add_argument("--step", type=float, default=0.5, help="grid step, degrees")
    arguments.add_argument("--year", type=int, default=2027)
    arguments.add_argument("--scheduler", help="a running scheduler's address, tcp://host:8786")
    arguments.add_argument("--workers", type=int, help="workers of the local cluster")
    arguments.add_argument("--sites-per-block", type=int, default=500)
    arguments.add_argument("--output", help="save the per-site results (.npz)")
    a = arguments.parse_args()

    latitudes, longitudes = sites_du_quadrillage(*a.lat, *a.lon, a.step)
    temps = heures_de_l_annee(a.year)
    with client_dask(a.scheduler, a.workers) as client:
        print(f"{latitudes.size} sites x {temps.size} hours = "
              f"{latitudes.size * temps.size:,} positions on {client.dashboard_link}")
        hauteur = grille(latitudes, longitudes, temps, sites_par_bloc=a.sites_per_block)[
            "apparent_elevation"]
        heures_de_jour, maximum = client.compute([(hauteur > 0).sum(axis=1), hauteur.max(axis=1)],
                                                 sync=True)
    print(f"hours of daylight: {heures_de_jour.min()} to {heures_de_jour.max()}; "
          f"highest Sun: {maximum.min():.3f} to {maximum.max():.3f} degrees")
    if a.output:
        np.savez(a.output, latitude=latitudes, longitude=longitudes,
                 daylight_hours=heures_de_jour, highest_elevation=maximum)


if __name__ == "__main__":
    main()
