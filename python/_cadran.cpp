// The compiled half's sundials: the engine's dial lines and shadows, each input checked against
// the contract's ranges, each refusal a ValueError naming the argument and its reason.
#include "_cadran.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>

#include "Commun.h"
#include "_messages.h"

namespace py = pybind11;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The dial at a site, every figure checked.
PosSoleil::Cadran Cadran(double latitude, double longitude, double altitude, double azimutMur,
                         double inclinaison, bool nodus, double longueur) {
    if (Orvanel::VerifieSite({longitude, latitude, altitude}) != ORVANEL_OK)
        throw py::value_error("latitude, longitude or altitude out of range");
    if (!Contrat::Dans(Contrat::InclinaisonPlan, inclinaison))
        throw py::value_error(
            Messages::HorsPlage("inclination", inclinaison, Contrat::InclinaisonPlan, "degrees"));
    if (!Contrat::AzimutDonne(azimutMur))
        throw py::value_error("wall_azimuth must be a finite number of degrees");
    if (!Contrat::Dans(Contrat::LongueurGnomon, longueur))
        throw py::value_error(Messages::HorsPlage(nodus ? "nodus_distance" : "style_length",
                                                  longueur, Contrat::LongueurGnomon, "mm"));
    PosSoleil::Cadran c;
    c.azimutMur = azimutMur;
    c.inclinaison = inclinaison;
    c.gnomon = nodus ? PosSoleil::Gnomon::Nodus : PosSoleil::Gnomon::StylePolaire;
    c.longueur = longueur;
    switch (PosSoleil::VerifieCadran(c, latitude)) {
        case PosSoleil::DefautCadran::StyleParallele:
            throw py::value_error(
                "the plane is nearly parallel to the Earth's axis: a polar style never meets it, "
                "take a nodus");
        case PosSoleil::DefautCadran::JamaisEclaire:
            throw py::value_error("the Sun never lights this face at this latitude");
        default:
            return c;
    }
}

}  // namespace

py::dict Cadrans::Lignes(double latitude, double longitude, double altitude, double azimutMur,
                         double inclinaison, bool nodus, double longueur,
                         const std::vector<std::string>& lignes, double largeur, double hauteur,
                         double centreX, double centreY, int annee, double meridien,
                         double TEmoinsTU) {
    const PosSoleil::Cadran c =
        Cadran(latitude, longitude, altitude, azimutMur, inclinaison, nodus, longueur);
    PosSoleil::ChoixLignes choix;
    choix.heures = choix.dates = false;
    for (const std::string& nom : lignes) {
        const auto* l =
            std::find_if(std::begin(Contrat::LignesDemandees), std::end(Contrat::LignesDemandees),
                         [&](const Contrat::LigneDemandee& d) { return nom == d.python; });
        if (l == std::end(Contrat::LignesDemandees)) {
            std::string mots;
            for (const Contrat::LigneDemandee& d : Contrat::LignesDemandees)
                mots += std::string(mots.empty() ? "" : ", ") + d.python;
            throw py::value_error("unknown line '" + nom + "': " + mots);
        }
        choix.*(l->choix) = true;
    }
    for (const double d : {largeur, hauteur})
        if (!Contrat::Dans(Contrat::TailleCadran, d))
            throw py::value_error(Messages::HorsPlage("size", d, Contrat::TailleCadran, "mm"));
    if (annee < Contrat::PremiereAnnee || annee > Contrat::DerniereAnnee)
        throw py::value_error("year outside " + Contrat::TextePremiereDate() + " .. " +
                              Contrat::TexteDerniereDate());
    if (!Contrat::Dans(Contrat::Longitude, meridien))
        throw py::value_error(
            Messages::HorsPlage("meridian", meridien, Contrat::Longitude, "degrees"));
    PosSoleil::Trace trace;
    trace.largeur = largeur;
    trace.hauteur = hauteur;
    trace.annee = annee;
    trace.meridien = meridien;
    trace.TEmoinsTU = Orvanel::Tt(PosSoleil::EncodeDateValeur(annee, 7, 1, 0, 0, 0), TEmoinsTU);
    // NaN: the area centred on the heart of the dial.
    if (std::isnan(centreX) || std::isnan(centreY))
        std::tie(centreX, centreY) =
            PosSoleil::CentreDesLignes(c, {longitude, latitude, altitude}, trace);
    else if (!std::isfinite(centreX) || !std::isfinite(centreY))
        throw py::value_error("center must be two finite numbers of millimetres");
    trace.centreX = centreX;
    trace.centreY = centreY;
    const auto resultat = PosSoleil::LignesCadran(c, {longitude, latitude, altitude}, choix, trace);
    py::list sortes, etiquettes;
    std::vector<double> x, y, pieces;
    for (std::size_t k = 0; k < resultat.size(); ++k)
        for (const auto& [px, py_] : resultat[k].points) {
            sortes.append(Contrat::NomSorteLigne(resultat[k].sorte).python);
            etiquettes.append(resultat[k].etiquette);
            pieces.push_back(static_cast<double>(k));
            x.push_back(px);
            y.push_back(py_);
        }
    py::dict d;
    d["line"] = sortes;
    d["label"] = etiquettes;
    d["piece"] = py::array_t<double>(static_cast<py::ssize_t>(pieces.size()), pieces.data());
    d["x_mm"] = py::array_t<double>(static_cast<py::ssize_t>(x.size()), x.data());
    d["y_mm"] = py::array_t<double>(static_cast<py::ssize_t>(y.size()), y.data());
    d["center"] = py::make_tuple(centreX, centreY);
    return d;
}

py::dict Cadrans::Ombres(const Reels& secondes, double latitude, double longitude, double altitude,
                         double azimutMur, double inclinaison, bool nodus, double longueur,
                         const Reels& pression, const Reels& temperature, double TEmoinsTU) {
    const PosSoleil::Cadran c =
        Cadran(latitude, longitude, altitude, azimutMur, inclinaison, nodus, longueur);
    const py::ssize_t n = secondes.size();
    const bool meteo = pression.size() > 0;
    if (meteo && (pression.size() != n || temperature.size() != n))
        throw py::value_error("pressure and temperature: one value per time");
    if (Orvanel::VerifieTt(TEmoinsTU) != ORVANEL_OK)
        throw py::value_error("tt_minus_utc out of range");
    const double* t = secondes.data();
    for (py::ssize_t i = 0; i < n; ++i)
        if (!std::isnan(t[i]) && Orvanel::VerifieInstant(t[i]) != ORVANEL_OK)
            throw py::value_error("time outside " + Contrat::TextePremierInstant() + " .. " +
                                  Contrat::TexteDernierInstant());
    for (py::ssize_t i = 0; meteo && i < n; ++i) {
        const double p = pression.data()[i], temp = temperature.data()[i];
        if (!std::isnan(p) && !Contrat::Dans(Contrat::PressionPa, p))
            throw py::value_error(Messages::HorsPlage("pressure", p, Contrat::PressionPa, "Pa"));
        if (!std::isnan(temp) && !Contrat::Dans(Contrat::Temperature, temp))
            throw py::value_error(
                Messages::HorsPlage("temperature", temp, Contrat::Temperature, "degrees Celsius"));
    }
    py::array_t<double> x(n), y(n);
    py::array_t<bool> eclaire(n);
    double *px = x.mutable_data(), *py_ = y.mutable_data();
    bool* pe = eclaire.mutable_data();
    const PosSoleil::Site site{longitude, latitude, altitude};
    {
        py::gil_scoped_release sansVerrou;
        for (py::ssize_t i = 0; i < n; ++i) {
            if (std::isnan(t[i])) {
                px[i] = py_[i] = NaN;
                pe[i] = false;
                continue;
            }
            const double dv = Orvanel::DateValeur(t[i]);
            const PosSoleil::Position p =
                PosSoleil::PositionSoleil(dv, site, Orvanel::Tt(dv, TEmoinsTU));
            double h = p.Hauteur;
            // Missing weather for a time: no refraction then.
            if (meteo && !std::isnan(pression.data()[i]) && !std::isnan(temperature.data()[i]))
                h += PosSoleil::Refraction(h, Contrat::CmHgDePascals(pression.data()[i]),
                                           temperature.data()[i]);
            const PosSoleil::Ombre o = PosSoleil::OmbreCadran(c, latitude, p.Azimut, h);
            px[i] = o.x;
            py_[i] = o.y;
            pe[i] = o.eclaire;
        }
    }
    py::dict d;
    d["x_mm"] = x;
    d["y_mm"] = y;
    d["lit"] = eclaire;
    return d;
}
