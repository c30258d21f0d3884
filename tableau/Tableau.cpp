#include "Tableau.h"

#include <cmath>
#include <cstdio>

#include "PosSoleil.h"

namespace Tableau {

double DateMin() noexcept {
    return PosSoleil::EncodeDateValeur(PremiereAnnee, 1, 1, 0, 0, 0);
}

double DateMax() noexcept {
    return PosSoleil::EncodeDateValeur(DerniereAnnee, 1, 1, 0, 0, 0);
}

double TEmoinsTU(int taiMoinsUtc) noexcept {
    return (taiMoinsUtc * 1000.0 + 32184.0) / 1000.0;
}

double Diviseur(Unite unite) noexcept {
    static constexpr double Diviseurs[] = {86400, 1440, 24, 1};
    return Diviseurs[static_cast<int>(unite)];
}

Instant InstantSerie(double debut, double pasJours, long long i) noexcept {
    const double t =
        static_cast<double>(static_cast<long double>(debut) +
                            static_cast<long double>(i) * static_cast<long double>(pasJours));
    Instant c{};
    int ms = 0;
    PosSoleil::DecodeDateValeur(t, c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde, ms);
    c.t = PosSoleil::EncodeDateValeur(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde);
    return c;
}

const char* const Modele[9] = {
    "Ephémérides Solaire (UTC)",
    "",
    "Positions Topocentriques Apparentes",
    "Horizon Local et Sud Vrai",
    "",
    "Longitude E 00°00'00\", Latitude N 00°00'00\"",
    "",
    " A  M  J     h  m  s    Hauteur      Azimuth        ",
    "   ",
};

std::string LigneSite(double longitude, double latitude, bool est, bool nord,
                      const std::string& separateur) {
    const std::string l = est ? "Longitude E " + PosSoleil::DegVersDMS(longitude, 0, separateur)
                              : "Longitude O " + PosSoleil::DegVersDMS(-longitude, 0, separateur);
    const std::string p = nord ? "Latitude N " + PosSoleil::DegVersDMS(latitude, 0, separateur)
                               : "Latitude S " + PosSoleil::DegVersDMS(-latitude, 0, separateur);
    return l + ", " + p;
}

std::string LigneReference(bool sud) {
    return sud ? "Horizon Local et Sud Vrai" : "Horizon Local et Nord Vrai";
}

std::string LigneColonnes(bool zenith) {
    return zenith ? "A  M  J   h  m  s  Dist.Zénitale   Azimuth   "
                  : "A  M  J   h  m  s    Hauteur       Azimuth   ";
}

std::string Ligne(int annee, int mois, int jour, int heure, int minute, int seconde, double hauteur,
                  double azimut, const std::string& separateur) {
    char horodatage[80];
    std::snprintf(horodatage, sizeof horodatage, "%04d %02d %02d  %02d %02d %02d  ", annee, mois,
                  jour, heure, minute, seconde);
    std::string ligne(horodatage);
    ligne += PosSoleil::DegVersDMS(hauteur, 1, separateur);
    ligne += ' ';
    ligne += PosSoleil::DegVersDMS(azimut, 1, separateur);
    ligne += "  ";
    return ligne;
}

std::string NomEvenement(const PosSoleil::Evenement& e) {
    using PosSoleil::TypeEvenement;
    static const char* const montees[] = {"Lever", "Aube civile", "Aube nautique",
                                          "Aube astronomique"};
    static const char* const descentes[] = {"Coucher", "Crépuscule civil", "Crépuscule nautique",
                                            "Crépuscule astronomique"};
    switch (e.type) {
        case TypeEvenement::Passage:
            return "Passage au méridien";
        case TypeEvenement::PassageInferieur:
            return "Passage inférieur";
        case TypeEvenement::Montee:
            return montees[static_cast<int>(e.seuil)];
        case TypeEvenement::Descente:
            return descentes[static_cast<int>(e.seuil)];
    }
    return {};
}

std::string TexteEtat(PosSoleil::Seuil seuil, PosSoleil::EtatSeuil etat) {
    const bool dessus = etat == PosSoleil::EtatSeuil::ToujoursAuDessus;
    switch (seuil) {
        case PosSoleil::Seuil::LeverCoucher:
            return dessus ? "Jour polaire : le Soleil ne se couche pas"
                          : "Nuit polaire : le Soleil ne se lève pas";
        case PosSoleil::Seuil::Civil:
            return dessus ? "Pas de nuit civile : le Soleil reste au-dessus de -6°"
                          : "Pas de crépuscule civil : le Soleil reste sous -6°";
        case PosSoleil::Seuil::Nautique:
            return dessus ? "Pas de nuit nautique : le Soleil reste au-dessus de -12°"
                          : "Pas de crépuscule nautique : le Soleil reste sous -12°";
        case PosSoleil::Seuil::Astronomique:
            return dessus ? "Pas de nuit astronomique : le Soleil reste au-dessus de -18°"
                          : "Pas de crépuscule astronomique : le Soleil reste sous -18°";
    }
    return {};
}

std::string Duree(double heures, bool signe) {
    const long long s = std::llround(std::fabs(heures) * 3600);
    char texte[64];
    std::snprintf(texte, sizeof texte, "%s%02lld:%02lld:%02lld",
                  signe ? (heures < 0 ? "-" : "+") : "", s / 3600, s / 60 % 60, s % 60);
    return texte;
}

}  // namespace Tableau
