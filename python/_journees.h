// The compiled half's days (see _journees.cpp) and the words the module gives their parts.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Journees {

// The module's words for the kinds of event, the standard thresholds and a threshold's state,
// in the order of the engine's TypeEvenement, Seuil and EtatSeuil.
inline constexpr const char* ClesTypes[] = {"transit", "lower_transit", "rise", "set"};
inline constexpr const char* ClesSeuils[] = {"horizon", "civil", "nautical", "astronomical"};
inline constexpr const char* ClesEtats[] = {"crossed", "always_above", "always_below"};

using Reels = pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;
using Dates =
    pybind11::array_t<std::int64_t, pybind11::array::c_style | pybind11::array::forcecast>;

// For each element i: its date (days since 1970-01-01, INT64_MIN for none), its site and its
// dynamical time - UTC (NaN for the default); one sky and one zone (empty for none) for all.
// Returns "times" (int64 milliseconds since 1970, INT64_MIN for none: the transit, then the
// first rise and last set of each threshold, the standard four then the caller's), "states"
// (int8, one per threshold) and "day_length" (minutes).
pybind11::dict Jours(const Dates& jours, const Reels& latitude, const Reels& longitude,
                     const Reels& altitude, const Reels& tt, double oeil,
                     const std::vector<double>& seuils, const Reels& horizon,
                     const std::string& fuseau, int taches);

// One date's day with every event: a dict of plain values that the Python half dresses.
pybind11::dict Journee(int annee, int mois, int jour, double latitude, double longitude,
                       double altitude, double tt, double oeil, const std::vector<double>& seuils,
                       const Reels& horizon, const std::string& fuseau);

}  // namespace Journees
