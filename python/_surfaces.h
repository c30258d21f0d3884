// The compiled half's surfaces (see _surfaces.cpp), for the Python half's aoi, aoi_projection,
// singleaxis, airmass and extra_radiation. Arrays of one value per element, broadcast by the
// Python half.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace Surfaces {

using Reels = pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;

// The projection and the angle of incidence of the Sun on planes.
pybind11::tuple Incidences(const Reels& inclinaison, const Reels& azimut, const Reels& zenith,
                           const Reels& azimutSoleil);

// A tracker at positions of the Sun: tracker_theta, aoi, surface_tilt, surface_azimuth.
pybind11::dict Suivis(const Reels& zenith, const Reels& azimut, double axeInclinaison,
                      double axeAzimut, double angleMax, bool retour, double gcr, double pente);

// The relative air mass, or the absolute one at pressures in pascals (an empty array: none).
pybind11::array_t<double> MassesAir(const Reels& zenith, const Reels& pression);

// The irradiance above the atmosphere at Unix times (NaN for none), W/m2.
pybind11::array_t<double> Irradiances(const Reels& secondes, const Reels& tt);

}  // namespace Surfaces
