"""The Sun's apparent position at times and sites: solar_position, with pvlib's columns."""

import numpy as _np

from . import _orvanel
from ._edge import _pandas, _site_requis, _taches, _tt_tableau
from .timescales import _datetime64, _secondes_unix


_COLONNES = ("apparent_zenith", "zenith", "apparent_elevation", "elevation", "azimuth",
             "equation_of_time", "right_ascension", "declination", "distance", "hour_angle",
             "solar_time")


def solar_position(times, latitude, longitude, altitude=0.0, pressure=101325.0,
                   temperature=_orvanel.DEFAULT_TEMPERATURE_C, tt_minus_utc=None, jobs=None):
    """The Sun's apparent position for every time and site.

    Parameters
    ----------
    times : numpy.ndarray, pandas.DatetimeIndex, pandas.Series, pandas.Timestamp or sequence
        datetime64 values, time-zone aware or UTC pandas times, datetimes (naive ones are UTC)
        or ISO 8601 strings, from {first} to {last}; NaT (or None) gives NaN. Numbers are
        refused: seconds or nanoseconds since when?
    latitude, longitude : float or array_like
        Degrees, North and East positive; broadcast against the times by NumPy's rules, so a
        column of sites against a row of times gives a sites x times grid.
    altitude : float or array_like, default 0
        Metres above the reference ellipsoid.
    pressure : float, array_like or None, default 101325
        Pascals, for the refracted columns, within the refraction model's domain,
        {pmin:.0f} to {pmax:.0f} Pa; NaN is
        missing weather (NaN in that element's refracted columns alone); None takes the
        pressure of the site's altitude in the standard atmosphere,
        101325 (1 - 2.25577e-5 h)^5.25588 Pa (pvlib's ``alt2pres``).
    temperature : float or array_like, default 12
        Degrees Celsius, for the refracted columns, {tmin:g} to {tmax:g}; NaN is missing
        weather.
    tt_minus_utc : float or array_like, optional
        Dynamical time - UTC in seconds (pvlib's ``delta_t`` plus UT1 - UTC), broadcast like
        the sites; None, or NaN in an array, takes the default at each time (see
        `tt_minus_utc`).
    jobs : int, optional
        Threads, a whole number from 1 (by default, every processor).

    Returns
    -------
    pandas.DataFrame or dict of numpy.ndarray
        For one site and pandas times, a DataFrame indexed by the DatetimeIndex, by a Series'
        own index, or one row for a Timestamp; else a dict of arrays of the broadcast shape.
        Columns: ``apparent_zenith``, ``zenith``, ``apparent_elevation``, ``elevation``,
        ``azimuth`` (from north through east, [0, 360)), ``equation_of_time`` (minutes),
        ``right_ascension``, ``declination`` (apparent, geocentric), ``distance`` (au),
        ``hour_angle`` (the topocentric hour angle, degrees westward in [-180, 180), 0 at the
        transit) and ``solar_time`` (apparent solar time, hours in [0, 24), 12 at the
        transit).

    Raises
    ------
    ValueError
        For a site, weather or time out of range, naming it (a time as an ISO 8601 date).

    See Also
    --------
    sun_rise_set_transit : the day's events of each date.

    Notes
    -----
    The Earth's heliocentric position is the complete VSOP87D series (Bretagnon & Francou
    1988), reduced to the apparent place with the FK5 correction, 60 of the 106 terms of
    the IAU 1980 nutation (not the largest 60: eleven of 0.0003" to 0.0005" are left out, eight
    of 0.0001" to 0.0002" are in), the annual aberration and the Earth's flattening in the parallax.
    Sidereal time is the IAU 1982 expression with UT1 taken equal to UTC. Refraction is the
    program's model of the Sun's refraction for the given pressure and temperature, whose
    domain is the pressure range above; it is zero below -1 degree of true elevation.

    References
    ----------
    .. [1] P. Bretagnon and G. Francou, "Planetary theories in rectangular and spherical
       variables. VSOP87 solutions", Astronomy and Astrophysics 202, 309-315 (1988).
    .. [2] J. Meeus, Astronomical Algorithms, 2nd ed., Willmann-Bell (1998), chapters 22, 25
       and 32.

    Examples
    --------
    >>> import orvanel, pandas as pd
    >>> heures = pd.date_range("2026-06-21 12:00", periods=2, freq="h", tz="Europe/Paris")
    >>> orvanel.solar_position(heures, 48.85, 2.35)["azimuth"].round(1).tolist()
    [128.8, 153.2]
    """
    pd = _pandas()
    _site_requis(latitude=latitude, longitude=longitude, altitude=altitude,
                 temperature=temperature)
    if pressure is None:
        # The pressure of the site's altitude in the standard atmosphere (pvlib's alt2pres).
        pressure = 101325.0 * (1 - 2.25577e-5 * _np.asarray(altitude, dtype=float)) ** 5.25588
    taches = _taches(jobs)
    instants = _datetime64(times)
    secondes = _np.ascontiguousarray(_secondes_unix(instants).ravel())
    index = _np.arange(secondes.size, dtype=_np.int64).reshape(instants.shape)
    tt = _tt_tableau(tt_minus_utc)
    sites = [_np.asarray(v, dtype=float) for v in (latitude, longitude, altitude, pressure,
                                                   temperature)]
    produit = _produit(instants.shape, sites) if tt.ndim == 0 else None
    if produit is not None:
        forme, a = produit
        # Sites over the leading axes, times over the trailing ones: the grid is their product,
        # computed without arrays of its whole shape on the way in.
        colonnes = _orvanel.grille_produit(
            _np.ascontiguousarray(_np.broadcast_to(
                secondes.reshape(_aligne(instants.shape, len(forme))[a:]), forme[a:]).ravel()),
            *(_np.ascontiguousarray(_np.broadcast_to(
                v.reshape(_aligne(v.shape, len(forme))[:a]), forme[:a]).ravel()) for v in sites),
            float(tt), taches)
        return _tableau(times, {nom: colonnes[nom].reshape(forme) for nom in _COLONNES}, forme,
                        latitude, longitude, altitude)
    try:
        tableaux = _np.broadcast_arrays(index, *(_np.asarray(v, dtype=float) for v in
                                                 (latitude, longitude, altitude, pressure,
                                                  temperature)), tt)
    except ValueError as e:
        raise ValueError(f"times and sites cannot be broadcast together: {e}") from None
    forme = tableaux[0].shape
    plats = [_np.ascontiguousarray(a).ravel() for a in tableaux]
    # One dynamical time for all lets each instant's geocentric part serve every site.
    tts = _np.ascontiguousarray(tt.reshape(1) if tt.ndim == 0 else plats[6])
    colonnes = _orvanel.grille(secondes, plats[0], plats[1], plats[2], plats[3], plats[4],
                               plats[5], tts, taches)
    return _tableau(times, {nom: colonnes[nom].reshape(forme) for nom in _COLONNES}, forme,
                    latitude, longitude, altitude)


def _aligne(forme, n):
    """A shape with ones in front, to n axes, as broadcasting aligns it."""
    return (1,) * (n - len(forme)) + tuple(forme)


def _produit(forme_temps, sites):
    """(shape, a) when the grid is every site by every time, the sites varying only along axes
    before a and the times only along axes from a on; None otherwise."""
    try:
        forme = _np.broadcast_shapes(forme_temps, *(v.shape for v in sites))
    except ValueError:
        return None
    n = len(forme)
    t = _aligne(forme_temps, n)
    s = [_aligne(v.shape, n) for v in sites]
    for a in range(n, -1, -1):
        if all(d == 1 for d in t[:a]) and all(d == 1 for x in s for d in x[a:]):
            return forme, a
    return None


def _tableau(times, resultat, forme, latitude, longitude, altitude):
    """pandas in, pandas out: a DatetimeIndex indexes the table, a Series lends its own index, a
    Timestamp gives a table of one row; else the dict of arrays."""
    pd = _pandas()
    un_site = all(_np.ndim(v) == 0 for v in (latitude, longitude, altitude))
    if pd is not None and un_site:
        if isinstance(times, pd.DatetimeIndex) and forme == times.shape:
            return pd.DataFrame(resultat, index=times)
        if isinstance(times, pd.Series) and forme == times.shape:
            return pd.DataFrame(resultat, index=times.index)
        if isinstance(times, pd.Timestamp):
            return pd.DataFrame({nom: _np.reshape(v, 1) for nom, v in resultat.items()},
                                index=pd.DatetimeIndex([times]))
    return resultat
