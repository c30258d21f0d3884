#!/usr/bin/env python3
"""A year of hourly rotations of a single-axis tracker row at a site, with a fixed-tilt plane
beside it: the Sun's apparent position for each hour, the tracker's rotation (backtracking so
that its rows never shade each other) and the angle of incidence on its modules and on the
plane, the air mass and the irradiance above the atmosphere; written as a CSV and plotted.

    python3 suiveur_annee.py --lat 37.1 --lon -2.4 --height 500 --tz Europe/Madrid --year 2027 \\
        --max-angle 60 --gcr 0.35 --tilt 30
    # writes suiveur_annee.csv and suiveur_annee.png in the current folder (or --out FOLDER)
"""

import argparse
import pathlib

import numpy as np
import pandas as pd

import orvanel


def annee(a):
    """The year's hours in legal time, each with the Sun, the tracker and the plane."""
    heures = pd.date_range(f"{a.year}-01-01", f"{a.year + 1}-01-01", freq="h", tz=a.tz,
                           inclusive="left")
    soleil = orvanel.solar_position(heures, a.lat, a.lon, a.height, pressure=None)
    suivi = orvanel.singleaxis(soleil["apparent_zenith"], soleil["azimuth"], axis_tilt=0,
                               axis_azimuth=180, max_angle=a.max_angle, backtrack=True,
                               gcr=a.gcr, cross_axis_tilt=a.cross_slope)
    table = soleil[["apparent_elevation", "azimuth", "hour_angle", "solar_time"]].join(suivi)
    # The fixed plane faces south at its tilt; its incidence counts while the Sun is up.
    table["fixed_aoi"] = orvanel.aoi(a.tilt, 180, soleil["apparent_zenith"], soleil["azimuth"])
    table["airmass"] = orvanel.airmass(soleil["apparent_zenith"])
    table["extra_radiation"] = orvanel.extra_radiation(heures)
    return table


def trace(table, chemin, titre):
    """The rotation through three days of the year (a solstice, an equinox), and over the year
    the daily mean cosine of incidence on the tracker and on the plane."""
    import matplotlib

    matplotlib.use("Agg")  # no display needed
    import matplotlib.pyplot as plt

    figure, (haut, bas) = plt.subplots(2, 1, figsize=(10, 7))
    for jour in ("06-21", "03-20", "12-21"):
        un = table[table.index.strftime("%m-%d") == jour]
        haut.plot(un.index.hour, un["tracker_theta"], marker=".", label=jour)
    haut.set_xlabel("legal hour")
    haut.set_ylabel("rotation (°, west positive)")
    haut.set_title(titre)
    haut.legend()
    jour = table.index.date
    debout = table["apparent_elevation"] > 0
    for colonne, nom in (("aoi", "tracker"), ("fixed_aoi", "fixed plane")):
        cosinus = np.cos(np.radians(table[colonne])).clip(lower=0).where(debout, 0)
        par_jour = cosinus.groupby(jour).sum()
        bas.plot(pd.to_datetime(par_jour.index), par_jour.values, label=nom)
    bas.set_ylabel("sum of cos(incidence) a day (h)")
    bas.legend()
    figure.tight_layout()
    figure.savefig(chemin, dpi=100)
    plt.close(figure)


def main(arguments=None):
    lecteur = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    lecteur.add_argument("--lat", type=float, default=37.1)
    lecteur.add_argument("--lon", type=float, default=-2.4)
    lecteur.add_argument("--height", type=float, default=500.0)
    lecteur.add_argument("--tz", default="Europe/Madrid")
    lecteur.add_argument("--year", type=int, default=2027)
    lecteur.add_argument("--max-angle", type=float, default=60.0)
    lecteur.add_argument("--gcr", type=float, default=0.35)
    lecteur.add_argument("--cross-slope", type=float, default=0.0)
    lecteur.add_argument("--tilt", type=float, default=30.0, help="the fixed plane's tilt")
    lecteur.add_argument("--out", type=pathlib.Path, default=pathlib.Path("."))
    a = lecteur.parse_args(arguments)
    table = annee(a)
    a.out.mkdir(parents=True, exist_ok=True)
    table.to_csv(a.out / "suiveur_annee.csv", index_label="time")
    trace(table, a.out / "suiveur_annee.png",
          f"A tracker row at {a.lat}°, {a.lon}° in {a.year} (max {a.max_angle}°, gcr {a.gcr})")
    print(f"{len(table)} hours written to {a.out / 'suiveur_annee.csv'} and plotted in "
          f"{a.out / 'suiveur_annee.png'}")
    return table


if __name__ == "__main__":
    main()
