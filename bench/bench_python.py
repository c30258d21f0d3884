#!/usr/bin/env python3
"""orvanel.solar_position over a grid of 1000 sites x 1000 hourly instants, on 1 and 2 threads:
the median of seven runs, in positions per second.

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py
"""
import statistics
import time

import numpy as np

import orvanel

temps = np.datetime64("2027-01-01T00:00") + np.arange(1000) * np.timedelta64(1, "h")
latitudes = np.linspace(-60, 60, 1000)[:, None]
longitudes = np.linspace(-180, 180, 1000)[:, None]
for jobs in (1, 2):
    durees = []
    for _ in range(7):
        debut = time.perf_counter()
        orvanel.solar_position(temps, latitudes, longitudes, jobs=jobs)
        durees.append(time.perf_counter() - debut)
    mediane = statistics.median(durees)
    print(f"jobs={jobs}: {mediane * 1e3:.1f} ms for 10^6 positions, {1e6 / mediane:,.0f} positions/s")
