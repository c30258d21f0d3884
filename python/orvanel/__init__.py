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

from . import _orvanel
from .events import _COLONNES_JOUR, day_events, sun_rise_set_transit, year_events
from .positions import solar_position
from .sundials import sundial, sundial_shadow
from .surfaces import aoi, aoi_projection, airmass, extra_radiation, singleaxis
from .timescales import tt_minus_utc

__version__ = _orvanel.__version__
__all__ = ["solar_position", "sun_rise_set_transit", "day_events", "year_events",
           "tt_minus_utc", "aoi", "aoi_projection", "singleaxis", "airmass", "extra_radiation",
           "sundial", "sundial_shadow"]

# The examples of the functions' docstrings, which live in the package's modules by topic, are
# the package's own: doctest.testmod(orvanel) runs them all.
__test__ = {nom: globals()[nom] for nom in __all__}
