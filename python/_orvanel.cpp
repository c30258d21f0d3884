// The compiled half of the Python module: positions over a grid of instants and sites, the
// geocentric part of each distinct instant computed once, on several threads without the GIL.
// The Python half (orvanel/__init__.py) turns times, shapes and tables into these arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <span>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "Commun.h"
#include "_cadran.h"
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

// The columns of the grid, in the order of Colonnes::sortie.
constexpr const char* Noms[] = {"apparent_zenith", "zenith",      "apparent_elevation",
                                "elevation",       "azimuth",     "equation_of_time",
                                "right_ascension", "declination", "distance",
                                "hour_angle",      "solar_time"};
constexpr int NombreColonnes = static_cast<int>(std::size(Noms));

// The grid's output arrays, n values each, and what writes element i of them.
struct Colonnes {
    std::vector<py::array_t<double>> tableaux;
    double* sortie[NombreColonnes];

    explicit Colonnes(std::size_t n) {
        for (int c = 0; c < NombreColonnes; ++c) {
            tableaux.emplace_back(static_cast<py::ssize_t>(n));
            sortie[c] = tableaux.back().mutable_data();
        }
    }
    void Vide(std::size_t i) noexcept {
        for (double* s : sortie) s[i] = NaN;
    }
    // Missing weather (NaN pressure or temperature): no refracted figures for that element.
    void Ecrit(std::size_t i, const PosSoleil::Position& pos, double H, double pression,
               double temperature) noexcept {
        const orvanel_position r = Orvanel::Resultat(pos);
        const double apparente =
            std::isnan(pression) || std::isnan(temperature)
                ? NaN
                : r.elevation_deg + PosSoleil::Refraction(r.elevation_deg,
                                                          Contrat::CmHgDePascals(pression),
                                                          temperature);
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
    py::dict Dictionnaire() const {
        py::dict d;
        for (int c = 0; c < NombreColonnes; ++c) d[Noms[c]] = tableaux[static_cast<std::size_t>(c)];
        return d;
    }
};

// Each instant in the module's dates (NaN, none, passes), and each dynamical time in range.
void VerifieTemps(const double* t, std::size_t nt, const double* tt, std::size_t ntt) {
    for (std::size_t i = 0; i < ntt; ++i)
        if (Orvanel::VerifieTt(tt[i]) != ORVANEL_OK) throw py::value_error(MessageTt(tt[i]));
    for (std::size_t i = 0; i < nt; ++i)
        if (!std::isnan(t[i]) && Orvanel::VerifieInstant(t[i]) != ORVANEL_OK)
            throw py::value_error("time outside " + Contrat::TextePremierInstant() + " .. " +
                                  Contrat::TexteDernierInstant() + ": " + TexteIso(t[i]));
}

// The geocentric part of each instant (Unix seconds; NaN, none, left empty) at one dynamical
// time - UTC for all (NaN for the default).
std::vector<PosSoleil::Geocentre> Geocentres(const double* t, std::size_t nt, double TEmoinsTU,
                                             int taches) {
    std::vector<PosSoleil::Geocentre> geocentres(nt);
    Contrat::EnParallele(nt, taches, [&](std::size_t de, std::size_t a) {
        for (std::size_t i = de; i < a; ++i) {
            if (std::isnan(t[i])) continue;
            const double dv = Orvanel::DateValeur(t[i]);
            geocentres[i] = PosSoleil::PositionGeocentrique(dv, Orvanel::Tt(dv, TEmoinsTU));
        }
    });
    return geocentres;
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
    VerifieTemps(t, nt, tt, ntt);
    for (std::size_t i = 0; i < n; ++i)
        if (k[i] < 0 || static_cast<std::size_t>(k[i]) >= nt)
            throw py::value_error("time index out of range");

    // One dynamical time for all: the geocentric part once per instant; else once per element.
    const bool partage = ntt == 1;
    Colonnes colonnes(n);
    {
        py::gil_scoped_release sansVerrou;
        const std::vector<PosSoleil::Geocentre> geocentres =
            Geocentres(t, partage ? nt : 0, tt[0], taches);
        Contrat::EnParallele(n, taches, [&](std::size_t de, std::size_t a) {
            for (std::size_t i = de; i < a; ++i) {
                const auto j = static_cast<std::size_t>(k[i]);
                if (std::isnan(t[j])) {
                    colonnes.Vide(i);
                    continue;
                }
                const PosSoleil::Site site{lon[i], lat[i], alt[i]};
                double H = 0;
                PosSoleil::Position pos;
                if (partage) {
                    pos = PosSoleil::PositionTopocentrique(geocentres[j], site, H);
                } else {
                    const double dv = Orvanel::DateValeur(t[j]);
                    pos = PosSoleil::PositionTopocentrique(
                        PosSoleil::PositionGeocentrique(dv, Orvanel::Tt(dv, tt[i])), site, H);
                }
                colonnes.Ecrit(i, pos, H, p[i], temp[i]);
            }
        });
    }
    return colonnes.Dictionnaire();
}

// The grid of every site by every instant, in that order (element s * nt + k for site s and
// instant k), at one dynamical time - UTC: each instant's geocentric part once, each site's
// place once for its row, without the arrays of the whole grid's shape on the way in.
py::dict GrilleProduit(const Tableau& instants, const Tableau& latitude, const Tableau& longitude,
                       const Tableau& altitude, const Tableau& pression, const Tableau& temperature,
                       double TEmoinsTU, int taches) {
    const std::size_t nt = static_cast<std::size_t>(instants.size());
    const std::size_t ns = static_cast<std::size_t>(latitude.size());
    for (const Tableau* a : {&longitude, &altitude, &pression, &temperature})
        if (static_cast<std::size_t>(a->size()) != ns)
            throw py::value_error("every site array must hold one value per site");
    const double* t = instants.data();
    const double *lat = latitude.data(), *lon = longitude.data(), *alt = altitude.data(),
                 *p = pression.data(), *temp = temperature.data();
    VerifieEntrees(lat, lon, alt, p, temp, ns);
    VerifieTemps(t, nt, &TEmoinsTU, 1);
    Colonnes colonnes(ns * nt);
    {
        py::gil_scoped_release sansVerrou;
        const std::vector<PosSoleil::Geocentre> geocentres = Geocentres(t, nt, TEmoinsTU, taches);
        // Blocks of a few sites by a few hundred instants, so that each thread's buffer stays
        // small whatever the grid.
        constexpr std::size_t Sites = 16, Instants = 1024;
        Contrat::EnParallele(
            ns, taches,
            [&](std::size_t de, std::size_t a) {
                std::vector<PosSoleil::Site> sites(Sites);
                std::vector<PosSoleil::Position> positions(Sites * Instants);
                std::vector<double> angles(Sites * Instants);
                for (std::size_t s0 = de; s0 < a; s0 += Sites) {
                    const std::size_t nS = std::min(Sites, a - s0);
                    for (std::size_t s = 0; s < nS; ++s)
                        sites[s] = {lon[s0 + s], lat[s0 + s], alt[s0 + s]};
                    for (std::size_t k0 = 0; k0 < nt; k0 += Instants) {
                        const std::size_t nK = std::min(Instants, nt - k0);
                        PosSoleil::PositionsGrille(std::span(geocentres).subspan(k0, nK),
                                                   std::span(sites).first(nS), positions, angles);
                        for (std::size_t s = 0; s < nS; ++s)
                            for (std::size_t k = 0; k < nK; ++k) {
                                const std::size_t i = (s0 + s) * nt + k0 + k;
                                if (std::isnan(t[k0 + k]))
                                    colonnes.Vide(i);
                                else
                                    colonnes.Ecrit(i, positions[s * nK + k], angles[s * nK + k],
                                                   p[s0 + s], temp[s0 + s]);
                            }
                    }
                }
            },
            1);
    }
    return colonnes.Dictionnaire();
}

}  // namespace

PYBIND11_MODULE(_orvanel, m) {
    m.doc() = "The compiled half of orvanel: use the functions of the orvanel package.";
    m.def("grille", &Grille);
    m.def("grille_produit", &GrilleProduit);
    m.def("jours", &Journees::Jours);
    m.def("journee", &Journees::Journee);
    m.def("incidences", &Surfaces::Incidences);
    m.def("suivis", &Surfaces::Suivis);
    m.def("masses_air", &Surfaces::MassesAir);
    m.def("irradiances", &Surfaces::Irradiances);
    m.def("lignes_cadran", &Cadrans::Lignes);
    m.def("ombres_cadran", &Cadrans::Ombres);
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
