// Civil time: the ISO 8601 texts of UTC instants and legal time in a named zone.
#include "HeureLegale.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "PosSoleil.h"

namespace Legal {

namespace {

// n in exactly `largeur` digits (four for a year, three for milliseconds, two otherwise), into a
// buffer.
char* Chiffres(char* p, long long n, int largeur) noexcept {
    for (int i = largeur - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    return p + largeur;
}

// Milliseconds rounded to the nearest whole second, halves up (toward the future, before 1970
// too).
long long SecondeProche(long long ms) noexcept {
    using namespace std::chrono;
    return duration_cast<milliseconds>(floor<seconds>(milliseconds(ms + 500))).count();
}

// "YYYY-MM-DD?HH:MM:SS[.mmm]" of milliseconds since 1970, into a buffer of 23 characters.
char* EcritCivil(char* texte, long long ms, char separateur, bool millis) noexcept {
    using namespace std::chrono;
    const date::sys_time<milliseconds> instant{milliseconds(ms)};
    const auto jour = date::floor<date::days>(instant);
    const date::year_month_day ymd(jour);
    const long long dansJour = (instant - jour).count();
    char* p = Chiffres(texte, static_cast<int>(ymd.year()), 4);
    *p++ = '-';
    p = Chiffres(p, static_cast<unsigned>(ymd.month()), 2);
    *p++ = '-';
    p = Chiffres(p, static_cast<unsigned>(ymd.day()), 2);
    *p++ = separateur;
    p = Chiffres(p, dansJour / 3'600'000, 2);
    *p++ = ':';
    p = Chiffres(p, dansJour / 60'000 % 60, 2);
    *p++ = ':';
    p = Chiffres(p, dansJour / 1000 % 60, 2);
    if (millis) {
        *p++ = '.';
        p = Chiffres(p, dansJour % 1000, 3);
    }
    return p;
}

std::string TexteCivil(long long ms, char separateur, bool millis) {
    char texte[32];
    return std::string(texte, EcritCivil(texte, ms, separateur, millis));
}

}  // namespace

long long MsUnix(double t) noexcept {
    return std::llround((t - PosSoleil::JoursAvantUnix) *
                        static_cast<double>(PosSoleil::MsParJour));
}

std::string TexteIso(double t) {
    char tampon[32];
    return std::string(tampon, EcritIso(tampon, t));
}

void AjouteIso(std::string& texte, double t) {
    char tampon[32];
    texte.append(tampon, EcritIso(tampon, t));
}

char* EcritIso(char* p, double t) noexcept {
    p = EcritCivil(p, MsUnix(t), 'T', true);
    *p++ = 'Z';
    return p;
}

std::string TexteSecondes(double t) {
    return TexteCivil(SecondeProche(MsUnix(t)), 'T', false) + 'Z';
}

HeureLegale::HeureLegale(const std::string& fuseau)
    : zone_(date::locate_zone(fuseau)), regle_(RegleFuseau::DuFichier(fuseau)) {
    // The period that the listed changes leave open at their end: the rule's from its start.
    if (regle_) debutRegle_ = zone_->get_info(date::sys_days(date::year::max() / 1 / 1)).begin;
}

HeureLegale::~HeureLegale() = default;
HeureLegale::HeureLegale(HeureLegale&&) noexcept = default;

const date::sys_info& HeureLegale::Periode(date::sys_seconds s) {
    if (s >= info_.begin && s < info_.end) return info_;
    if (regle_ && s >= debutRegle_) {
        const RegleFuseau::Periode p = regle_->En(s.time_since_epoch().count());
        info_.begin = std::max(date::sys_seconds(std::chrono::seconds(p.debut)), debutRegle_);
        info_.end = date::sys_seconds(std::chrono::seconds(p.fin));
        info_.offset = std::chrono::seconds(p.decalage);
        info_.abbrev = p.abreviation;
    } else {
        info_ = zone_->get_info(s);
        if (regle_ && info_.end > debutRegle_) info_.end = debutRegle_;
    }
    return info_;
}

date::year_month_day HeureLegale::Date(double t) {
    const date::sys_seconds s = date::floor<std::chrono::seconds>(
        date::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(MsUnix(t))));
    return date::year_month_day(date::floor<date::days>(s + Periode(s).offset));
}

std::string HeureLegale::Texte(double t, bool secondes) {
    long long ms = MsUnix(t);
    if (secondes) ms = SecondeProche(ms);
    const date::sys_seconds s = date::floor<std::chrono::seconds>(
        date::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(ms)));
    const long long decalage = Periode(s).offset.count();
    std::string texte = TexteCivil(ms + decalage * 1000, 'T', !secondes);
    const long long minutes = (decalage < 0 ? -decalage : decalage) / 60;
    char fin[8] = {decalage < 0 ? '-' : '+'};
    char* p = Chiffres(fin + 1, minutes / 60, 2);
    *p++ = ':';
    p = Chiffres(p, minutes % 60, 2);
    return texte.append(fin, p);
}

}  // namespace Legal
