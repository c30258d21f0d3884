"""The day's events: rise, set, transit and the twilights at sites and dates, in a sky and
in legal time; a whole year's days."""

import datetime as _dt
import numbers as _numbers

import numpy as _np

from . import _orvanel
from ._edge import _pandas, _site_requis, _taches, _tt_tableau
from .timescales import _datetime64


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
