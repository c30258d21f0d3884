// The compiled half's sundials (see _cadran.cpp), for the Python half's sundial and
// sundial_shadow.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace Cadrans {

using Reels = pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;

// The lines of a dial at a site (the area centred at centreX, centreY mm from the gnomon's
// foot, or for NaN on the heart of the dial): a dict of "line", "label" (lists of str), "piece"
// (the piece's number), "x_mm" and "y_mm", one element a point. `lignes` names the lines wanted
// ("hours", "half_hours", "quarter_hours", "dates", "signs", "months", "analemmas", "babylonian",
// "italic").
pybind11::dict Lignes(double latitude, double longitude, double altitude, double azimutMur,
                      double inclinaison, bool nodus, double longueur,
                      const std::vector<std::string>& lignes, double largeur, double hauteur,
                      double centreX, double centreY, int annee, double meridien, double TEmoinsTU);

// The shadow of the gnomon's point at Unix times (NaN for none): x_mm, y_mm and lit, refracted
// at pressures (Pa) and temperatures when both are given (else NaN arrays of size 0).
pybind11::dict Ombres(const Reels& secondes, double latitude, double longitude, double altitude,
                      double azimutMur, double inclinaison, bool nodus, double longueur,
                      const Reels& pression, const Reels& temperature, double TEmoinsTU);

}  // namespace Cadrans
