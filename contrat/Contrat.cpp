// The program's dates and their texts.
#include "Contrat.h"

#include <cstdio>

namespace Contrat {

double PremierInstant() noexcept {
    return PosSoleil::EncodeDateValeur(PremiereAnnee, 1, 1, 0, 0, 0);
}

double FinInstants() noexcept {
    return PosSoleil::EncodeDateValeur(DerniereAnnee + 1, 1, 1, 0, 0, 0);
}

std::string TextePremiereDate() {
    return std::to_string(PremiereAnnee) + "-01-01";
}

std::string TexteDerniereDate() {
    return std::to_string(DerniereAnnee) + "-12-31";
}

std::string TextePremierInstant() {
    return TextePremiereDate() + "T00:00:00Z";
}

std::string TexteDernierInstant() {
    return TexteDerniereDate() + "T23:59:59Z";
}

const char* SuiveurHorsPlage(const PosSoleil::Suiveur& s) noexcept {
    if (!Dans(InclinaisonAxe, s.axeInclinaison)) return "axis_tilt";
    if (!AzimutDonne(s.axeAzimut)) return "axis_azimuth";
    if (!Dans(RotationMax, s.angleMax)) return "max_angle";
    if (!Dans(TauxCouverture, s.gcr)) return "gcr";
    if (!Dans(PenteTransverse, s.penteTransverse)) return "cross_axis_tilt";
    return nullptr;
}

const char* TexteDefautCadran(PosSoleil::DefautCadran d) noexcept {
    switch (d) {
        case PosSoleil::DefautCadran::Aucun:
            return "";
        case PosSoleil::DefautCadran::Longueur:
            return "longueur du gnomon nulle ou négative";
        case PosSoleil::DefautCadran::Inclinaison:
            return "inclinaison hors de 0 à 180 degrés";
        case PosSoleil::DefautCadran::Azimut:
            return "azimut du mur incorrect";
        case PosSoleil::DefautCadran::StyleParallele:
            return "le plan est presque parallèle à l'axe du monde : un style polaire ne le "
                   "rencontre pas, prendre un nodus";
        case PosSoleil::DefautCadran::JamaisEclaire:
            return "le Soleil n'éclaire jamais cette face à cette latitude";
    }
    return "";
}

NomsSorte NomSorteLigne(PosSoleil::SorteLigne s) noexcept {
    switch (s) {
        case PosSoleil::SorteLigne::Heure:
            return {"heure", "hour"};
        case PosSoleil::SorteLigne::DemiHeure:
            return {"demi-heure", "half_hour"};
        case PosSoleil::SorteLigne::QuartHeure:
            return {"quart", "quarter_hour"};
        case PosSoleil::SorteLigne::Date:
            return {"date", "date"};
        case PosSoleil::SorteLigne::Analemme:
            return {"analemme", "analemma"};
        case PosSoleil::SorteLigne::Babylonienne:
            return {"babylonienne", "babylonian"};
        case PosSoleil::SorteLigne::Italique:
            return {"italique", "italic"};
    }
    return {"", ""};
}

}  // namespace Contrat
