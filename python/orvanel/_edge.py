"""The module's edge: pandas when it is there, and the checks and shapes of the arguments
every function takes."""

import numbers as _numbers
import os as _os

import numpy as _np


def _pandas():
    try:
        import pandas
    except ImportError:  # pandas is optional: without it, dicts of arrays
        return None
    return pandas


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
