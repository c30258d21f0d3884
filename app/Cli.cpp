#include "Cli.h"

#include <date/date.h>
#include <date/tz.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <nlohmann/json.hpp>
#include <cctype>
#include <sstream>
#include <thread>
#include <vector>

#include "Tableau.h"

namespace Cli {

namespace {

// TAI - UTC from the day it took effect, 00:00 UTC: every leap second since 1972.
struct Saut {
    int annee, mois, secondes;
};
constexpr Saut Sauts[] = {
    {1972, 1, 10}, {1972, 7, 11}, {1973, 1, 12}, {1974, 1, 13}, {1975, 1, 14}, {1976, 1, 15},
    {1977, 1, 16}, {1978, 1, 17}, {1979, 1, 18}, {1980, 1, 19}, {1981, 7, 20}, {1982, 7, 21},
    {1983, 7, 22}, {1985, 7, 23}, {1988, 1, 24}, {1990, 1, 25}, {1991, 1, 26}, {1992, 7, 27},
    {1993, 7, 28}, {1994, 7, 29}, {1996, 1, 30}, {1997, 7, 31}, {1999, 1, 32}, {2006, 1, 33},
    {2009, 1, 34}, {2012, 7, 35}, {2015, 7, 36}, {2017, 1, 37},
};

std::string Erreur(std::string_view option, std::string_view texte, std::string_view attendu) {
    return "valeur incorrecte pour " + std::string(option) + " : « " + std::string(texte) + " » (" +
           std::string(attendu) + ")";
}

bool LitDouble(std::string_view texte, double& valeur) {
    std::string copie(texte);
    std::replace(copie.begin(), copie.end(), ',', '.');
    const char* fin = copie.data() + copie.size();
    const auto [ptr, ec] = std::from_chars(copie.data(), fin, valeur);
    return ec == std::errc() && ptr == fin && std::isfinite(valeur);
}

struct Champs {
    int annee, mois, jour, heure, minute, seconde, ms;
};

Champs Decode(double t) {
    Champs c{};
    PosSoleil::DecodeDateValeur(t, c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde, c.ms);
    return c;
}

date::sys_time<std::chrono::milliseconds> EnSysTime(double t) {
    const long long ms =
        std::llround((t - PosSoleil::JoursAvantUnix) * static_cast<double>(PosSoleil::MsParJour));
    return date::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(ms));
}

using Json = nlohmann::ordered_json;

// The columns of a position, as numbers.
struct Colonnes {
    double ascensionDroite, declinaison, distance, equationTemps, azimut, hauteur,
        distanceZenithale, hauteurRefractee;
};

Colonnes ColonnesDe(const Reglages& r, const PosSoleil::Position& p) {
    Colonnes c{};
    c.ascensionDroite = PosSoleil::Modulo360(p.AscensionDroite);
    c.declinaison = p.Declinaison;
    c.distance = p.RayonVecteur;
    c.equationTemps = p.EquationTemps;
    c.azimut = Tableau::AzimutDepuis(p.Azimut, r.sud);
    c.hauteur = p.Hauteur;
    c.distanceZenithale = 90 - p.Hauteur;
    c.hauteurRefractee =
        p.Hauteur + PosSoleil::Refraction(p.Hauteur, r.pressionMmHg / 10, r.temperature);
    return c;
}

std::string EnTeteCsv(const Reglages& r) {
    std::string texte = "date_utc";
    if (!r.fuseau.empty()) texte += ",date_legale";
    texte +=
        ",ascension_droite,declinaison,distance,equation_temps,azimut,hauteur,distance_zenithale";
    if (r.refraction) texte += ",hauteur_refractee";
    return texte + "\n";
}

std::string LigneCsv(const Reglages& r, double t, const Colonnes& c) {
    std::string texte = TexteIso(t);
    if (!r.fuseau.empty()) texte += "," + TexteLegal(t, r.fuseau);
    for (const double x : {c.ascensionDroite, c.declinaison, c.distance, c.equationTemps, c.azimut,
                           c.hauteur, c.distanceZenithale})
        texte += "," + Nombre(x);
    if (r.refraction) texte += "," + Nombre(c.hauteurRefractee);
    return texte + "\n";
}

Json ObjetJson(const Reglages& r, double t, const Colonnes& c) {
    Json o;
    o["date_utc"] = TexteIso(t);
    if (!r.fuseau.empty()) o["date_legale"] = TexteLegal(t, r.fuseau);
    o["ascension_droite"] = c.ascensionDroite;
    o["declinaison"] = c.declinaison;
    o["distance"] = c.distance;
    o["equation_temps"] = c.equationTemps;
    o["azimut"] = c.azimut;
    o["hauteur"] = c.hauteur;
    o["distance_zenithale"] = c.distanceZenithale;
    if (r.refraction) o["hauteur_refractee"] = c.hauteurRefractee;
    return o;
}

// One row of the table at an instant of the series, as the generator computes it.
std::string LigneTable(const Reglages& r, const Tableau::Instant& c, long long i) {
    const PosSoleil::Position p = Calcule(r, c.t);
    switch (r.format) {
        case Format::Texte:
            return Tableau::Ligne(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde,
                                  Tableau::HauteurOuZenith(p.Hauteur, r.zenith),
                                  Tableau::AzimutDepuis(p.Azimut, r.sud), r.separateur) +
                   "\r\n";
        case Format::Csv:
            return LigneCsv(r, c.t, ColonnesDe(r, p));
        case Format::Json:
            return (i > 0 ? ",\n" : "") + ObjetJson(r, c.t, ColonnesDe(r, p)).dump();
    }
    return {};
}

}  // namespace

int TaiMoinsUtc(double t) noexcept {
    int valeur = Sauts[0].secondes;
    for (const Saut& s : Sauts)
        if (t >= PosSoleil::EncodeDateValeur(s.annee, s.mois, 1, 0, 0, 0)) valeur = s.secondes;
    return valeur;
}

double TtMoinsUtcA(const Reglages& r, double t) noexcept {
    return r.ttFixe ? r.ttMoinsUtc : Tableau::TEmoinsTU(TaiMoinsUtc(t));
}

PosSoleil::Position Calcule(const Reglages& r, double t) noexcept {
    // The sidereal time follows UT1; the series follow dynamical time, whatever UT1 does.
    return PosSoleil::PositionSoleil(t + r.dut1 / PosSoleil::SecondesParJour, r.site,
                                     TtMoinsUtcA(r, t) - r.dut1);
}

double LitAngle(std::string_view texte, std::string_view option) {
    double valeur = 0;
    if (LitDouble(texte, valeur)) return valeur;
    // The program's text: [sign] degrees ° minutes ' seconds ["], blanks around allowed.
    std::string_view v = texte;
    const auto blancs = [&] {
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    };
    const auto entier = [&](int& n) {
        blancs();
        const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec != std::errc() || n < 0) return false;
        v.remove_prefix(static_cast<std::size_t>(ptr - v.data()));
        return true;
    };
    const auto marque = [&](std::string_view m) {
        blancs();
        if (v.substr(0, m.size()) != m) return false;
        v.remove_prefix(m.size());
        return true;
    };
    blancs();
    const bool negatif = !v.empty() && v.front() == '-';
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
    int degres = 0, minutes = 0;
    if (entier(degres) && marque("\u00B0") && entier(minutes) && marque("'")) {
        blancs();
        std::size_t fin = 0;
        while (fin < v.size() && (std::isdigit(static_cast<unsigned char>(v[fin])) || v[fin] == '.' || v[fin] == ','))
            ++fin;
        double secondes = 0;
        if (fin > 0 && LitDouble(v.substr(0, fin), secondes)) {
            v.remove_prefix(fin);
            marque("\"");
            blancs();
            if (v.empty()) {
                const double angle = degres + minutes / 60.0 + secondes / 3600;
                return negatif ? -angle : angle;
            }
        }
    }
    throw ErreurUsage{Erreur(option, texte, "degrés décimaux ou 002°01'49\"")};
}

// GCC 12 sees a variable of the date library's parser as possibly uninitialized once inlined
// here; the library sets it before use.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
double LitInstant(std::string_view texte, std::string_view option) {
    std::string s(texte);
    if (s.size() > 10 && s[10] == ' ') s[10] = 'T';
    if (!s.empty() && (s.back() == 'Z' || s.back() == 'z')) s.replace(s.size() - 1, 1, "+00:00");
    for (const char* format : {"%Y-%m-%dT%H:%M:%S%Ez", "%Y-%m-%dT%H:%M%Ez", "%Y-%m-%dT%H:%M:%S",
                               "%Y-%m-%dT%H:%M", "%Y-%m-%d"}) {
        std::istringstream in(s);
        date::sys_time<std::chrono::milliseconds> instant;
        in >> date::parse(format, instant);
        if (in.fail() || in.peek() != std::char_traits<char>::eof()) continue;
        const auto jour = date::floor<date::days>(instant);
        const date::year_month_day ymd(jour);
        const date::hh_mm_ss<std::chrono::milliseconds> heure(instant - jour);
        // Through the calendar fields, so the instant is the very one the windows would use.
        return PosSoleil::EncodeDateValeur(
            static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day()), static_cast<double>(heure.hours().count()),
            static_cast<double>(heure.minutes().count()),
            heure.seconds().count() + heure.subseconds().count() / 1000.0);
    }
    throw ErreurUsage{Erreur(option, texte, "date ISO 8601, par exemple 2026-12-08T12:00:00Z")};
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

std::string TexteIso(double t) {
    const Champs c = Decode(t);
    char texte[80];
    if (c.ms == 0)
        std::snprintf(texte, sizeof texte, "%04d-%02d-%02dT%02d:%02d:%02dZ", c.annee, c.mois,
                      c.jour, c.heure, c.minute, c.seconde);
    else
        std::snprintf(texte, sizeof texte, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", c.annee, c.mois,
                      c.jour, c.heure, c.minute, c.seconde, c.ms);
    return texte;
}

std::string TexteLegal(double t, const std::string& fuseau) {
    const auto zone = date::make_zoned(fuseau, date::floor<std::chrono::seconds>(EnSysTime(t)));
    return date::format("%Y-%m-%dT%H:%M:%S%Ez %Z", zone);
}

std::string Nombre(double x) {
    char texte[64];
    const auto fin = std::to_chars(texte, texte + sizeof texte, x).ptr;
    return std::string(texte, fin);
}

void EcritPosition(std::ostream& sortie, const Reglages& r, double t) {
    const PosSoleil::Position p = Calcule(r, t);
    const Colonnes c = ColonnesDe(r, p);
    switch (r.format) {
        case Format::Csv:
            sortie << EnTeteCsv(r) << LigneCsv(r, t, c);
            break;
        case Format::Json:
            sortie << ObjetJson(r, t, c).dump(2) << '\n';
            break;
        case Format::Texte: {
            const auto dms = [&](double a, int d) {
                return Tableau::TexteDMS(a, d, r.separateur);
            };
            sortie << "Date (UTC)             " << TexteIso(t) << '\n';
            if (!r.fuseau.empty())
                sortie << "Heure légale           " << TexteLegal(t, r.fuseau) << '\n';
            sortie << "Ascension droite       "
                   << Tableau::TexteHMS(c.ascensionDroite, 2, r.separateur) << '\n'
                   << "Déclinaison            " << dms(c.declinaison, 2) << '\n'
                   << "Distance (ua)          "
                   << PosSoleil::TexteFixe(c.distance, 5, 7, r.separateur) << '\n'
                   << "Équation du temps (mn) "
                   << PosSoleil::TexteFixe(c.equationTemps * 60, 2, 18, r.separateur) << '\n'
                   << (r.sud ? "Azimut (sud)           " : "Azimut (nord)          ")
                   << dms(c.azimut, 1) << '\n'
                   << "Hauteur                " << dms(c.hauteur, 1) << '\n'
                   << "Distance zénithale     " << dms(c.distanceZenithale, 1) << '\n';
            if (r.refraction)
                sortie << "Hauteur réfractée      " << dms(c.hauteurRefractee, 1) << '\n';
            break;
        }
    }
}

void EcritTable(std::ostream& sortie, const Reglages& r, double debut, double pasJours,
                long long nombre, int taches) {
    if (r.format == Format::Texte) {
        std::string modele[std::size(Tableau::Modele)];
        std::copy(std::begin(Tableau::Modele), std::end(Tableau::Modele), modele);
        modele[3] = Tableau::LigneReference(r.sud);
        modele[5] = Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                                       r.site.Latitude >= 0, r.separateur);
        modele[7] = Tableau::LigneColonnes(r.zenith);
        for (const std::string& ligne : modele) sortie << ligne << "\r\n";
    } else if (r.format == Format::Csv) {
        sortie << EnTeteCsv(r);
    } else {
        sortie << "[\n";
    }
    // Blocks of rows on every thread, written in order once all are done: the memory holds
    // one block per thread, whatever the number of rows.
    constexpr long long Bloc = 4096;
    const long long total = Tableau::LignesDemandees(nombre);
    taches = std::max(1, taches);
    bool fin = false;
    for (long long premier = 0; premier < total && !fin; premier += Bloc * taches) {
        std::vector<std::string> morceaux(static_cast<std::size_t>(taches));
        std::vector<char> arrets(static_cast<std::size_t>(taches), 0);
        const auto calcule = [&](int k) {
            const long long de = premier + k * Bloc, a = std::min(total, de + Bloc);
            std::string& texte = morceaux[static_cast<std::size_t>(k)];
            arrets[static_cast<std::size_t>(k)] =
                Tableau::Rangees(debut, pasJours, de, a, [&](const Tableau::Instant& c, long long i) {
                    texte += LigneTable(r, c, i);
                    return true;
                });
        };
        std::vector<std::thread> fils;
        for (int k = 1; k < taches; ++k) fils.emplace_back(calcule, k);
        calcule(0);
        for (auto& f : fils) f.join();
        for (int k = 0; k < taches && !fin; ++k) {
            sortie << morceaux[static_cast<std::size_t>(k)];
            fin = arrets[static_cast<std::size_t>(k)] != 0;
        }
    }
    if (r.format == Format::Json) sortie << "\n]\n";
}

void EcritJour(std::ostream& sortie, const Reglages& r, int annee, int mois, int jour) {
    const double tt = TtMoinsUtcA(r, PosSoleil::EncodeDateValeur(annee, mois, jour, 12, 0, 0));
    const PosSoleil::Journee j = PosSoleil::JourneeSolaire(annee, mois, jour, r.site, tt);
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", annee, mois, jour);
    const auto culmination = [](const PosSoleil::Evenement& e) {
        return e.type == PosSoleil::TypeEvenement::Passage ||
               e.type == PosSoleil::TypeEvenement::PassageInferieur;
    };
    const auto secondes = [](double t) {
        return std::round((t - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour) /
                   PosSoleil::SecondesParJour +
               PosSoleil::JoursAvantUnix;
    };
    if (r.format == Format::Texte) {
        // The solar day's window's text.
        sortie << Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                                     r.site.Latitude >= 0, r.separateur, true)
               << '\t' << date << "\r\n";
        for (int i = 0; i < j.nombre; ++i) {
            const PosSoleil::Evenement& e = j.evenements[i];
            std::string utc = TexteIso(secondes(e.t));
            utc = utc.substr(0, 10) + " " + utc.substr(11, 8);
            sortie << Tableau::NomEvenement(e) << '\t' << utc;
            if (!r.fuseau.empty()) sortie << '\t' << TexteLegal(e.t, r.fuseau);
            sortie << '\t'
                   << Tableau::TexteDMS(culmination(e) ? e.hauteur : e.azimut, 0, r.separateur)
                   << "\r\n";
        }
        for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
            if (j.etats[s] != PosSoleil::EtatSeuil::Franchi)
                sortie << Tableau::TexteEtat(static_cast<PosSoleil::Seuil>(s), j.etats[s])
                       << "\r\n";
        sortie << "Durée du jour\t" << Tableau::Duree(j.duree, false) << '\t'
               << Tableau::Duree(j.variationDuree, true) << "\r\n";
        return;
    }
    static const char* const etats[] = {"franchi", "toujours_au_dessus", "toujours_au_dessous"};
    static const char* const types[] = {"passage", "passage_inferieur", "montee", "descente"};
    if (r.format == Format::Csv) {
        sortie << "evenement,type,seuil,date_utc" << (r.fuseau.empty() ? "" : ",date_legale")
               << ",azimut,hauteur\n";
        for (int i = 0; i < j.nombre; ++i) {
            const PosSoleil::Evenement& e = j.evenements[i];
            sortie << Tableau::NomEvenement(e) << ',' << types[static_cast<int>(e.type)] << ','
                   << (culmination(e)
                           ? ""
                           : Nombre(PosSoleil::HauteursSeuils[static_cast<int>(e.seuil)]))
                   << ',' << TexteIso(e.t)
                   << (r.fuseau.empty() ? "" : "," + TexteLegal(e.t, r.fuseau)) << ','
                   << Nombre(e.azimut) << ',' << Nombre(e.hauteur) << '\n';
        }
        return;
    }
    Json o;
    o["date"] = date;
    o["longitude"] = r.site.Longitude;
    o["latitude"] = r.site.Latitude;
    o["tt_moins_utc"] = tt;
    Json evenements = Json::array();
    for (int i = 0; i < j.nombre; ++i) {
        const PosSoleil::Evenement& e = j.evenements[i];
        Json x;
        x["evenement"] = Tableau::NomEvenement(e);
        x["type"] = types[static_cast<int>(e.type)];
        if (!culmination(e)) x["seuil"] = PosSoleil::HauteursSeuils[static_cast<int>(e.seuil)];
        x["date_utc"] = TexteIso(e.t);
        if (!r.fuseau.empty()) x["date_legale"] = TexteLegal(e.t, r.fuseau);
        x["azimut"] = e.azimut;
        x["hauteur"] = e.hauteur;
        evenements.push_back(x);
    }
    o["evenements"] = evenements;
    Json seuils;
    const char* const noms[] = {"lever_coucher", "civil", "nautique", "astronomique"};
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
        seuils[noms[s]] = etats[static_cast<int>(j.etats[s])];
    o["seuils"] = seuils;
    o["duree_h"] = j.duree;
    o["variation_duree_h"] = j.variationDuree;
    sortie << o.dump(2) << '\n';
}

}  // namespace Cli
