#!/usr/bin/env python3
"""orvanel.solar_position over a grid of 1000 sites x 1000 hourly instants, on 1 and 2 threads
(the median of seven runs, in positions per second), and orvanel.sun_rise_set_transit over 1000
sites x 365 dates (the median of five, in site-days per second).

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py
"""
import statistics
import time

import numpy as np

import orvanel



def mediane(appel, fois):
    """The median of `fois` runs of appel(), in seconds."""
    durees = []
    for _ in range(fois):
        debut = time.perf_counter()
        appel()
        durees.append(time.perf_counter() - debut)
    return statistics.median(durees)


temps = np.datetime64("2027-01-01T00:00") + np.arange(1000) * np.timedelta64(1, "h")
latitudes = np.linspace(-60, 60, 1000)[:, None]
longitudes = np.linspace(-180, 180, 1000)[:, None]
for jobs in (1, 2):
    m = mediane(lambda: orvanel.solar_position(temps, latitudes, longitudes, jobs=jobs), 7)
    print(f"jobs={jobs}: {m * 1e3:.1f} ms for 10^6 positions, {1e6 / m:,.0f} positions/s")

# orvanel.sun_rise_set_transit over 1000 sites x the 365 dates of a year, on 1 and 2 threads:
# the median of five runs, in site-days per second.
rng = np.random.default_rng(1)
sites_lat = rng.uniform(-65, 65, 1000)[:, None]
sites_lon = rng.uniform(-180, 180, 1000)[:, None]
dates = np.datetime64("2027-01-01") + np.arange(365).astype("timedelta64[D]")
for jobs in (1, 2):
    m = mediane(lambda: orvanel.sun_rise_set_transit(dates, sites_lat, sites_lon, jobs=jobs), 5)
    print(f"sun_rise_set_transit jobs={jobs}: {m:.2f} s for 365000 site-days, "
          f"{365000 / m:,.0f} site-days/s")
