// The compiled half's surfaces: the engine's incidence, trackers, air mass and irradiance above
// the atmosphere over NumPy arrays, each input checked against the contract's ranges.
#include "_surfaces.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <string>

#include "Commun.h"
#include "_messages.h"

namespace py = pybind11;

namespace {

using Messages::HorsPlage;

// Every element NaN or within its range, else a ValueError naming the argument and the range.
void Verifie(const char* nom, const Surfaces::Reels& v, Contrat::Plage p, const char* unite) {
    const double* x = v.data();
    for (py::ssize_t i = 0; i < v.size(); ++i)
        if (!std::isnan(x[i]) && !Contrat::Dans(p, x[i]))
            throw py::value_error(HorsPlage(nom, x[i], p, unite));
}

// An azimuth: any finite number of degrees, or NaN.
void VerifieAzimut(const char* nom, const Surfaces::Reels& v) {
    const double* x = v.data();
    for (py::ssize_t i = 0; i < v.size(); ++i)
        if (!std::isnan(x[i]) && !Contrat::AzimutDonne(x[i]))
            throw py::value_error(std::string(nom) + " must be a finite number of degrees");
}

void MemeTaille(std::initializer_list<const Surfaces::Reels*> tableaux) {
    for (const Surfaces::Reels* a : tableaux)
        if (a->size() != (*tableaux.begin())->size())
            throw py::value_error("every array must hold one value per element");
}

}  // namespace

namespace Surfaces {

py::tuple Incidences(const Reels& inclinaison, const Reels& azimut, const Reels& zenith,
                     const Reels& azimutSoleil) {
    MemeTaille({&inclinaison, &azimut, &zenith, &azimutSoleil});
    Verifie("surface_tilt", inclinaison, Contrat::InclinaisonPlan, "degrees");
    VerifieAzimut("surface_azimuth", azimut);
    Verifie("solar_zenith", zenith, Contrat::DistanceZenithale, "degrees");
    VerifieAzimut("solar_azimuth", azimutSoleil);
    const py::ssize_t n = zenith.size();
    py::array_t<double> projection(n), angle(n);
    const double *b = inclinaison.data(), *g = azimut.data(), *z = zenith.data(),
                 *a = azimutSoleil.data();
    double *p = projection.mutable_data(), *t = angle.mutable_data();
    for (py::ssize_t i = 0; i < n; ++i) {
        p[i] = PosSoleil::ProjectionIncidence(b[i], g[i], z[i], a[i]);
        t[i] = PosSoleil::Incidence(b[i], g[i], z[i], a[i]);
    }
    return py::make_tuple(projection, angle);
}

py::dict Suivis(const Reels& zenith, const Reels& azimut, double axeInclinaison, double axeAzimut,
                double angleMax, bool retour, double gcr, double pente) {
    MemeTaille({&zenith, &azimut});
    PosSoleil::Suiveur s;
    s.axeInclinaison = axeInclinaison;
    s.axeAzimut = axeAzimut;
    s.angleMax = angleMax;
    s.gcr = gcr;
    s.penteTransverse = pente;
    s.retour = retour;
    if (const char* nom = Contrat::SuiveurHorsPlage(s)) {
        const struct {
            const char* nom;
            double v;
            Contrat::Plage p;
        } bornes[] = {{"axis_tilt", axeInclinaison, Contrat::InclinaisonAxe},
                      {"max_angle", angleMax, Contrat::RotationMax},
                      {"gcr", gcr, Contrat::TauxCouverture},
                      {"cross_axis_tilt", pente, Contrat::PenteTransverse}};
        for (const auto& b : bornes)
            if (std::string(nom) == b.nom) throw py::value_error(HorsPlage(nom, b.v, b.p, ""));
        throw py::value_error(std::string(nom) + " must be a finite number of degrees");
    }
    Verifie("apparent_zenith", zenith, Contrat::DistanceZenithale, "degrees");
    VerifieAzimut("apparent_azimuth", azimut);
    const std::size_t n = static_cast<std::size_t>(zenith.size());
    std::vector<PosSoleil::Orientation> o(n);
    {
        py::gil_scoped_release sansVerrou;
        PosSoleil::Suivis(s, std::span(zenith.data(), n), std::span(azimut.data(), n), o);
    }
    py::array_t<double> theta(static_cast<py::ssize_t>(n)), aoi(static_cast<py::ssize_t>(n)),
        tilt(static_cast<py::ssize_t>(n)), az(static_cast<py::ssize_t>(n));
    double *t = theta.mutable_data(), *i2 = aoi.mutable_data(), *b = tilt.mutable_data(),
           *g = az.mutable_data();
    for (std::size_t i = 0; i < n; ++i) {
        t[i] = o[i].rotation;
        i2[i] = o[i].incidence;
        b[i] = o[i].inclinaison;
        g[i] = o[i].azimut;
    }
    py::dict d;
    d["tracker_theta"] = theta;
    d["aoi"] = aoi;
    d["surface_tilt"] = tilt;
    d["surface_azimuth"] = az;
    return d;
}

py::array_t<double> MassesAir(const Reels& zenith, const Reels& pression) {
    Verifie("apparent_zenith", zenith, Contrat::DistanceZenithale, "degrees");
    const bool absolue = pression.size() > 0;
    if (absolue) {
        MemeTaille({&zenith, &pression});
        Verifie("pressure", pression, Contrat::PressionPa, "pascals");
    }
    const py::ssize_t n = zenith.size();
    py::array_t<double> masse(n);
    const double *z = zenith.data(), *p = pression.data();
    double* m = masse.mutable_data();
    for (py::ssize_t i = 0; i < n; ++i) {
        m[i] = PosSoleil::MasseAirRelative(z[i]);
        if (absolue) m[i] = PosSoleil::MasseAirAbsolue(m[i], Contrat::CmHgDePascals(p[i]));
    }
    return masse;
}

py::array_t<double> Irradiances(const Reels& secondes, const Reels& tt) {
    MemeTaille({&secondes, &tt});
    const py::ssize_t n = secondes.size();
    const double *s = secondes.data(), *d = tt.data();
    for (py::ssize_t i = 0; i < n; ++i) {
        if (Orvanel::VerifieTt(d[i]) != ORVANEL_OK)
            throw py::value_error(HorsPlage("tt_minus_utc", d[i], Contrat::TEmoinsTUImpose, "s"));
        if (!std::isnan(s[i]) && Orvanel::VerifieInstant(s[i]) != ORVANEL_OK)
            throw py::value_error("time outside " + Contrat::TextePremierInstant() + " .. " +
                                  Contrat::TexteDernierInstant());
    }
    py::array_t<double> e(n);
    double* sortie = e.mutable_data();
    for (py::ssize_t i = 0; i < n; ++i) {
        if (std::isnan(s[i])) {
            sortie[i] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        const double t = Orvanel::DateValeur(s[i]);
        sortie[i] = PosSoleil::IrradianceHorsAtmosphere(
            PosSoleil::PositionGeocentrique(t, Orvanel::Tt(t, d[i])).RayonVecteur);
    }
    return e;
}

}  // namespace Surfaces
