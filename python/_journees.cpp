// The compiled half's days: the events of many dates at many sites in a sky, each date's the
// very day orvanel-cli's `jour` gives (in legal time the resident's), a whole year computed at
// once where a site asks for many of its dates.
#include "_journees.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "Commun.h"
#include "Journees.h"
#include "Parallele.h"
#include "Residents.h"
#include "_messages.h"

namespace py = pybind11;

namespace {

using Journees::ClesEtats;
using Journees::ClesSeuils;
using Journees::ClesTypes;
using Journees::Dates;
using Journees::Reels;

constexpr std::int64_t NaT = std::numeric_limits<std::int64_t>::min();

// Below this many dates of one year at one site, each date is computed alone; from it on, the
// whole year (a year costs about 170 single days' Sun, shared by all its dates).
constexpr std::size_t DatesPourUneAnnee = 24;

using Messages::HorsPlage;
using Messages::Nombre;

// A sky from the caller's figures, or a ValueError naming what is wrong with it.
PosSoleil::Ciel Ciel(double oeil, const std::vector<double>& seuils, const Reels& horizon) {
    PosSoleil::Ciel ciel;
    if (!Contrat::Dans(Contrat::HauteurOeil, oeil))
        throw py::value_error(HorsPlage("eye_height", oeil, Contrat::HauteurOeil, "metres"));
    ciel.hauteurOeil = oeil;
    for (double a : seuils) {
        if (!Contrat::Dans(Contrat::HauteurSoleil, a))
            throw py::value_error(HorsPlage("threshold", a, Contrat::HauteurSoleil, "degrees"));
        if (std::count(seuils.begin(), seuils.end(), a) > 1)
            throw py::value_error("threshold given twice: " + Nombre(a));
    }
    ciel.hauteurs = seuils;
    const std::size_t n = static_cast<std::size_t>(horizon.size()) / 2;
    if (n == 0) return ciel;
    if (n < 2) throw py::value_error("horizon needs two points or more");
    if (oeil != 0)
        throw py::value_error(
            "horizon and eye_height exclude each other: the "
            "skyline already is what the eye sees");
    const double* h = horizon.data();
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(h[2 * i]))
            throw py::value_error("horizon azimuth not a finite number: " + Nombre(h[2 * i]));
        if (!Contrat::Dans(Contrat::HauteurHorizon, h[2 * i + 1]))
            throw py::value_error(
                HorsPlage("horizon altitude", h[2 * i + 1], Contrat::HauteurHorizon, "degrees"));
        ciel.horizon.push_back({h[2 * i], h[2 * i + 1]});
    }
    return ciel;
}

// The date-time value's milliseconds since 1970, rounded as orvanel-cli's texts round them.
std::int64_t Ms(double t) {
    return Legal::MsUnix(t);
}

// A time zone the date library knows, or a ValueError.
void VerifieFuseau(const std::string& fuseau) {
    if (fuseau.empty()) return;
    try {
        Legal::HeureLegale essai(fuseau);
    } catch (const std::exception&) {
        throw py::value_error("unknown time zone: " + fuseau);
    }
}

void VerifieSite(double lat, double lon, double alt) {
    const struct {
        const char* nom;
        double v;
        Contrat::Plage p;
        const char* unite;
    } bornes[] = {{"latitude", lat, Contrat::Latitude, "degrees"},
                  {"longitude", lon, Contrat::Longitude, "degrees"},
                  {"altitude", alt, Contrat::AltitudeSite, "metres"}};
    for (const auto& b : bornes)
        if (!Contrat::Dans(b.p, b.v)) throw py::value_error(HorsPlage(b.nom, b.v, b.p, b.unite));
}

void VerifieTt(double tt) {
    if (Orvanel::VerifieTt(tt) != ORVANEL_OK)
        throw py::value_error(HorsPlage("tt_minus_utc", tt, Contrat::TEmoinsTUImpose, "s"));
}

// What a site's days are computed from; a NaN tt takes the contract's model.
Legal::Lieu Lieu(const PosSoleil::Site& site, const PosSoleil::Ciel& ciel, double tt) {
    Legal::Lieu lieu{site, ciel, std::nullopt, 0};
    if (!std::isnan(tt))
        lieu.impose = Contrat::ValeurTEmoinsTU{tt, Contrat::SourceTEmoinsTU::TtUtc};
    return lieu;
}

// A date's days since 1970-01-01 to its year, month and day.
date::year_month_day Date(std::int64_t jours) {
    return date::year_month_day(date::sys_days(date::days(jours)));
}

// What one site asks: its place, its dynamical time and a year; the dates it wants there.
struct Groupe {
    PosSoleil::Site site;
    double tt;
    int annee;
    std::vector<std::size_t> elements;
};

// The columns one day fills for one element: first rises and dawns, last sets and dusks.
struct Colonnes {
    std::vector<std::int64_t*> temps;  // transit, then (rise, set) of each threshold
    std::vector<std::int8_t*> etats;   // of each threshold
    double* duree;
};

void Remplit(const PosSoleil::JourSolaire& j, const PosSoleil::Ciel& ciel, const Colonnes& c,
             std::size_t i) {
    const std::size_t seuils = PosSoleil::NombreSeuils + ciel.hauteurs.size();
    for (std::int64_t* t : c.temps) t[i] = NaT;
    for (const PosSoleil::Evenement& e : j.evenements) {
        if (e.type == PosSoleil::TypeEvenement::Passage) {
            if (c.temps[0][i] == NaT) c.temps[0][i] = Ms(e.t);
            continue;
        }
        const int indice = Contrat::IndiceSeuil(e, ciel);
        if (indice < 0 || static_cast<std::size_t>(indice) >= seuils) continue;
        const auto s = static_cast<std::size_t>(indice);
        if (e.type == PosSoleil::TypeEvenement::Montee) {
            if (c.temps[1 + 2 * s][i] == NaT) c.temps[1 + 2 * s][i] = Ms(e.t);
        } else {
            c.temps[2 + 2 * s][i] = Ms(e.t);
        }
    }
    for (std::size_t s = 0; s < PosSoleil::NombreSeuils; ++s)
        c.etats[s][i] = static_cast<std::int8_t>(j.etats[s]);
    for (std::size_t k = 0; k < ciel.hauteurs.size(); ++k)
        c.etats[PosSoleil::NombreSeuils + k][i] = static_cast<std::int8_t>(j.etatsHauteurs[k]);
    *(c.duree + i) = j.duree * 60;
}

}  // namespace

namespace Journees {

py::dict Jours(const Dates& jours, const Reels& latitude, const Reels& longitude,
               const Reels& altitude, const Reels& tt, double oeil,
               const std::vector<double>& seuils, const Reels& horizon, const std::string& fuseau,
               int taches) {
    const std::size_t n = static_cast<std::size_t>(jours.size());
    for (const Reels* a : {&latitude, &longitude, &altitude, &tt})
        if (static_cast<std::size_t>(a->size()) != n)
            throw py::value_error("every array must hold one value per element");
    const PosSoleil::Ciel ciel = Ciel(oeil, seuils, horizon);
    VerifieFuseau(fuseau);
    const std::int64_t* d = jours.data();
    const double *lat = latitude.data(), *lon = longitude.data(), *alt = altitude.data(),
                 *t = tt.data();
    const double premier = Contrat::PremierInstant(), fin = Contrat::FinInstants();
    // Groups of elements by site, dynamical time and year; every input checked first.
    std::map<std::tuple<double, double, double, std::uint64_t, int>, std::size_t> index;
    std::vector<Groupe> groupes;
    for (std::size_t i = 0; i < n; ++i) {
        VerifieSite(lat[i], lon[i], alt[i]);
        VerifieTt(t[i]);
        if (d[i] == NaT) continue;
        const date::year_month_day ymd = Date(d[i]);
        const double minuit = PosSoleil::EncodeDateValeur(
            static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())), 0, 0, 0);
        if (!(minuit >= premier && minuit < fin))
            throw py::value_error("date outside " + Contrat::TextePremiereDate() + " .. " +
                                  Contrat::TexteDerniereDate() + ": " + date::format("%F", ymd));
        std::uint64_t bits = 0;
        std::memcpy(&bits, &t[i], sizeof bits);
        const auto cle =
            std::make_tuple(lat[i], lon[i], alt[i], bits, static_cast<int>(ymd.year()));
        auto [it, nouveau] = index.emplace(cle, groupes.size());
        if (nouveau)
            groupes.push_back({{lon[i], lat[i], alt[i]}, t[i], static_cast<int>(ymd.year()), {}});
        groupes[it->second].elements.push_back(i);
    }

    // The columns, filled with NaT, NaN and "crossed" for the elements without a date.
    const std::size_t nSeuils = PosSoleil::NombreSeuils + ciel.hauteurs.size();
    std::vector<py::array_t<std::int64_t>> temps;
    std::vector<py::array_t<std::int8_t>> etats;
    py::array_t<double> duree(static_cast<py::ssize_t>(n));
    Colonnes c;
    for (std::size_t k = 0; k < 1 + 2 * nSeuils; ++k) {
        temps.emplace_back(static_cast<py::ssize_t>(n));
        c.temps.push_back(temps.back().mutable_data());
        std::fill_n(c.temps.back(), n, NaT);
    }
    for (std::size_t k = 0; k < nSeuils; ++k) {
        etats.emplace_back(static_cast<py::ssize_t>(n));
        c.etats.push_back(etats.back().mutable_data());
        std::fill_n(c.etats.back(), n, std::int8_t{0});
    }
    c.duree = duree.mutable_data();
    std::fill_n(c.duree, n, std::numeric_limits<double>::quiet_NaN());
    {
        py::gil_scoped_release sansVerrou;
        Contrat::EnParallele(
            groupes.size(), taches,
            [&](std::size_t de, std::size_t a) {
                std::optional<Legal::HeureLegale> legal;
                if (!fuseau.empty()) legal.emplace(fuseau);
                for (std::size_t g = de; g < a; ++g) {
                    const Groupe& G = groupes[g];
                    const Legal::Lieu r = Lieu(G.site, ciel, G.tt);
                    std::vector<std::int64_t> dates;
                    for (std::size_t i : G.elements) dates.push_back(d[i]);
                    std::sort(dates.begin(), dates.end());
                    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
                    Contrat::ValeurTEmoinsTU v{};
                    if (dates.size() >= DatesPourUneAnnee) {
                        std::vector<Contrat::ValeurTEmoinsTU> tts;
                        const std::vector<PosSoleil::JourSolaire> an =
                            Legal::AnneeDuResident(r, legal ? &*legal : nullptr, G.annee, tts);
                        const std::int64_t premierJour =
                            date::sys_days(date::year(G.annee) / 1 / 1).time_since_epoch().count();
                        for (std::size_t i : G.elements)
                            Remplit(an[static_cast<std::size_t>(d[i] - premierJour)], ciel, c, i);
                        continue;
                    }
                    std::map<std::int64_t, PosSoleil::JourSolaire> calcules;
                    for (std::int64_t jj : dates) {
                        const date::year_month_day ymd = Date(jj);
                        calcules.emplace(
                            jj, Legal::JourDuResident(r, legal ? &*legal : nullptr,
                                                      static_cast<int>(ymd.year()),
                                                      static_cast<int>(unsigned(ymd.month())),
                                                      static_cast<int>(unsigned(ymd.day())), v));
                    }
                    for (std::size_t i : G.elements) Remplit(calcules.at(d[i]), ciel, c, i);
                }
            },
            1);
    }
    py::dict r;
    r["times"] = temps;
    r["states"] = etats;
    r["day_length"] = duree;
    return r;
}

}  // namespace Journees

namespace Journees {

py::dict Journee(int annee, int mois, int jour, double latitude, double longitude, double altitude,
                 double tt, double oeil, const std::vector<double>& seuils, const Reels& horizon,
                 const std::string& fuseau) {
    VerifieSite(latitude, longitude, altitude);
    VerifieTt(tt);
    const PosSoleil::Ciel ciel = Ciel(oeil, seuils, horizon);
    VerifieFuseau(fuseau);
    if (Orvanel::VerifieDate(annee, mois, jour) != ORVANEL_OK)
        throw py::value_error("no such date, or a date outside " + Contrat::TextePremiereDate() +
                              " .. " + Contrat::TexteDerniereDate() + ": " + std::to_string(annee) +
                              "-" + std::to_string(mois) + "-" + std::to_string(jour));
    const Legal::Lieu r = Lieu({longitude, latitude, altitude}, ciel, tt);
    std::optional<Legal::HeureLegale> legal;
    if (!fuseau.empty()) legal.emplace(fuseau);
    Contrat::ValeurTEmoinsTU v{};
    const PosSoleil::JourSolaire j =
        Legal::JourDuResident(r, legal ? &*legal : nullptr, annee, mois, jour, v);
    py::list evenements;
    for (const PosSoleil::Evenement& e : j.evenements) {
        py::dict x;
        x["type"] = ClesTypes[static_cast<int>(e.type)];
        const bool seuil = e.type == PosSoleil::TypeEvenement::Montee ||
                           e.type == PosSoleil::TypeEvenement::Descente;
        if (!seuil)
            x["threshold"] = py::none();
        else if (e.seuil == PosSoleil::Seuil::Hauteur)
            x["threshold"] = e.cible;
        else
            x["threshold"] = ClesSeuils[static_cast<int>(e.seuil)];
        x["ms"] = Ms(e.t);
        x["azimuth"] = Contrat::AzimutNord(e.azimut);
        x["elevation"] = e.hauteur;
        evenements.append(x);
    }
    py::dict etats;
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
        etats[ClesSeuils[s]] = ClesEtats[static_cast<int>(j.etats[s])];
    for (std::size_t k = 0; k < ciel.hauteurs.size(); ++k)
        etats[py::float_(ciel.hauteurs[k])] = ClesEtats[static_cast<int>(j.etatsHauteurs[k])];
    py::dict d;
    d["start_ms"] = Ms(j.debut);
    d["events"] = evenements;
    d["states"] = etats;
    d["day_length"] = j.duree * 60;
    d["day_length_change"] = j.variationDuree * 60;
    d["tt_minus_utc"] = v.secondes;
    return d;
}

}  // namespace Journees
