"""Times at the module's edge, as datetime64 in UTC and as seconds since 1970, and dynamical
time - UTC as every function takes it by default."""

import datetime as _dt
import numbers as _numbers

import numpy as _np

from . import _orvanel
from ._edge import _pandas


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
