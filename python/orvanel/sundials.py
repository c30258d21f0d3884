"""Planar sundials: the lines a dial maker draws on a wall of any orientation, and the shadow
of the gnomon at given times."""

import datetime as _dt

import numpy as _np

from . import _orvanel
from ._edge import _pandas, _site_requis
from .timescales import _datetime64, _secondes_unix

def _gnomon(style_length, nodus_distance):
    """(nodus, length) from the one of the two that is given."""
    if (style_length is None) == (nodus_distance is None):
        raise ValueError("give one of style_length (a polar style) or nodus_distance (a nodus), "
                         "in millimetres")
    return (False, float(style_length)) if nodus_distance is None else (True, float(nodus_distance))


def sundial(latitude, longitude, altitude=0.0, wall_azimuth=180.0, inclination=90.0,
            style_length=None, nodus_distance=None, lines=("hours", "dates"),
            size=(400.0, 400.0), center=None, year=None, meridian=None, tt_minus_utc=None):
    """The lines of a planar sundial at a site.

    Parameters
    ----------
    latitude, longitude : float
        Degrees, North and East positive.
    altitude : float, default 0
        Metres above the reference ellipsoid.
    wall_azimuth : float, default 180
        The azimuth the dial's face looks toward, degrees from north through east (180: a wall
        facing due south); the gnomonists' declination is wall_azimuth - 180, west positive.
    inclination : float, default 90
        The plane's tilt, degrees: 0 a horizontal dial facing up, 90 a vertical wall, up to 180.
    style_length, nodus_distance : float
        One of the two, millimetres: a polar style of that length from its foot along the
        Earth's axis, or a nodus that far from the plane on its normal.
    lines : sequence of str, default ("hours", "dates")
        Among "hours", "half_hours", "quarter_hours" (apparent solar time), "dates" (the
        solstices and equinoxes), "signs" (the Sun's entry into each sign of the zodiac),
        "months" (the first of each month), "analemmas" (each hour of the mean time of the
        zone's meridian through the year), "babylonian" and "italic" (hours since sunrise and
        since the previous sunset).
    size : (float, float), default (400, 400)
        The drawn area's width and height in millimetres.
    center : (float, float), optional
        The area's centre in the dial's frame, millimetres from the gnomon's foot; by default
        the median of the points of the hour lines from 9 h to 15 h.
    year : int, optional
        The year of the date lines and the analemmas; the current year by default.
    meridian : float, optional
        The zone's standard meridian for the analemmas, degrees East; by default the multiple
        of 15 nearest the longitude.
    tt_minus_utc : float, optional
        Dynamical time - UTC, seconds; the default of the year otherwise.

    Returns
    -------
    pandas.DataFrame or dict of arrays
        One row a point: ``line`` (the kind of line), ``label`` ("9 h", "solstice de juin"),
        ``piece`` (the number of the polyline the point belongs to: a line the area or the
        night cuts comes in several pieces), ``x_mm`` (along the plane's horizontal, to the
        right of whoever faces the dial) and ``y_mm`` (up the line of greatest slope; toward
        the north on a horizontal dial), from the gnomon's foot. The DataFrame's
        ``attrs["center_mm"]`` is the area's centre.

    Notes
    -----
    The hour lines of apparent time are those of the classical construction, for the Sun seen
    from the Earth's centre; the date lines see the Sun from the site, so that the shadow at a
    solstice lies on its line. A polar style within a degree of its plane, and a face the Sun
    never lights, are refused.

    References
    ----------
    .. [1] J. Meeus, Astronomical Algorithms, 2nd ed., Willmann-Bell (1998), chapters 27 and 58.
    .. [2] A. E. Waugh, Sundials: Their Theory and Construction, Dover (1973).

    Examples
    --------
    >>> import orvanel
    >>> d = orvanel.sundial(43.6045, 1.444, wall_azimuth=202.5, style_length=150, year=2026)
    >>> sorted(set(d["line"]))
    ['date', 'hour']
    >>> noon = d[d["label"] == "12 h"]
    >>> bool((noon["y_mm"] < 0).all())
    True
    """
    _site_requis(latitude=latitude, longitude=longitude)
    nodus, longueur = _gnomon(style_length, nodus_distance)
    if isinstance(lines, str):
        lines = (lines,)
    if year is None:
        year = _dt.datetime.now(_dt.timezone.utc).year
    if meridian is None:
        meridian = 15 * round(float(longitude) / 15)
    largeur, hauteur = (float(v) for v in size)
    cx, cy = (_np.nan, _np.nan) if center is None else (float(v) for v in center)
    d = _orvanel.lignes_cadran(float(latitude), float(longitude), float(altitude),
                               float(wall_azimuth), float(inclination), nodus, longueur,
                               list(lines), largeur, hauteur, cx, cy, int(year), float(meridian),
                               _np.nan if tt_minus_utc is None else float(tt_minus_utc))
    colonnes = {"line": _np.asarray(d["line"], dtype=object),
                "label": _np.asarray(d["label"], dtype=object),
                "piece": d["piece"].astype(_np.int64), "x_mm": d["x_mm"], "y_mm": d["y_mm"]}
    pd = _pandas()
    if pd is None:
        return colonnes
    table = pd.DataFrame(colonnes)
    table.attrs["center_mm"] = tuple(d["center"])
    return table


def sundial_shadow(times, latitude, longitude, altitude=0.0, wall_azimuth=180.0,
                   inclination=90.0, style_length=None, nodus_distance=None, pressure=None,
                   temperature=None, tt_minus_utc=None):
    """Where the shadow of a sundial's gnomon falls at given times.

    Parameters
    ----------
    times : numpy.ndarray, pandas.DatetimeIndex, pandas.Series or sequence
        As solar_position takes them; NaT gives NaN.
    latitude, longitude, altitude, wall_azimuth, inclination, style_length, nodus_distance
        The site and the dial, as sundial takes them.
    pressure, temperature : float or array_like, optional
        Pascals and degrees Celsius: both given, the Sun's altitude is refracted at that
        weather; none, it is not.
    tt_minus_utc : float, optional
        Dynamical time - UTC, seconds; the default at each time otherwise.

    Returns
    -------
    pandas.DataFrame or dict of arrays
        ``x_mm`` and ``y_mm`` of the shadow of the style's tip or of the nodus in the dial's
        frame (see sundial), NaN while the face is not lit, and ``lit``; indexed by the times
        when they are pandas times.

    Examples
    --------
    >>> import orvanel, pandas as pd
    >>> t = pd.date_range("2026-06-21 08:00", periods=3, freq="4h", tz="UTC")
    >>> s = orvanel.sundial_shadow(t, 43.6045, 1.444, wall_azimuth=202.5, nodus_distance=100)
    >>> s["lit"].tolist()
    [False, True, True]
    """
    _site_requis(latitude=latitude, longitude=longitude)
    nodus, longueur = _gnomon(style_length, nodus_distance)
    instants = _datetime64(times)
    secondes = _np.ascontiguousarray(_secondes_unix(instants).ravel())
    if (pressure is None) != (temperature is None):
        raise ValueError("give both pressure and temperature for refraction, or neither")
    vide = _np.empty(0)
    p = vide if pressure is None else _np.broadcast_to(
        _np.asarray(pressure, dtype=float), secondes.shape)
    t = vide if temperature is None else _np.broadcast_to(
        _np.asarray(temperature, dtype=float), secondes.shape)
    d = _orvanel.ombres_cadran(secondes, float(latitude), float(longitude), float(altitude),
                               float(wall_azimuth), float(inclination), nodus, longueur,
                               _np.ascontiguousarray(p), _np.ascontiguousarray(t),
                               _np.nan if tt_minus_utc is None else float(tt_minus_utc))
    resultat = {nom: d[nom].reshape(instants.shape) for nom in ("x_mm", "y_mm", "lit")}
    pd = _pandas()
    if pd is not None and instants.ndim == 1:
        index = times if isinstance(times, pd.DatetimeIndex) else (
            times.index if isinstance(times, pd.Series) else None)
        return pd.DataFrame(resultat, index=index)
    return resultat
