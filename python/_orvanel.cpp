// The compiled half of the Python module: positions over a grid of instants and sites, the
// geocentric part of each distinct instant computed once, on several threads without the GIL.
// The Python half (orvanel/__init__.py) turns times, shapes and tables into these arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "Commun.h"
#include "_journees.h"
#include "_messages.h"
#include "_surfaces.h"
#include "Parallele.h"
#include "PosSoleil.h"

namespace py = pybind11;

namespace {

using Tableau = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Indices = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

using Messages::HorsPlage;

// Every site and weather value in range, or a ValueError that names the first one that is not.
// (The library's own checks say only which kind of input is out of range.)
void VerifieEntrees(const double* lat, const double* lon, const double* alt, const double* p,
                    const double* t, std::size_t n) {
    struct Borne {
        const char* nom;
        const double* v;
        double min, max;
        const char* unite;
        bool manquante;  // NaN allowed: missing weather, NaN in that row's refracted columns
    };
    using namespace Contrat;
    const Borne bornes[] = {
        {"latitude", lat, Latitude.min, Latitude.max, "degrees", false},
        {"longitude", lon, Longitude.min, Longitude.max, "degrees", false},
        {"altitude", alt, AltitudeSite.min, AltitudeSite.max, "metres", false},
        {"pressure", p, PressionPa.min, PressionPa.max, "pascals", true},
        {"temperature", t, Temperature.min, Temperature.max, "degrees Celsius", true}};
    for (const Borne& b : bornes)
        for (std::size_t i = 0; i < n; ++i)
            if (!(b.v[i] >= b.min && b.v[i] <= b.max) && !(b.manquante && std::isnan(b.v[i])))
                throw py::value_error(HorsPlage(b.nom, b.v[i], {b.min, b.max}, b.unite));
}

// A Unix time as the messages name it: "2600-06-21T12:00:00Z".
std::string TexteIso(double unixUtc) {
    int a = 0, m = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
    PosSoleil::DecodeDateValeur(Orvanel::DateValeur(unixUtc), a, m, j, h, mi, s, ms);
    char texte[48];
    std::snprintf(texte, sizeof texte, "%04d-%02d-%02dT%02d:%02d:%02dZ", a, m, j, h, mi, s);
    return texte;
}

std::string MessageTt(double tt) {
    return HorsPlage("tt_minus_utc", tt, Contrat::TEmoinsTUImpose, "s");
}

// The grid: instants[k] (Unix seconds, NaN for none) for each distinct time, index[i] the time
// of element i, and each element's site and weather; dynamical time - UTC (NaN for the default)
// one value for all, or one per element.
py::dict Grille(const Tableau& instants, const Indices& index, const Tableau& latitude,
                const Tableau& longitude, const Tableau& altitude, const Tableau& pression,
                const Tableau& temperature, const Tableau& tts, int taches) {
    const std::size_t nt = static_cast<std::size_t>(instants.size());
    const std::size_t n = static_cast<std::size_t>(index.size());
    for (const Tableau* a : {&latitude, &longitude, &altitude, &pression, &temperature})
        if (static_cast<std::size_t>(a->size()) != n)
            throw py::value_error("every array must hold one value per element");
    const double* t = instants.data();
    const std::int64_t* k = index.data();
    const double *lat = latitude.data(), *lon = longitude.data(), *alt = altitude.data(),
                 *p = pression.data(), *temp = temperature.data();
    VerifieEntrees(lat, lon, alt, p, temp, n);
    const std::size_t ntt = static_cast<std::size_t>(tts.size());
    if (ntt != 1 && ntt != n) throw py::value_error("tt_minus_utc: one value, or one per element");
    const double* tt = tts.data();
    for (std::size_t i = 0; i < ntt; ++i)
        if (Orvanel::VerifieTt(tt[i]) != ORVANEL_OK) throw py::value_error(MessageTt(tt[i]));
    // One dynamical time for all: the geocentric part once per instant; else once per element.
    const bool partage = ntt == 1;
    const double TEmoinsTU = tt[0];
    for (std::size_t i = 0; i < nt; ++i)
        if (!std::isnan(t[i]) && Orvanel::VerifieInstant(t[i]) != ORVANEL_OK)
            throw py::value_error("time outside " + Contrat::TextePremierInstant() + " .. " +
                                  Contrat::TexteDernierInstant() + ": " + TexteIso(t[i]));
    for (std::size_t i = 0; i < n; ++i)
        if (k[i] < 0 || static_cast<std::size_t>(k[i]) >= nt)
            throw py::value_error("time index out of range");

    const char* noms[] = {"apparent_zenith", "zenith",      "apparent_elevation",
                          "elevation",       "azimuth",     "equation_of_time",
                          "right_ascension", "declination", "distance",
                          "hour_angle",      "solar_time"};
    constexpr int NombreColonnes = 11;
    std::vector<py::array_t<double>> colonnes;
    double* sortie[NombreColonnes];
    for (int c = 0; c < NombreColonnes; ++c) {
        colonnes.emplace_back(static_cast<py::ssize_t>(n));
        sortie[c] = colonnes.back().mutable_data();
    }
    {
        py::gil_scoped_release sansVerrou;
        // The geocentric part of each distinct instant, then each element's own part.
        std::vector<PosSoleil::Geocentre> geocentres(partage ? nt : 0);
        Contrat::EnParallele(geocentres.size(), taches, [&](std::size_t de, std::size_t a) {
            for (std::size_t i = de; i < a; ++i) {
                if (std::isnan(t[i])) continue;
                const double dv = Orvanel::DateValeur(t[i]);
                geocentres[i] = PosSoleil::PositionGeocentrique(dv, Orvanel::Tt(dv, TEmoinsTU));
            }
        });
        Contrat::EnParallele(n, taches, [&](std::size_t de, std::size_t a) {
            for (std::size_t i = de; i < a; ++i) {
                const auto j = static_cast<std::size_t>(k[i]);
                if (std::isnan(t[j])) {
                    for (double* s : sortie) s[i] = NaN;
                    continue;
                }
                const PosSoleil::Site site{lon[i], lat[i], alt[i]};
                PosSoleil::Position pos;
                double H = 0;
                if (partage) {
                    pos = PosSoleil::PositionTopocentrique(geocentres[j], site, H);
                } else {
                    const double dv = Orvanel::DateValeur(t[j]);
                    pos = PosSoleil::PositionTopocentrique(
                        PosSoleil::PositionGeocentrique(dv, Orvanel::Tt(dv, tt[i])), site, H);
                }
                const orvanel_position r = Orvanel::Resultat(pos);
                // Missing weather: no refracted figures for that row.
                const double apparente =
                    std::isnan(p[i]) || std::isnan(temp[i])
                        ? NaN
                        : r.elevation_deg + PosSoleil::Refraction(r.elevation_deg,
                                                                  Contrat::CmHgDePascals(p[i]),
                                                                  temp[i]);
                sortie[0][i] = 90 - apparente;
                sortie[1][i] = 90 - r.elevation_deg;
                sortie[2][i] = apparente;
                sortie[3][i] = r.elevation_deg;
                sortie[4][i] = r.azimuth_deg;
                sortie[5][i] = r.equation_of_time_min;
                sortie[6][i] = r.right_ascension_deg;
                sortie[7][i] = r.declination_deg;
                sortie[8][i] = r.distance_au;
                sortie[9][i] = PosSoleil::AngleHoraireReduit(H);
                sortie[10][i] = PosSoleil::TempsSolaireVrai(H);
            }
        });
    }
    py::dict d;
    for (int c = 0; c < NombreColonnes; ++c) d[noms[c]] = colonnes[static_cast<std::size_t>(c)];
    return d;
}

}  // namespace

PYBIND11_MODULE(_orvanel, m) {
    m.doc() = "The compiled half of orvanel: use the functions of the orvanel package.";
    m.def("grille", &Grille);
    m.def("jours", &Journees::Jours);
    m.def("journee", &Journees::Journee);
    m.def("incidences", &Surfaces::Incidences);
    m.def("suivis", &Surfaces::Suivis);
    m.def("masses_air", &Surfaces::MassesAir);
    m.def("irradiances", &Surfaces::Irradiances);
    m.def("tt_moins_utc", [](double unixUtc) {
        return std::isfinite(unixUtc) ? Orvanel::Tt(Orvanel::DateValeur(unixUtc), NaN) : NaN;
    });
    m.attr("__version__") = ORVANEL_VERSION;
    // The dates the module answers for, from the contract every face shares.
    m.attr("FIRST_DATE") = Contrat::TextePremiereDate();
    m.attr("LAST_DATE") = Contrat::TexteDerniereDate();
    m.attr("PRESSURE_PA") = py::make_tuple(Contrat::PressionPa.min, Contrat::PressionPa.max);
    m.attr("TEMPERATURE_C") = py::make_tuple(Contrat::Temperature.min, Contrat::Temperature.max);
    m.attr("DEFAULT_TEMPERATURE_C") = Contrat::TemperatureParDefautPvlib;
}
