"""The Sun on a surface: the incidence on a plane, a single-axis tracker, the air mass and
the irradiance above the atmosphere, with pvlib's names and signs."""

import numpy as _np

from . import _orvanel
from ._edge import _diffuses, _index_de, _pandas, _sortie, _tt_tableau
from .positions import solar_position
from .timescales import _datetime64, _secondes_unix


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
