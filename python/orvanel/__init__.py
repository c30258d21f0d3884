"""The apparent position of the Sun from the complete VSOP87D theory, with nutation,
aberration, parallax and refraction: Orvanel's engine for NumPy and pandas.

    >>> import orvanel, pandas as pd
    >>> times = pd.date_range("2026-06-21", periods=24, freq="h", tz="Europe/Paris")
    >>> orvanel.solar_position(times, 48.85, 2.35)          # a DataFrame indexed by the times

Angles are in degrees, the equation of time in minutes, the distance in astronomical units.
Times are UTC (or time-zone aware); dynamical time - UTC is by default that of orvanel-cli:
the leap seconds' table, and the model of Delta T of Espenak and Meeus (2006) around it.
"""

import datetime as _dt
import numbers as _numbers
import os as _os

import numpy as _np

from . import _orvanel

__version__ = _orvanel.__version__
__all__ = ["solar_position", "day_events", "tt_minus_utc"]

_COLONNES = ("apparent_zenith", "zenith", "apparent_elevation", "elevation", "azimuth",
             "equation_of_time", "right_ascension", "declination", "distance")


def _pandas():
    try:
        import pandas
    except ImportError:  # pandas is optional: without it, dicts of arrays
        return None
    return pandas


def _utc_naif(d):
    """A datetime without a zone, in UTC (an aware one converted, a naive one taken as UTC)."""
    if d is None:
        return None
    if isinstance(d, _dt.datetime) and d.tzinfo is not None:
        return d.astimezone(_dt.timezone.utc).replace(tzinfo=None)
    return d


def _datetime64(times):
    """Times as datetime64[us] in UTC, with their shape; NaT stays NaT.

    Microseconds hold every year from -290000 to 294000, so that a time outside the program's
    dates reaches the range check as itself (in nanoseconds, 1500 or 2600 would wrap around to
    another date)."""
    pd = _pandas()
    # A number is no time: nanoseconds, seconds or days since when?
    if isinstance(times, (_numbers.Number, _np.number)) and not isinstance(times, bool) or (
            isinstance(times, _np.ndarray) and times.dtype.kind in "iuf") or (
            isinstance(times, (list, tuple)) and times and
            all(isinstance(t, (_numbers.Number, _np.number)) for t in times)):
        raise ValueError("times must be datetimes (numpy datetime64, a pandas DatetimeIndex or "
                         "Timestamp, datetime.datetime or date, ISO 8601 strings), not numbers")
    if pd is not None:
        if isinstance(times, pd.Series):
            times = pd.DatetimeIndex(times)
        if isinstance(times, pd.DatetimeIndex):
            if times.tz is not None:
                times = times.tz_convert("UTC").tz_localize(None)
            return _np.asarray(times.values).astype("datetime64[us]")
    if isinstance(times, _np.ndarray) and times.dtype.kind == "M":
        return times.astype("datetime64[us]")
    if isinstance(times, (_dt.datetime, _dt.date, _np.datetime64, str)) or times is None:
        if times is None:
            return _np.asarray(_np.datetime64("NaT", "us"))
        valeur = _utc_naif(times)
        return _np.asarray(_np.datetime64(valeur).astype("datetime64[us]")
                           if isinstance(valeur, (_np.datetime64, str))
                           else _np.datetime64(valeur, "us"))
    objets = _np.asarray(times, dtype=object)
    naifs = _np.frompyfunc(
        lambda d: _np.datetime64("NaT", "us") if d is None else _np.datetime64(_utc_naif(d), "us"),
        1, 1)
    return _np.asarray(naifs(objets), dtype="datetime64[us]")


def _secondes_unix(us):
    """Seconds since 1970 as floats, whole seconds exact; NaN for NaT."""
    forme = us.shape
    us = us.reshape(-1)  # a 0-d array's arithmetic would give scalars
    entiers = us.astype("int64")
    nat = _np.isnat(us)
    secondes = (entiers // 1_000_000).astype(float) + (entiers % 1_000_000) / 1e6
    secondes[nat] = _np.nan
    return secondes.reshape(forme)


def _tt(tt_minus_utc):
    if tt_minus_utc is None:
        return float("nan")
    valeur = float(tt_minus_utc)
    if not _np.isfinite(valeur):
        raise ValueError(f"tt_minus_utc must be a finite number of seconds: {tt_minus_utc!r}")
    return valeur


def solar_position(times, latitude, longitude, altitude=0.0, pressure=101325.0,
                   temperature=12.0, tt_minus_utc=None, jobs=None):
    """The Sun's apparent position for every time and site.

    times: a NumPy datetime64 array, a pandas DatetimeIndex (time-zone aware or UTC) or a
        sequence of datetimes (naive ones are UTC); NaT (or None) gives NaN.
    latitude, longitude (degrees, North and East positive), altitude (metres), pressure
        (pascals) and temperature (degrees Celsius): scalars or arrays, broadcast against the
        times by NumPy's rules, so a column of sites against a row of times gives a
        sites x times grid. Pressure and temperature act on the refracted columns only.
        A NaN pressure or temperature is missing weather: NaN in that element's refracted
        columns alone. pressure=None takes the pressure of the site's altitude in the standard
        atmosphere, 101325 Pa (1 - 2.25577e-5 h)^5.25588 (pvlib's alt2pres).
    tt_minus_utc: dynamical time - UTC in seconds, or None for the default at each time.
    jobs: threads, a whole number from 1 (by default, every processor).

    Returns a dict of arrays of the broadcast shape, or, for one site, a pandas DataFrame when
    the times are pandas: indexed by a DatetimeIndex, by a Series' own index, or one row for a
    Timestamp: apparent_zenith, zenith,
    apparent_elevation, elevation, azimuth (from north through east), equation_of_time
    (minutes), right_ascension, declination (apparent, geocentric) and distance (au).
    Raises ValueError for a site, weather or time out of range ({first} .. {last}).
    """
    pd = _pandas()
    for nom, valeur in (("latitude", latitude), ("longitude", longitude), ("altitude", altitude),
                        ("temperature", temperature)):
        if valeur is None:
            raise ValueError(f"{nom} is required: a number or an array of numbers, not None")
    if pressure is None:
        # The pressure of the site's altitude in the standard atmosphere (pvlib's alt2pres).
        pressure = 101325.0 * (1 - 2.25577e-5 * _np.asarray(altitude, dtype=float)) ** 5.25588
    if jobs is not None and (isinstance(jobs, bool) or not isinstance(jobs, _numbers.Integral)
                             or jobs < 1):
        raise ValueError(f"jobs must be a whole number of threads, 1 or more: {jobs!r}")
    instants = _datetime64(times)
    secondes = _np.ascontiguousarray(_secondes_unix(instants).ravel())
    index = _np.arange(secondes.size, dtype=_np.int64).reshape(instants.shape)
    try:
        tableaux = _np.broadcast_arrays(index, *(_np.asarray(v, dtype=float) for v in
                                                 (latitude, longitude, altitude, pressure,
                                                  temperature)))
    except ValueError as e:
        raise ValueError(f"times and sites cannot be broadcast together: {e}") from None
    forme = tableaux[0].shape
    plats = [_np.ascontiguousarray(a).ravel() for a in tableaux]
    colonnes = _orvanel.grille(secondes, plats[0], plats[1], plats[2], plats[3], plats[4],
                               plats[5], _tt(tt_minus_utc),
                               int(jobs) if jobs is not None else (_os.cpu_count() or 1))
    resultat = {nom: colonnes[nom].reshape(forme) for nom in _COLONNES}
    un_site = all(_np.ndim(v) == 0 for v in (latitude, longitude, altitude))
    # pandas in, pandas out: a DatetimeIndex indexes the table, a Series lends its own index, a
    # Timestamp gives a table of one row.
    if pd is not None and un_site:
        if isinstance(times, pd.DatetimeIndex) and forme == times.shape:
            return pd.DataFrame(resultat, index=times)
        if isinstance(times, pd.Series) and forme == times.shape:
            return pd.DataFrame(resultat, index=times.index)
        if isinstance(times, pd.Timestamp):
            return pd.DataFrame({nom: _np.reshape(v, 1) for nom, v in resultat.items()},
                                index=pd.DatetimeIndex([times]))
    return resultat


def tt_minus_utc(times):
    """The default dynamical time - UTC (seconds) at each time, as solar_position takes it."""
    secondes = _secondes_unix(_datetime64(times))
    return _np.vectorize(_orvanel.tt_moins_utc, otypes=[float])(secondes)


_NOMS = {("rise", "horizon"): "sunrise", ("set", "horizon"): "sunset",
         ("rise", "civil"): "civil_dawn", ("set", "civil"): "civil_dusk",
         ("rise", "nautical"): "nautical_dawn", ("set", "nautical"): "nautical_dusk",
         ("rise", "astronomical"): "astronomical_dawn", ("set", "astronomical"): "astronomical_dusk"}


def _utc(secondes):
    return _dt.datetime.fromtimestamp(secondes, tz=_dt.timezone.utc)


def day_events(date, latitude, longitude, altitude=0.0, tt_minus_utc=None):
    """The day's events at a site, as orvanel-cli's `jour` gives them.

    date: a datetime.date (or datetime, numpy.datetime64, pandas Timestamp, "YYYY-MM-DD").
    The day runs 24 hours from the site's mean midnight (00:00 UTC less longitude / 15 h).

    Returns a dict: "date"; "start" (the day's first instant, UTC); "events" in time order,
    each a dict of "event" (transit, lower_transit, sunrise, sunset, civil_dawn, civil_dusk,
    nautical_dawn, ..., astronomical_dusk), "type" (transit, lower_transit, rise, set),
    "threshold" (horizon, civil, nautical, astronomical, or None), "time" (UTC),
    "azimuth" and "elevation" (degrees, without refraction); "states" of each threshold
    (crossed, always_above, always_below); "day_length" and "day_length_change" (minutes).
    """
    if isinstance(date, str):
        try:
            date = _dt.date.fromisoformat(date[:10])
        except ValueError:
            raise ValueError(f"not a date: {date!r}") from None
    elif isinstance(date, _np.datetime64):
        date = date.astype("datetime64[D]").astype(_dt.date)
    elif isinstance(date, _dt.datetime):
        date = date.date()
    if not isinstance(date, _dt.date):
        raise ValueError(f"not a date: {date!r}")
    brut = _orvanel.jour(date.year, date.month, date.day, float(latitude), float(longitude),
                         float(altitude), _tt(tt_minus_utc))
    evenements = []
    for e in brut["events"]:
        nom = _NOMS.get((e["type"], e["threshold"]), e["type"])
        evenements.append({"event": nom, "type": e["type"], "threshold": e["threshold"],
                           "time": _utc(e["unix_utc"]), "azimuth": e["azimuth"],
                           "elevation": e["elevation"]})
    return {"date": date, "start": _utc(brut["start_unix_utc"]), "events": evenements,
            "states": dict(brut["states"]), "day_length": brut["day_length"],
            "day_length_change": brut["day_length_change"]}


# The dates in the docstrings come from the compiled half, where the ranges are defined.
solar_position.__doc__ = solar_position.__doc__.format(first=_orvanel.FIRST_DATE,
                                                       last=_orvanel.LAST_DATE)
