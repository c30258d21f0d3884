#include "Tableau.h"

#include <algorithm>
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
                      const std::string& separateur, bool retenue) {
    const auto dms = [&](double angle) {
        return retenue ? TexteDMS(angle, 0, separateur)
                       : PosSoleil::DegVersDMS(angle, 0, separateur);
    };
    const std::string l = est ? "Longitude E " + dms(longitude) : "Longitude O " + dms(-longitude);
    const std::string p = nord ? "Latitude N " + dms(latitude) : "Latitude S " + dms(-latitude);
    return l + ", " + p;
}

namespace {

std::string AvecRetenue(double angle, double grandeur, int decimals, const std::string& separateur,
                        const char* unite, const char* minute, const char* seconde,
                        std::string (*sansRetenue)(double, int, std::string_view)) {
    decimals = std::clamp(decimals, 0, 9);
    // Past 1e12 (or not a number) the whole count of the last decimal no longer fits: such
    // angles keep the engine's own text.
    if (!(grandeur < 1e12)) return sansRetenue(angle, decimals, separateur);
    long long echelle = 1;
    for (int i = 0; i < decimals; ++i) echelle *= 10;
    const long long total = std::llround(grandeur * 3600 * static_cast<double>(echelle));
    const long long secondes = total % (60 * echelle);
    const long long minutes = total / (60 * echelle) % 60;
    const long long degres = total / (3600 * echelle);
    char texte[96];
    std::snprintf(texte, sizeof texte, "%c%02lld%s%02lld%s%02lld", angle < 0 && total != 0 ? '-' : ' ',
                  degres, unite, minutes, minute, secondes / echelle);
    std::string resultat = texte;
    if (decimals > 0) {
        const std::string fraction = std::to_string(secondes % echelle);
        resultat += separateur + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') +
                    fraction;
    }
    return resultat + seconde;
}

}  // namespace

std::string TexteDMS(double angle, int decimals, const std::string& separateur) {
    return AvecRetenue(angle, std::fabs(angle), decimals, separateur, "\u00B0", "'", "\"",
                       &PosSoleil::DegVersDMS);
}

std::string TexteHMS(double angle, int decimals, const std::string& separateur) {
    return AvecRetenue(angle, std::fabs(angle / 15), decimals, separateur, "h", "mn", "s",
                       &PosSoleil::DegVersHMS);
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
            if (e.seuil == PosSoleil::Seuil::Hauteur) return "Montée à " + TexteHauteur(e.cible);
            return montees[static_cast<int>(e.seuil)];
        case TypeEvenement::Descente:
            if (e.seuil == PosSoleil::Seuil::Hauteur) return "Descente à " + TexteHauteur(e.cible);
            return descentes[static_cast<int>(e.seuil)];
    }
    return {};
}

std::string TexteHauteur(double hauteur) {
    char texte[40];
    std::snprintf(texte, sizeof texte, "%+g°", hauteur);
    return texte;
}

std::string TexteEtat(double hauteur, PosSoleil::EtatSeuil etat) {
    return (etat == PosSoleil::EtatSeuil::ToujoursAuDessus ? "Le Soleil reste au-dessus de "
                                                            : "Le Soleil reste sous ") +
           TexteHauteur(hauteur);
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
        case PosSoleil::Seuil::Hauteur:
            break;  // told with its altitude
    }
    return {};
}

std::string Duree(double heures, bool signe) {
    const long long s = std::llround(std::fabs(heures) * 3600);
    char texte[64];
    std::snprintf(texte, sizeof texte, "%s%02lld:%02lld:%02lld",
                  signe ? (heures < 0 && s != 0 ? "-" : "+") : "", s / 3600, s / 60 % 60, s % 60);
    return texte;
}

}  // namespace Tableau
