#!/usr/bin/env python3
"""orvanel.solar_position over a grid of 1000 sites x 1000 hourly instants, on 1 and 2 threads
(the median of seven runs, in positions per second, and against as many CalculPosition on one
thread, timed by bench_engine in the same run), and orvanel.sun_rise_set_transit over 1000 sites
x 365 dates (the median of five, in site-days per second).

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py [build/bench/bench_engine]
"""
import json
import os
import statistics
import subprocess
import sys
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

def calcul_position_ns():
    """One CalculPosition, nanoseconds: the median of five repetitions of bench_engine's."""
    moteur = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "build", "bench", "bench_engine")
    if not os.path.exists(moteur):
        return None
    sortie = subprocess.run([moteur, "--benchmark_filter=CalculPosition/rapide",
                             "--benchmark_repetitions=5", "--benchmark_format=json"],
                            capture_output=True, text=True, check=True).stdout
    essais = json.loads(sortie[:sortie.rindex("}") + 1])["benchmarks"]
    return next(b["real_time"] for b in essais if b.get("aggregate_name") == "median")


reference = calcul_position_ns()
for jobs in (1, 2):
    m = mediane(lambda: orvanel.solar_position(temps, latitudes, longitudes, jobs=jobs), 7)
    rapport = "" if reference is None else f", {m * 1e9 / 1e6 / reference:.3f}x CalculPosition"
    print(f"jobs={jobs}: {m * 1e3:.1f} ms for 10^6 positions, {1e6 / m:,.0f} positions/s{rapport}")

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
