#!/usr/bin/env python3
"""An hourly year at a site, as a pvlib user computes it, through Orvanel: the Sun's position
for each hour and the day's events for each date, written as a CSV and plotted (elevation and
day length over the year).

A pvlib script switches with one line, and reads the same columns (apparent_zenith, zenith,
apparent_elevation, elevation, azimuth, equation_of_time):

    # solpos = pvlib.solarposition.get_solarposition(times, latitude, longitude, altitude)
    solpos = orvanel.solar_position(times, latitude, longitude, altitude)

and sun_rise_set_transit gives pvlib's sunrise, sunset and transit with the twilights and the
day length beside them.

    python3 annee_horaire.py --lat 45.76 --lon 4.84 --height 170 --tz Europe/Paris --year 2027
    # writes annee_horaire.csv and annee_horaire.png in the current folder (or --out FOLDER)
"""

import argparse
import pathlib

import pandas as pd

import orvanel


def annee(latitude, longitude, altitude, zone, an):
    """The year's hours in legal time: the position of each, and beside it its date's events."""
    heures = pd.date_range(f"{an}-01-01", f"{an + 1}-01-01", freq="h", tz=zone, inclusive="left")
    position = orvanel.solar_position(heures, latitude, longitude, altitude)
    jours = orvanel.sun_rise_set_transit(heures, latitude, longitude, altitude)
    colonnes = ["sunrise", "transit", "sunset", "day_length"]
    return position.join(jours[colonnes])


def trace(table, chemin, titre):
    """Elevation by hour and day length by date, one above the other."""
    import matplotlib

    matplotlib.use("Agg")  # no display needed
    import matplotlib.pyplot as plt

    figure, (haut, bas) = plt.subplots(2, 1, figsize=(10, 7), sharex=True)
    haut.plot(table.index, table["apparent_elevation"].clip(lower=0), linewidth=0.3)
    haut.set_ylabel("apparent elevation (°)")
    haut.set_title(titre)
    par_jour = table["day_length"].groupby(table.index.date).first() / 60
    bas.plot(pd.to_datetime(par_jour.index), par_jour.values)
    bas.set_ylabel("day length (h)")
    figure.tight_layout()
    figure.savefig(chemin, dpi=100)
    plt.close(figure)


def main(arguments=None):
    lecteur = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    lecteur.add_argument("--lat", type=float, default=45.76)
    lecteur.add_argument("--lon", type=float, default=4.84)
    lecteur.add_argument("--height", type=float, default=170.0)
    lecteur.add_argument("--tz", default="Europe/Paris")
    lecteur.add_argument("--year", type=int, default=2027)
    lecteur.add_argument("--out", type=pathlib.Path, default=pathlib.Path("."))
    a = lecteur.parse_args(arguments)
    table = annee(a.lat, a.lon, a.height, a.tz, a.year)
    a.out.mkdir(parents=True, exist_ok=True)
    table.to_csv(a.out / "annee_horaire.csv", index_label="time")
    trace(table, a.out / "annee_horaire.png",
          f"The Sun at {a.lat}°, {a.lon}° in {a.year} ({a.tz})")
    print(f"{len(table)} hours written to {a.out / 'annee_horaire.csv'} and plotted in "
          f"{a.out / 'annee_horaire.png'}")
    return table


if __name__ == "__main__":
    main()
