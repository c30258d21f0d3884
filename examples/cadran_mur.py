#!/usr/bin/env python3
"""A sundial for a real wall: a vertical wall facing south-south-west (azimuth 202.5 degrees)
at the Capitole of Toulouse, with a polar style, its hours and half hours of apparent solar
time, the solstices and equinoxes and the mean time of the zone's meridian; drawn at true scale
(one millimetre of the file a millimetre of the wall) and saved as SVG, with the site, the
orientation and the gnomon written below the dial.

    python3 cadran_mur.py --lat 43.6045 --lon 1.4440 --wall-azimuth 202.5 --style 180 \\
        --width 600 --height 500 --year 2026
    # writes cadran_mur.svg in the current folder (or --out FOLDER)
"""

import argparse
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import orvanel  # noqa: E402

MARGE = 15  # mm around the dial, and the legend's height below it
LEGENDE = 20
COULEURS = {"hour": ("black", 1.0), "half_hour": ("black", 0.4), "date": ("#1f5fa8", 0.6),
            "analemma": ("#962020", 0.5)}


def cadran(a):
    """The dial's lines, and the figure that draws them at true scale."""
    lignes = orvanel.sundial(a.lat, a.lon, a.altitude, wall_azimuth=a.wall_azimuth,
                             inclination=90, style_length=a.style, size=(a.width, a.height),
                             lines=["hours", "half_hours", "dates", "analemmas"], year=a.year)
    largeur, hauteur = a.width + 2 * MARGE, a.height + 2 * MARGE + LEGENDE
    figure = plt.figure(figsize=(largeur / 25.4, hauteur / 25.4))
    # Axes in millimetres from the style's foot, placed so that one unit is one millimetre.
    axes = figure.add_axes([MARGE / largeur, (MARGE + LEGENDE) / hauteur, a.width / largeur,
                            a.height / hauteur])
    # The area where sundial centred it.
    cx, cy = lignes.attrs["center_mm"]
    axes.set_xlim(cx - a.width / 2, cx + a.width / 2)
    axes.set_ylim(cy - a.height / 2, cy + a.height / 2)
    axes.set_xticks([])
    axes.set_yticks([])
    for (sorte, etiquette, _), morceau in lignes.groupby(["line", "label", "piece"], sort=False):
        couleur, trait = COULEURS[sorte]
        axes.plot(morceau["x_mm"], morceau["y_mm"], color=couleur, linewidth=trait)
        if sorte == "hour":
            x, y = morceau["x_mm"].iloc[-1], morceau["y_mm"].iloc[-1]
            axes.annotate(etiquette, (x, y), fontsize=7, ha="center", va="center")
    axes.plot([0], [0], "ko", markersize=3)
    declinaison = a.wall_azimuth - 180
    figure.text(MARGE / largeur, MARGE / hauteur,
                f"{a.nom} ({a.lat:.4f}° N, {a.lon:.4f}° E) — mur vertical vers l'azimut "
                f"{a.wall_azimuth:g}° (déclinaison {abs(declinaison):g}° "
                f"{'ouest' if declinaison >= 0 else 'est'}) — style polaire de {a.style:g} mm "
                f"— année {a.year}", fontsize=7, va="bottom")
    return lignes, figure


def main(arguments=None):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--lat", type=float, default=43.6045)
    p.add_argument("--lon", type=float, default=1.4440)
    p.add_argument("--altitude", type=float, default=146)
    p.add_argument("--nom", default="Toulouse, place du Capitole")
    p.add_argument("--wall-azimuth", type=float, default=202.5)
    p.add_argument("--style", type=float, default=180, help="style length, mm")
    p.add_argument("--width", type=float, default=600)
    p.add_argument("--height", type=float, default=500)
    p.add_argument("--year", type=int, default=2026)
    p.add_argument("--out", default=".")
    a = p.parse_args(arguments)
    lignes, figure = cadran(a)
    sortie = pathlib.Path(a.out) / "cadran_mur.svg"
    figure.savefig(sortie, format="svg")
    plt.close(figure)
    return lignes, sortie


if __name__ == "__main__":
    main()
