#include "TableAttendue.h"

#include <cmath>
#include <cstdio>

#include "PosSoleil.h"

namespace TableAttendue {

std::vector<std::string> Modele() {
    return {"Ephémérides Solaire (UTC)",
            "",
            "Positions Topocentriques Apparentes",
            "Horizon Local et Sud Vrai",
            "",
            "Longitude E 00°00'00\", Latitude N 00°00'00\"",
            "",
            " A  M  J     h  m  s    Hauteur      Azimuth        ",
            "   "};
}

std::vector<std::string> EnTete(bool zenith, bool sud, const std::string& site) {
    std::vector<std::string> lignes = Modele();
    lignes[3] = sud ? "Horizon Local et Sud Vrai" : "Horizon Local et Nord Vrai";
    lignes[5] = site;
    lignes[7] = zenith ? "A  M  J   h  m  s  Dist.Zénitale   Azimuth   "
                       : "A  M  J   h  m  s    Hauteur       Azimuth   ";
    return lignes;
}

std::string Rangee(std::chrono::sys_seconds t, const Reglages& r) {
    using namespace std::chrono;
    const auto jour = floor<days>(t);
    const year_month_day date(jour);
    const hh_mm_ss<seconds> heure(t - jour);
    const int a = static_cast<int>(date.year()), m = static_cast<int>(unsigned(date.month())),
              j = static_cast<int>(unsigned(date.day()));
    const int h = static_cast<int>(heure.hours().count()),
              mi = static_cast<int>(heure.minutes().count()),
              s = static_cast<int>(heure.seconds().count());
    const PosSoleil::Position p = PosSoleil::PositionSoleil(
        PosSoleil::EncodeDateValeur(a, m, j, h, mi, s), {r.longitude, r.latitude, 0}, r.tEmoinsTU);
    const double hauteur = r.zenith ? 90 - p.Hauteur : p.Hauteur;
    const double azimut = r.sud ? p.Azimut - 180 : p.Azimut;
    char debut[48];
    std::snprintf(debut, sizeof debut, "%04d %02d %02d  %02d %02d %02d  ", a, m, j, h, mi, s);
    return debut + PosSoleil::DegVersDMS(hauteur, 1, r.separateur) + " " +
           PosSoleil::DegVersDMS(azimut, 1, r.separateur) + "  ";
}

std::vector<std::string> Rangees(const Reglages& r) {
    using namespace std::chrono;
    std::vector<std::string> lignes;
    for (long long i = 0;; ++i) {
        const sys_seconds t = r.debut + seconds(i * r.pasSecondes);
        lignes.push_back(Rangee(t, r));
        if (i + 1 >= r.lignes || year_month_day(floor<days>(t)).year() > year(2251)) break;
    }
    return lignes;
}

std::string Crlf(const std::vector<std::string>& lignes) {
    std::string texte;
    for (const std::string& l : lignes) texte += l + "\r\n";
    return texte;
}

std::string Table(const Reglages& r, const std::string& site) {
    std::vector<std::string> lignes = EnTete(r.zenith, r.sud, site);
    for (std::string& l : Rangees(r)) lignes.push_back(std::move(l));
    return Crlf(lignes);
}

std::string DmsArrondi(double angle) {
    const long long s = std::llround(std::fabs(angle) * 3600);
    char texte[64];
    std::snprintf(texte, sizeof texte, "%c%02lld°%02lld'%02lld\"", angle < 0 && s != 0 ? '-' : ' ',
                  s / 3600, s / 60 % 60, s % 60);
    return texte;
}

}  // namespace TableAttendue
