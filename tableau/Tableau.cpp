#include "Tableau.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdio>
#include <istream>
#include <stdexcept>

#include "PosSoleil.h"
#include "TempsDynamique.h"

namespace Tableau {

double TEmoinsTU(int taiMoinsUtc) noexcept {
    return (taiMoinsUtc * 1000.0 + Contrat::TTMoinsTAIMs) / 1000.0;
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
    std::snprintf(texte, sizeof texte, "%c%02lld%s%02lld%s%02lld",
                  angle < 0 && total != 0 ? '-' : ' ', degres, unite, minutes, minute,
                  secondes / echelle);
    std::string resultat = texte;
    if (decimals > 0) {
        const std::string fraction = std::to_string(secondes % echelle);
        resultat += separateur +
                    std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') +
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

namespace {

// The names of the crossings of the four standard thresholds, up and down.
const char* const Montees[] = {"Lever", "Aube civile", "Aube nautique", "Aube astronomique"};
const char* const Descentes[] = {"Coucher", "Crépuscule civil", "Crépuscule nautique",
                                 "Crépuscule astronomique"};

}  // namespace

std::string NomEvenement(const PosSoleil::Evenement& e) {
    using PosSoleil::TypeEvenement;
    switch (e.type) {
        case TypeEvenement::Passage:
            return "Passage au méridien";
        case TypeEvenement::PassageInferieur:
            return "Passage inférieur";
        case TypeEvenement::Montee:
            if (e.seuil == PosSoleil::Seuil::Hauteur) return "Montée à " + TexteHauteur(e.cible);
            return Montees[static_cast<int>(e.seuil)];
        case TypeEvenement::Descente:
            if (e.seuil == PosSoleil::Seuil::Hauteur) return "Descente à " + TexteHauteur(e.cible);
            return Descentes[static_cast<int>(e.seuil)];
    }
    return {};
}

std::string TexteHauteur(double hauteur) {
    char texte[40];
    std::snprintf(texte, sizeof texte, "%+g°", hauteur);
    return texte;
}

bool Sorte::Est(const PosSoleil::Evenement& e) const noexcept {
    if (e.type != type) return false;
    if (type == PosSoleil::TypeEvenement::Passage) return true;
    return e.seuil == seuil && (seuil != PosSoleil::Seuil::Hauteur || e.cible == hauteur);
}

std::vector<Sorte> Sortes(const std::vector<double>& hauteurs) {
    using PosSoleil::Seuil;
    using PosSoleil::TypeEvenement;
    constexpr auto M = TypeEvenement::Montee, D = TypeEvenement::Descente;
    std::vector<Sorte> sortes = {
        {"lever", Montees[0], M, Seuil::LeverCoucher, 0},
        {"passage", "Passage", TypeEvenement::Passage, Seuil::LeverCoucher, 0},
        {"coucher", Descentes[0], D, Seuil::LeverCoucher, 0},
        {"aube_civile", Montees[1], M, Seuil::Civil, 0},
        {"crepuscule_civil", Descentes[1], D, Seuil::Civil, 0},
        {"aube_nautique", Montees[2], M, Seuil::Nautique, 0},
        {"crepuscule_nautique", Descentes[2], D, Seuil::Nautique, 0},
        {"aube_astronomique", Montees[3], M, Seuil::Astronomique, 0},
        {"crepuscule_astronomique", Descentes[3], D, Seuil::Astronomique, 0},
    };
    for (const double h : hauteurs) {
        // The shortest text that reads back as the altitude, as the CSV numbers are written.
        char nombre[32];
        const auto fin = std::to_chars(nombre, nombre + sizeof nombre, h).ptr;
        const std::string n(nombre, fin);
        sortes.push_back(
            {"montee_hauteur_" + n, "Montée à " + TexteHauteur(h), M, Seuil::Hauteur, h});
        sortes.push_back(
            {"descente_hauteur_" + n, "Descente à " + TexteHauteur(h), D, Seuil::Hauteur, h});
    }
    return sortes;
}

std::string TexteEtat(double hauteur, PosSoleil::EtatSeuil etat) {
    return (etat == PosSoleil::EtatSeuil::ToujoursAuDessus ? "Le Soleil reste au-dessus de "
                                                           : "Le Soleil reste sous ") +
           TexteHauteur(hauteur);
}

std::string TexteEtat(PosSoleil::Seuil seuil, PosSoleil::EtatSeuil etat) {
    const bool dessus = etat == PosSoleil::EtatSeuil::ToujoursAuDessus;
    // The twilights' adjectives (for the night, then the twilight), their thresholds from the
    // engine.
    static const char* const nuits[] = {"", "civile", "nautique", "astronomique"};
    static const char* const crepuscules[] = {"", "civil", "nautique", "astronomique"};
    const int k = static_cast<int>(seuil);
    switch (seuil) {
        case PosSoleil::Seuil::LeverCoucher:
            return dessus ? "Jour polaire : le Soleil ne se couche pas"
                          : "Nuit polaire : le Soleil ne se lève pas";
        case PosSoleil::Seuil::Civil:
        case PosSoleil::Seuil::Nautique:
        case PosSoleil::Seuil::Astronomique: {
            const std::string hauteur = TexteHauteur(PosSoleil::HauteursSeuils[k]);
            return dessus ? std::string("Pas de nuit ") + nuits[k] +
                                " : le Soleil reste au-dessus de " + hauteur
                          : std::string("Pas de crépuscule ") + crepuscules[k] +
                                " : le Soleil reste sous " + hauteur;
        }
        case PosSoleil::Seuil::Hauteur:
            break;  // told with its altitude
    }
    return {};
}

bool CacheParLeRelief(const PosSoleil::JourSolaire& jour, const PosSoleil::Ciel& ciel) {
    if (ciel.horizon.empty() || jour.etats[0] != PosSoleil::EtatSeuil::ToujoursAuDessous)
        return false;
    for (const PosSoleil::Evenement& e : jour.evenements)
        if (e.type == PosSoleil::TypeEvenement::Passage &&
            e.hauteur >= PosSoleil::HauteursSeuils[0])
            return true;
    return false;
}

std::string TexteEtatLever(const PosSoleil::JourSolaire& jour, const PosSoleil::Ciel& ciel) {
    if (CacheParLeRelief(jour, ciel))
        return "Soleil caché par le relief : il ne paraît pas au-dessus de l'horizon du lieu";
    return TexteEtat(PosSoleil::Seuil::LeverCoucher, jour.etats[0]);
}

std::string Duree(double heures, bool signe) {
    const long long s = std::llround(std::fabs(heures) * 3600);
    char texte[64];
    std::snprintf(texte, sizeof texte, "%s%02lld:%02lld:%02lld",
                  signe ? (heures < 0 && s != 0 ? "-" : "+") : "", s / 3600, s / 60 % 60, s % 60);
    return texte;
}

namespace {

std::string Espaces(std::string_view texte) {
    const auto debut = texte.find_first_not_of(" \t");
    if (debut == std::string_view::npos) return {};
    const auto fin = texte.find_last_not_of(" \t\r");
    return std::string(texte.substr(debut, fin - debut + 1));
}

// A field of the skyline's file: a plain decimal number within min..max.
double ChampHorizon(const std::string& champ, const char* nom, double min, double max,
                    const std::string& ou) {
    double x = 0;
    const char* fin = champ.data() + champ.size();
    const char* debut = champ.data() + (champ.size() > 1 && champ[0] == '+');
    const auto [p, erreur] = std::from_chars(debut, fin, x);
    if (champ.empty() || erreur != std::errc() || p != fin || !std::isfinite(x))
        throw std::invalid_argument(ou + "nombre attendu pour " + nom + " : « " + champ + " »");
    if (!(x >= min && x <= max)) {
        char limites[64];
        std::snprintf(limites, sizeof limites, "%g à %g degrés", min, max);
        throw std::invalid_argument(ou +
                                    (std::string_view(nom) == "azimuth" ? "azimut" : "hauteur") +
                                    " hors de " + limites + " : « " + champ + " »");
    }
    return x;
}

}  // namespace

std::vector<PosSoleil::PointHorizon> LitHorizon(std::istream& entree, const std::string& nom) {
    const std::string fichier = "« " + nom + " » ";
    std::vector<PosSoleil::PointHorizon> points;
    std::string ligne;
    long long numero = 0;
    bool entete = false;
    while (std::getline(entree, ligne)) {
        ++numero;
        if (numero == 1 && ligne.rfind("\xEF\xBB\xBF", 0) == 0) ligne.erase(0, 3);  // a BOM
        const std::string texte = Espaces(ligne);
        if (texte.empty() || texte[0] == '#') continue;
        const std::string ou = fichier + "ligne " + std::to_string(numero) + " : ";
        const auto virgule = texte.find(',');
        if (!entete) {
            if (virgule == std::string::npos || Espaces(texte.substr(0, virgule)) != "azimuth" ||
                Espaces(texte.substr(virgule + 1)) != "altitude")
                throw std::invalid_argument(ou + "en-tête « azimuth,altitude » attendu, « " +
                                            texte + " » lu");
            entete = true;
            continue;
        }
        if (virgule == std::string::npos || texte.find(',', virgule + 1) != std::string::npos)
            throw std::invalid_argument(ou + "deux valeurs attendues, azimuth,altitude : « " +
                                        texte + " »");
        const double azimut =
            ChampHorizon(Espaces(texte.substr(0, virgule)), "azimuth", -360, 360, ou);
        const double hauteur = ChampHorizon(Espaces(texte.substr(virgule + 1)), "altitude",
                                            PosSoleil::HorizonMin, PosSoleil::HorizonMax, ou);
        points.push_back({azimut, hauteur});
    }
    if (!entete)
        throw std::invalid_argument(fichier + "ligne " + std::to_string(numero + 1) +
                                    " : fichier vide, l'en-tête « azimuth,altitude » est attendu");
    if (points.size() < 2)
        throw std::invalid_argument(fichier + "ligne " + std::to_string(numero + 1) +
                                    " (fin du fichier) : au moins deux points sont attendus, " +
                                    std::to_string(points.size()) + " lu");
    return points;
}

std::string ErreurCiel(const PosSoleil::Ciel& ciel) {
    const auto nombre = [](double x) {
        char texte[32];
        std::snprintf(texte, sizeof texte, "%g", x);
        return std::string(texte);
    };
    const auto plage = [&](double min, double max) { return nombre(min) + " à " + nombre(max); };
    double v = 0;
    switch (PosSoleil::VerifieCiel(ciel, v)) {
        case PosSoleil::DefautCiel::Aucun:
            return {};
        case PosSoleil::DefautCiel::HauteurOeil:
            return "hauteur de l'œil hors de " + plage(0, PosSoleil::HauteurOeilMax) +
                   " m : " + nombre(v);
        case PosSoleil::DefautCiel::Hauteur:
            return "hauteur hors de " +
                   plage(PosSoleil::HauteurSoleilMin, PosSoleil::HauteurSoleilMax) + " : " +
                   nombre(v);
        case PosSoleil::DefautCiel::HauteurRepetee:
            return "hauteur donnée deux fois : " + nombre(v);
        case PosSoleil::DefautCiel::HorizonEtOeil:
            return "un horizon et une hauteur de l'œil ne vont pas ensemble : l'horizon est ce "
                   "que voit l'œil";
        case PosSoleil::DefautCiel::HorizonCourt:
            return "l'horizon demande au moins deux points";
        case PosSoleil::DefautCiel::AzimutHorizon:
            return "azimut de l'horizon non fini";
        case PosSoleil::DefautCiel::HauteurHorizon:
            return "hauteur de l'horizon hors de " +
                   plage(PosSoleil::HorizonMin, PosSoleil::HorizonMax) + " : " + nombre(v);
    }
    return {};
}

}  // namespace Tableau
