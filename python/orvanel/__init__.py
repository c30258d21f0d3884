"""The apparent position of the Sun from the complete VSOP87D theory, with nutation,
aberration, parallax and refraction, and the day's events: Orvanel's engine for NumPy and
pandas, with pvlib's names and conventions.

Angles are in degrees (azimuths from north through east), the equation of time in minutes, the
distance in astronomical units, day lengths in minutes. Times are UTC or time-zone aware; UT1 is
taken equal to UTC, and dynamical time - UTC is by default that of orvanel-cli: the leap
seconds' table, and the model of Delta T of Espenak and Meeus (2006) around it.

>>> import orvanel, pandas as pd
>>> heures = pd.date_range("2026-06-21", periods=24, freq="h", tz="Europe/Paris")
>>> table = orvanel.solar_position(heures, 48.85, 2.35)  # a DataFrame indexed by the hours
>>> round(float(table["apparent_elevation"].max()), 2)
64.55
"""

import datetime as _dt
import numbers as _numbers
import os as _os

import numpy as _np

from . import _orvanel

__version__ = _orvanel.__version__
__all__ = ["solar_position", "sun_rise_set_transit", "day_events", "year_events",
           "tt_minus_utc", "aoi", "aoi_projection", "singleaxis", "airmass", "extra_radiation"]

_COLONNES = ("apparent_zenith", "zenith", "apparent_elevation", "elevation", "azimuth",
             "equation_of_time", "right_ascension", "declination", "distance", "hour_angle",
             "solar_time")


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


def solar_position(times, latitude, longitude, altitude=0.0, pressure=101325.0,
                   temperature=12.0, tt_minus_utc=None, jobs=None):
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
    1988), reduced to the apparent place with the FK5 correction, the IAU 1980 nutation (its
    terms down to 0.0003"), the annual aberration and the Earth's flattening in the parallax.
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
    """The default dynamical time - UTC at each time, as every function takes it.

    Parameters
    ----------
    times : array_like of datetimes
        As in `solar_position`.

    Returns
    -------
    numpy.ndarray
        Seconds: TAI - UTC + 32.184 s from the leap seconds' table while it is confirmed;
        before 1972 and after the table, Delta T from the polynomials of Espenak and Meeus
        (2006), joined to the table's last value without a jump. NaN for NaT.

    Examples
    --------
    >>> import orvanel, numpy as np
    >>> orvanel.tt_minus_utc(np.array(["2026-06-21"], "datetime64[s]")).tolist()
    [69.184]
    """
    secondes = _secondes_unix(_datetime64(times))
    return _np.vectorize(_orvanel.tt_moins_utc, otypes=[float])(secondes)


def _site_requis(**valeurs):
    for nom, valeur in valeurs.items():
        if valeur is None:
            raise ValueError(f"{nom} is required: a number or an array of numbers, not None")


def _taches(jobs):
    if jobs is not None and (isinstance(jobs, bool) or not isinstance(jobs, _numbers.Integral)
                             or jobs < 1):
        raise ValueError(f"jobs must be a whole number of threads, 1 or more: {jobs!r}")
    return int(jobs) if jobs is not None else (_os.cpu_count() or 1)


def _tt_tableau(tt_minus_utc):
    """Dynamical time - UTC as an array of seconds, NaN where the default is to be taken."""
    if tt_minus_utc is None:
        return _np.asarray(_np.nan)
    try:
        valeurs = _np.asarray(tt_minus_utc, dtype=float)
    except (TypeError, ValueError):
        raise ValueError(f"tt_minus_utc must be seconds, a number or an array of numbers: "
                         f"{tt_minus_utc!r}") from None
    if _np.isinf(valeurs).any():
        raise ValueError(f"tt_minus_utc must be a finite number of seconds: {tt_minus_utc!r}")
    return valeurs


# ---- The day's events ----

# The columns of a day's table, in the order the compiled half fills them: the transit, then
# the first rise and last set of the standard thresholds.
_COLONNES_JOUR = ("transit", "sunrise", "sunset", "civil_dawn", "civil_dusk", "nautical_dawn",
                  "nautical_dusk", "astronomical_dawn", "astronomical_dusk")
_SEUILS = ("horizon", "civil", "nautical", "astronomical")
_ETATS = ("crossed", "always_above", "always_below")
_NOMS = {("rise", s): m for s, m in zip(_SEUILS, _COLONNES_JOUR[1::2])}
_NOMS.update({("set", s): d for s, d in zip(_SEUILS, _COLONNES_JOUR[2::2])})


def _nom_seuil(a):
    """The columns' word for an altitude of the caller's: +6, -4, +0.5."""
    return f"{a:+g}"


def _seuils(thresholds):
    try:
        valeurs = [float(a) for a in _np.atleast_1d(_np.asarray(thresholds, dtype=float))]
    except (TypeError, ValueError):
        raise ValueError(f"thresholds must be altitudes in degrees: {thresholds!r}") from None
    if any(not _np.isfinite(a) for a in valeurs):
        raise ValueError(f"thresholds must be finite altitudes in degrees: {thresholds!r}")
    return valeurs


def _horizon(horizon):
    """A skyline as an (n, 2) array of azimuth and altitude, degrees; empty for none."""
    if horizon is None:
        return _np.empty((0, 2))
    if hasattr(horizon, "columns"):
        manquantes = {"azimuth", "altitude"} - set(horizon.columns)
        if manquantes:
            raise ValueError("a horizon DataFrame needs the columns azimuth and altitude")
        horizon = _np.column_stack([_np.asarray(horizon["azimuth"], dtype=float),
                                    _np.asarray(horizon["altitude"], dtype=float)])
    points = _np.asarray(horizon, dtype=float)
    if points.ndim != 2 or points.shape[1] != 2:
        raise ValueError("horizon must be (azimuth, altitude) points: an array of shape (n, 2) "
                         "or a DataFrame with the columns azimuth and altitude")
    return _np.ascontiguousarray(points)


def _nom_zone(tz):
    """The time zone database's name of a zone (a name, or a zoneinfo, pytz or dateutil
    tzinfo), "" for none or UTC: the UTC date and the site's own day."""
    if tz is None:
        return ""
    nom = tz if isinstance(tz, str) else (getattr(tz, "key", None) or getattr(tz, "zone", None)
                                          or str(tz))
    return "" if nom in ("UTC", "Etc/UTC") else nom


def _dates_locales(times):
    """Each time's calendar date (days since 1970, int64, NaT as its minimum) in its own zone,
    and that zone's name ("" for naive times or UTC)."""
    pd = _pandas()
    if pd is not None and isinstance(times, (list, tuple)) and times and all(
            isinstance(t, _dt.datetime) and t.tzinfo is not None for t in times):
        times = pd.DatetimeIndex(times)  # aware datetimes: their own wall clock's dates
    if pd is not None and isinstance(times, (pd.Series, pd.DatetimeIndex, pd.Timestamp)):
        index = pd.DatetimeIndex([times] if isinstance(times, pd.Timestamp) else times)
        zone = _nom_zone(index.tz)
        if index.tz is not None:
            index = index.tz_localize(None)  # the wall clock's date
        jours = _np.asarray(index.values).astype("datetime64[D]")
        return jours.astype("int64"), zone
    if isinstance(times, _dt.datetime) and times.tzinfo is not None:
        zone = _nom_zone(times.tzinfo)
        jours = _np.asarray(_np.datetime64(times.replace(tzinfo=None), "D"))
        return jours.astype("int64"), zone
    return _datetime64(times).astype("datetime64[D]").astype("int64"), ""


def _colonnes_jours(jours, zone, latitude, longitude, altitude, tt_minus_utc, eye_height,
                    thresholds, horizon, jobs):
    """The day's table for dates (int64 days) at sites, as plain arrays of the broadcast shape:
    times as datetime64[ms] in UTC, states as words, day_length in minutes."""
    seuils = _seuils(thresholds)
    points = _horizon(horizon)
    index = _np.arange(jours.size, dtype=_np.int64).reshape(jours.shape)
    try:
        tableaux = _np.broadcast_arrays(index, *(_np.asarray(v, dtype=float) for v in
                                                 (latitude, longitude, altitude)),
                                        _tt_tableau(tt_minus_utc))
    except ValueError as e:
        raise ValueError(f"times and sites cannot be broadcast together: {e}") from None
    forme = tableaux[0].shape
    plats = [_np.ascontiguousarray(a).ravel() for a in tableaux]
    brut = _orvanel.jours(_np.ascontiguousarray(jours.ravel()[plats[0]]), plats[1], plats[2],
                          plats[3], plats[4], float(eye_height), seuils, points, zone,
                          _taches(jobs))
    noms = list(_COLONNES_JOUR)
    for a in seuils:
        noms += [f"rise_{_nom_seuil(a)}", f"set_{_nom_seuil(a)}"]
    colonnes = {nom: brut["times"][k].view("datetime64[ms]").reshape(forme)
                for k, nom in enumerate(noms)}
    colonnes["day_length"] = brut["day_length"].reshape(forme)
    mots = _np.array(_ETATS, dtype=object)
    noms_etats = [f"state_{s}" for s in _SEUILS] + [f"state_{_nom_seuil(a)}" for a in seuils]
    for k, nom in enumerate(noms_etats):
        etats = mots[brut["states"][k]].reshape(forme)
        etats[_np.isnat(colonnes["transit"]) & _np.isnan(colonnes["day_length"])] = None
        colonnes[nom] = etats
    return colonnes


def _table_jours(colonnes, zone, index):
    """The day's columns as a DataFrame: times tz-aware in the zone (UTC without one)."""
    pd = _pandas()
    table = {}
    for nom, valeurs in colonnes.items():
        if valeurs.dtype.kind == "M":
            table[nom] = pd.DatetimeIndex(valeurs.ravel(), tz="UTC").tz_convert(zone or "UTC")
        else:
            table[nom] = valeurs.ravel()
    return pd.DataFrame(table, index=index)


def sun_rise_set_transit(times, latitude, longitude, altitude=0.0, *, tt_minus_utc=None,
                         eye_height=0.0, thresholds=(), horizon=None, jobs=None):
    """The events of each time's calendar date at its site: sunrise, sunset, transit and the
    twilights, as `orvanel-cli jour` gives them.

    Parameters
    ----------
    times : pandas.DatetimeIndex, pandas.Series, pandas.Timestamp, numpy.ndarray or sequence
        Each element stands for its calendar date. Time-zone aware times: the date of their
        wall clock in that zone, and the resident's day of it (the site's day whose transit
        falls on that legal date). Naive or UTC times: the UTC date, and the site's day of it
        (the 24 hours from its local mean midnight). NaT gives NaT.
    latitude, longitude : float or array_like
        Degrees, North and East positive; broadcast against the times as in `solar_position`.
    altitude : float or array_like, default 0
        Metres above the reference ellipsoid.
    tt_minus_utc : float or array_like, optional
        Dynamical time - UTC in seconds, broadcast like the sites; None or NaN takes the
        default at each date's noon (see `tt_minus_utc`).
    eye_height : float, default 0
        An eye this many metres above a flat sea or plain: rise and set when the centre
        crosses -50' - 1.76' sqrt(eye_height), the horizon lowered by its dip.
    thresholds : sequence of float, default ()
        Altitudes of the Sun's centre (degrees, topocentric, without refraction) whose
        crossings get columns of their own, ``rise_+6`` and ``set_+6`` for 6.
    horizon : pandas.DataFrame or array_like of shape (n, 2), optional
        A skyline: (azimuth, altitude) points in degrees, azimuth from north through east,
        altitude apparent; linear between them around the circle. Rise and set when the upper
        limb, refracted, touches it. Excludes `eye_height`.
    jobs : int, optional
        Threads, 1 or more (by default, every processor).

    Returns
    -------
    pandas.DataFrame or dict of numpy.ndarray
        For one site and pandas times, a DataFrame indexed like `times`; else a dict of arrays
        of the broadcast shape (times as UTC datetime64[ms]). Columns: ``transit``,
        ``sunrise``, ``sunset``, ``civil_dawn``, ``civil_dusk``, ``nautical_dawn``,
        ``nautical_dusk``, ``astronomical_dawn``, ``astronomical_dusk``, then ``rise_<a>``
        and ``set_<a>`` for each threshold: tz-aware in the times' zone (UTC for naive
        times), to the millisecond, NaT where the event does not happen that day (behind a
        skyline, the first rise and the last set); ``day_length`` (minutes between rise and
        set); ``state_horizon``, ``state_civil``, ``state_nautical``,
        ``state_astronomical`` and ``state_<a>``: "crossed", or "always_above" (polar day,
        the threshold never reached from above) or "always_below" (polar night, never
        reached from below).

    Raises
    ------
    ValueError
        For a site, a date, a sky or a time zone out of range, naming it.

    See Also
    --------
    day_events : one date's events in time order, lower transit included.
    year_events : every date of a year.

    Notes
    -----
    The Sun is the engine's: VSOP87D with the IAU 1980 nutation, aberration and parallax;
    UT1 is taken equal to UTC. Rise and set are the centre at -0°50' (34' of standard
    refraction and 16' of semi-diameter), the twilights at -6°, -12° and -18°; each event is
    bracketed between the day's culminations and refined to a millisecond.

    Examples
    --------
    >>> import orvanel, pandas as pd
    >>> jours = pd.date_range("2026-03-28", periods=3, freq="D", tz="Europe/Paris")
    >>> t = orvanel.sun_rise_set_transit(jours, 48.85, 2.35)
    >>> t["sunrise"].dt.strftime("%H:%M").tolist()
    ['06:36', '07:34', '07:32']
    """
    _site_requis(latitude=latitude, longitude=longitude, altitude=altitude)
    pd = _pandas()
    jours, zone = _dates_locales(times)
    colonnes = _colonnes_jours(jours, zone, latitude, longitude, altitude, tt_minus_utc,
                               eye_height, thresholds, horizon, jobs)
    un_site = all(_np.ndim(v) == 0 for v in (latitude, longitude, altitude))
    if pd is not None and un_site and isinstance(times, (pd.DatetimeIndex, pd.Series,
                                                         pd.Timestamp)):
        index = (times.index if isinstance(times, pd.Series)
                 else pd.DatetimeIndex([times]) if isinstance(times, pd.Timestamp) else times)
        return _table_jours(colonnes, zone, index)
    return colonnes


def year_events(year, latitude, longitude, altitude=0.0, *, tt_minus_utc=None, eye_height=0.0,
                thresholds=(), horizon=None, tz=None):
    """Every date of a year at a site, one row per date, as `orvanel-cli annee` gives them.

    Parameters
    ----------
    year : int
        The year, within the module's dates.
    latitude, longitude, altitude : float
        The site: degrees North and East, metres above the ellipsoid.
    tt_minus_utc : float, optional
        Dynamical time - UTC in seconds; by default that of each date's noon.
    eye_height, thresholds, horizon
        The sky, as in `sun_rise_set_transit`.
    tz : str, optional
        A time zone of the database ("Europe/Paris"): the dates are then the resident's, each
        row the site's day whose transit falls on that legal date, its times in that zone.

    Returns
    -------
    pandas.DataFrame
        Indexed by the dates (a DatetimeIndex named "date"), with the columns of
        `sun_rise_set_transit`.

    Examples
    --------
    >>> import orvanel
    >>> an = orvanel.year_events(2026, 69.65, 18.95, tz="Europe/Oslo")
    >>> int((an["state_horizon"] == "always_below").sum())
    48
    """
    pd = _pandas()
    if pd is None:
        raise ImportError("year_events gives a pandas DataFrame: pandas is needed")
    if isinstance(year, bool) or not isinstance(year, _numbers.Integral):
        raise ValueError(f"year must be a whole number: {year!r}")
    for nom, valeur in (("latitude", latitude), ("longitude", longitude), ("altitude", altitude)):
        if valeur is None or _np.ndim(valeur) != 0:
            raise ValueError(f"{nom} must be a number: {valeur!r}")
    if not int(_orvanel.FIRST_DATE[:4]) <= year <= int(_orvanel.LAST_DATE[:4]):
        raise ValueError(f"year outside {_orvanel.FIRST_DATE[:4]} .. {_orvanel.LAST_DATE[:4]}: "
                         f"{year}")
    dates = pd.date_range(f"{int(year):04d}-01-01", f"{int(year):04d}-12-31", freq="D",
                          name="date")
    zone = _nom_zone(tz)
    jours = _np.asarray(dates.values).astype("datetime64[D]").astype("int64")
    colonnes = _colonnes_jours(jours, zone, latitude, longitude, altitude, tt_minus_utc,
                               eye_height, thresholds, horizon, 1)
    return _table_jours(colonnes, zone, dates)


def day_events(date, latitude, longitude, altitude=0.0, tt_minus_utc=None, *, tz=None,
               eye_height=0.0, thresholds=(), horizon=None):
    """One date's events at a site in time order, as `orvanel-cli jour` gives them.

    Parameters
    ----------
    date : datetime.date, datetime.datetime, numpy.datetime64, pandas.Timestamp or str
        The date ("YYYY-MM-DD"); an aware datetime or Timestamp gives its own zone as `tz`.
    latitude, longitude, altitude : float
        The site: degrees North and East, metres above the ellipsoid.
    tt_minus_utc : float, optional
        Dynamical time - UTC in seconds; by default that of the date's noon.
    tz : str, optional
        A time zone of the database ("Europe/Paris"): the resident's day of that legal date
        (the site's day whose transit falls on it), times in that zone.
    eye_height, thresholds, horizon
        The sky, as in `sun_rise_set_transit`.

    Returns
    -------
    dict
        "date"; "start" (the day's first instant: the site's local mean midnight);
        "events" in time order, each a dict of "event" (transit, lower_transit, sunrise,
        sunset, civil_dawn, ..., astronomical_dusk, or rise_<a> and set_<a>), "type"
        (transit, lower_transit, rise, set), "threshold" (horizon, civil, nautical,
        astronomical, an altitude of `thresholds`, or None), "time" (aware, in `tz` or UTC),
        "azimuth" (from north through east, [0, 360)) and "elevation" (degrees, without
        refraction); "states" of each threshold (crossed, always_above, always_below);
        "day_length" and "day_length_change" (minutes); "tt_minus_utc" (seconds).

    Raises
    ------
    ValueError
        For a date, a site, a sky or a zone out of range.

    Examples
    --------
    >>> import orvanel
    >>> jour = orvanel.day_events("2026-06-21", 48.85, 2.35, tz="Europe/Paris")
    >>> [e["event"] for e in jour["events"]][:3]
    ['lower_transit', 'nautical_dawn', 'civil_dawn']
    """
    pd = _pandas()
    if pd is not None and isinstance(date, pd.Timestamp):
        if date.tz is not None and tz is None:
            tz = date.tz
        date = date.tz_localize(None).date() if date.tz is not None else date.date()
    if isinstance(date, str):
        try:
            date = _dt.date.fromisoformat(date[:10])
        except ValueError:
            raise ValueError(f"not a date: {date!r}") from None
    elif isinstance(date, _np.datetime64):
        date = date.astype("datetime64[D]").astype(_dt.date)
    elif isinstance(date, _dt.datetime):
        if date.tzinfo is not None and tz is None:
            tz = date.tzinfo
        date = date.date()
    if not isinstance(date, _dt.date):
        raise ValueError(f"not a date: {date!r}")
    zone = _nom_zone(tz)
    tt = _tt_tableau(tt_minus_utc)
    if tt.ndim:
        raise ValueError("tt_minus_utc of one date is one number")
    brut = _orvanel.journee(date.year, date.month, date.day, float(latitude), float(longitude),
                            float(altitude), float(tt), float(eye_height), _seuils(thresholds),
                            _horizon(horizon), zone)
    fuseau = _dt.timezone.utc
    if zone:
        import zoneinfo
        fuseau = zoneinfo.ZoneInfo(zone)

    def quand(ms):
        return _dt.datetime.fromtimestamp(ms / 1000, tz=_dt.timezone.utc).astimezone(fuseau)

    evenements = []
    for e in brut["events"]:
        seuil = e["threshold"]
        if isinstance(seuil, float):
            nom = f"{e['type']}_{_nom_seuil(seuil)}"
        else:
            nom = _NOMS.get((e["type"], seuil), e["type"])
        evenements.append({"event": nom, "type": e["type"], "threshold": seuil,
                           "time": quand(e["ms"]), "azimuth": e["azimuth"],
                           "elevation": e["elevation"]})
    return {"date": date, "start": quand(brut["start_ms"]), "events": evenements,
            "states": dict(brut["states"]), "day_length": brut["day_length"],
            "day_length_change": brut["day_length_change"],
            "tt_minus_utc": brut["tt_minus_utc"]}


# ---- The Sun on a surface ----

def _index_de(*valeurs):
    """The pandas index the first Series or DataFrame among the inputs has, or None."""
    pd = _pandas()
    if pd is None:
        return None
    for v in valeurs:
        if isinstance(v, (pd.Series, pd.DataFrame)):
            return v.index
    return None


def _reels(nom, valeur):
    if valeur is None:
        raise ValueError(f"{nom} is required: a number or an array of numbers, not None")
    try:
        return _np.asarray(valeur, dtype=float)
    except (TypeError, ValueError):
        raise ValueError(f"{nom} must be degrees, a number or an array of numbers") from None


def _diffuses(noms, valeurs):
    """The inputs broadcast together, flattened and contiguous, and their shape."""
    tableaux = [_reels(n, v) for n, v in zip(noms, valeurs)]
    try:
        tableaux = _np.broadcast_arrays(*tableaux)
    except ValueError as e:
        raise ValueError(f"{', '.join(noms)} cannot be broadcast together: {e}") from None
    return [_np.ascontiguousarray(a).ravel() for a in tableaux], tableaux[0].shape


def _sortie(valeurs, forme, index, nom):
    """A result shaped as its inputs: a Series on their index, a float for scalars."""
    if index is not None and len(index) == valeurs.size:
        return _pandas().Series(valeurs, index=index, name=nom)
    valeurs = valeurs.reshape(forme)
    return float(valeurs) if valeurs.ndim == 0 else valeurs


def _incidence(surface_tilt, surface_azimuth, solar_zenith, solar_azimuth, k, nom):
    """The projection (k = 0) or the angle (k = 1) of incidence, shaped as the inputs."""
    valeurs = (surface_tilt, surface_azimuth, solar_zenith, solar_azimuth)
    plats, forme = _diffuses(("surface_tilt", "surface_azimuth", "solar_zenith",
                              "solar_azimuth"), valeurs)
    return _sortie(_orvanel.incidences(*plats)[k], forme, _index_de(*valeurs), nom)


def aoi_projection(surface_tilt, surface_azimuth, solar_zenith, solar_azimuth):
    """The cosine of the angle of incidence of the Sun on a plane.

    Parameters
    ----------
    surface_tilt : float or array_like
        The plane's tilt from the horizontal, degrees: 0 facing up, 90 vertical, up to 180.
    surface_azimuth : float or array_like
        The azimuth its normal faces, degrees from north through east.
    solar_zenith : float or array_like
        The Sun's zenith distance, degrees, 0 to 180 (apparent, for the light as it arrives).
    solar_azimuth : float or array_like
        The Sun's azimuth, degrees from north through east.

    Returns
    -------
    float, numpy.ndarray or pandas.Series
        cos(aoi) = cos z cos tilt + sin z sin tilt cos(azimuth - surface azimuth), within
        [-1, 1]: negative when the Sun is behind the plane. NaN where an input is NaN.

    Raises
    ------
    ValueError
        For a tilt or zenith distance out of its range, or an infinite azimuth.

    Notes
    -----
    Duffie & Beckman, Solar Engineering of Thermal Processes, 4th ed. (2013), eq. 1.6.3.

    Examples
    --------
    >>> import orvanel
    >>> round(orvanel.aoi_projection(30, 180, 40, 180), 6)
    0.984808
    """
    return _incidence(surface_tilt, surface_azimuth, solar_zenith, solar_azimuth, 0,
                      "aoi_projection")


def aoi(surface_tilt, surface_azimuth, solar_zenith, solar_azimuth):
    """The angle of incidence of the Sun on a plane, degrees.

    Parameters
    ----------
    surface_tilt, surface_azimuth, solar_zenith, solar_azimuth : float or array_like
        As in `aoi_projection`.

    Returns
    -------
    float, numpy.ndarray or pandas.Series
        The angle between the Sun's direction and the plane's normal, degrees in [0, 180]:
        above 90 when the Sun is behind the plane. NaN where an input is NaN.

    Raises
    ------
    ValueError
        For a tilt or zenith distance out of its range, or an infinite azimuth.

    Examples
    --------
    >>> import orvanel
    >>> round(orvanel.aoi(30, 180, 40, 180), 6)
    10.0
    """
    return _incidence(surface_tilt, surface_azimuth, solar_zenith, solar_azimuth, 1, "aoi")


def singleaxis(apparent_zenith, apparent_azimuth, axis_tilt=0, axis_azimuth=0, max_angle=90,
               backtrack=True, gcr=2.0 / 7.0, cross_axis_tilt=0):
    """The rotation of a single-axis tracker following the Sun, with backtracking.

    Parameters
    ----------
    apparent_zenith, apparent_azimuth : float or array_like
        The Sun's apparent zenith distance and azimuth, degrees (as `solar_position` gives
        them); broadcast together.
    axis_tilt : float, default 0
        The axis' tilt from the horizontal, degrees.
    axis_azimuth : float, default 0
        The direction the axis points to (down its tilt), degrees from north through east.
    max_angle : float, default 90
        The greatest rotation either way from flat, degrees.
    backtrack : bool, default True
        Turn back at low Sun so that adjacent rows never shade each other.
    gcr : float, default 2/7
        The ground coverage ratio: the modules' width over the horizontal distance between rows.
    cross_axis_tilt : float, default 0
        The ground's slope across the rows, degrees, right-handed as the rotation: for an axis
        pointing south, positive when the ground rises to the east.

    Returns
    -------
    pandas.DataFrame or dict of numpy.ndarray
        ``tracker_theta`` (the rotation, right-handed about the axis: positive toward the west
        for an axis pointing south), ``aoi`` (the angle of incidence on the modules),
        ``surface_tilt`` and ``surface_azimuth`` (the modules' normal), degrees; NaN while the
        Sun is below the horizon. A DataFrame when the Sun's position is a pandas Series.

    Raises
    ------
    ValueError
        For a tracker figure or a position of the Sun out of its range.

    Notes
    -----
    True tracking is the rotation that puts the Sun in the plane of the modules' normal and the
    axis, after Marion & Dobos [1]_; backtracking turns it back until a row's shadow just
    reaches the next row, on ground sloping across the rows after Anderson & Mikofski [2]_.
    pvlib's names, signs and conventions.

    References
    ----------
    .. [1] W. F. Marion and A. P. Dobos, "Rotation Angle for the Optimum Tracking of One-Axis
       Trackers", NREL/TP-6A20-58891 (2013).
    .. [2] K. Anderson and M. Mikofski, "Slope-Aware Backtracking for Single-Axis Trackers",
       NREL/TP-5K00-76626 (2020).

    Examples
    --------
    >>> import orvanel
    >>> t = orvanel.singleaxis(60, 120, axis_azimuth=180, max_angle=60, gcr=0.35)
    >>> round(t["tracker_theta"], 2), round(t["surface_azimuth"], 1)
    (-56.31, 90.0)
    >>> low = orvanel.singleaxis(85, 100, axis_azimuth=180, max_angle=60, gcr=0.35)
    >>> round(low["tracker_theta"], 2)  # backtracked toward flat
    -9.57
    """
    pd = _pandas()
    index = _index_de(apparent_zenith, apparent_azimuth)
    for nom, valeur in (("axis_tilt", axis_tilt), ("axis_azimuth", axis_azimuth),
                        ("max_angle", max_angle), ("gcr", gcr),
                        ("cross_axis_tilt", cross_axis_tilt)):
        if valeur is None or _np.ndim(valeur) != 0:
            raise ValueError(f"{nom} must be a number: {valeur!r}")
    plats, forme = _diffuses(("apparent_zenith", "apparent_azimuth"),
                             (apparent_zenith, apparent_azimuth))
    brut = _orvanel.suivis(plats[0], plats[1], float(axis_tilt), float(axis_azimuth),
                           float(max_angle), bool(backtrack), float(gcr), float(cross_axis_tilt))
    colonnes = {nom: brut[nom] for nom in ("tracker_theta", "aoi", "surface_tilt",
                                            "surface_azimuth")}
    if pd is not None and index is not None and len(index) == plats[0].size:
        return pd.DataFrame(colonnes, index=index)
    return {nom: (float(v[0]) if forme == () else v.reshape(forme))
            for nom, v in colonnes.items()}


def airmass(apparent_zenith, pressure=None):
    """The optical air mass at the Sun's apparent zenith distance.

    Parameters
    ----------
    apparent_zenith : float or array_like
        Degrees, 0 to 180.
    pressure : float or array_like, optional
        Pascals, within the pressure range of `solar_position`: the absolute air mass at that
        pressure. None gives the relative air mass.

    Returns
    -------
    float, numpy.ndarray or pandas.Series
        Kasten & Young's relative air mass, 1 / (cos z + 0.50572 (96.07995 - z)^-1.6364):
        1 at the zenith, about 38 at the horizon, NaN below it; with a pressure, that times
        pressure / 101325 Pa.

    Raises
    ------
    ValueError
        For a zenith distance or a pressure out of range.

    References
    ----------
    .. [1] F. Kasten and A. T. Young, "Revised optical air mass tables and approximation
       formula", Applied Optics 28, 4735-4738 (1989).

    Examples
    --------
    >>> import orvanel
    >>> round(orvanel.airmass(60), 4), round(orvanel.airmass(60, pressure=80000), 4)
    (1.9943, 1.5746)
    """
    index = _index_de(apparent_zenith, pressure)
    if pressure is None:
        plats, forme = _diffuses(("apparent_zenith",), (apparent_zenith,))
        masse = _orvanel.masses_air(plats[0], _np.empty(0))
    else:
        plats, forme = _diffuses(("apparent_zenith", "pressure"), (apparent_zenith, pressure))
        masse = _orvanel.masses_air(plats[0], plats[1])
    return _sortie(masse, forme, index, "airmass")


def extra_radiation(times, tt_minus_utc=None):
    """The irradiance at the top of the atmosphere on a surface facing the Sun, W/m2.

    Parameters
    ----------
    times : array_like of datetimes
        As in `solar_position`.
    tt_minus_utc : float or array_like, optional
        As in `solar_position`.

    Returns
    -------
    float, numpy.ndarray or pandas.Series
        1361 W/m2 (the total solar irradiance at 1 au, Kopp & Lean 2011) over the square of the
        engine's Earth - Sun distance in au; NaN for NaT. A Series for pandas times.

    Raises
    ------
    ValueError
        For a time out of range.

    Examples
    --------
    >>> import orvanel, numpy as np
    >>> round(float(orvanel.extra_radiation(np.datetime64("2026-01-03T12:00"))), 1)
    1407.6
    """
    pd = _pandas()
    instants = _datetime64(times)
    secondes = _np.ascontiguousarray(_secondes_unix(instants).ravel())
    tt = _np.ascontiguousarray(_np.broadcast_to(_tt_tableau(tt_minus_utc),
                                                instants.shape).ravel(), dtype=float)
    e = _orvanel.irradiances(secondes, tt)
    if pd is not None and isinstance(times, (pd.DatetimeIndex, pd.Series)):
        index = times.index if isinstance(times, pd.Series) else times
        return pd.Series(e, index=index, name="extra_radiation")
    e = e.reshape(instants.shape)
    return float(e) if e.ndim == 0 else e


# The dates in the docstrings come from the compiled half, where the ranges are defined.
solar_position.__doc__ = solar_position.__doc__.format(
    first=_orvanel.FIRST_DATE, last=_orvanel.LAST_DATE, pmin=_orvanel.PRESSURE_PA[0],
    pmax=_orvanel.PRESSURE_PA[1], tmin=_orvanel.TEMPERATURE_C[0], tmax=_orvanel.TEMPERATURE_C[1])
