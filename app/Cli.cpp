// The readers of the command-line program: numbers, angles and instants, each checked, each
// refusal one French sentence naming the option and what it takes.
#include "Cli.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace Cli {

namespace {

std::string Erreur(std::string_view quoi, std::string_view option, std::string_view texte,
                   std::string_view attendu) {
    return std::string(quoi) + " pour " + std::string(option) + " : « " + Extrait(texte) + " » (" +
           std::string(attendu) + ")";
}

// A bound as the French write it: "-0,9".
std::string Borne(double x) {
    // Whole bounds in full (a hundred million, not 1e+08).
    std::string texte = x == std::trunc(x) && std::fabs(x) < 1e15
                            ? std::to_string(static_cast<long long>(x))
                            : Nombre(x);
    std::replace(texte.begin(), texte.end(), '.', ',');
    return texte;
}

bool LitDouble(std::string_view texte, double& valeur) {
    char copie[64];
    if (texte.empty() || texte.size() >= sizeof copie) return false;
    std::replace_copy(texte.begin(), texte.end(), copie, ',', '.');
    const char* fin = copie + texte.size();
    const char* debut = copie + (copie[0] == '+' && texte.size() > 1 && copie[1] != '-');
    const auto [ptr, ec] = std::from_chars(debut, fin, valeur);
    return ec == std::errc() && ptr == fin && std::isfinite(valeur);
}

// The program's sexagesimal text: [sign] degrees ° minutes ' seconds ["], blanks allowed.
bool LitSexagesimal(std::string_view v, double& angle) {
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
    if (!(entier(degres) && marque("\u00B0") && entier(minutes) && marque("'"))) return false;
    blancs();
    std::size_t fin = 0;
    while (fin < v.size() &&
           (std::isdigit(static_cast<unsigned char>(v[fin])) || v[fin] == '.' || v[fin] == ','))
        ++fin;
    double secondes = 0;
    if (fin == 0 || !LitDouble(v.substr(0, fin), secondes)) return false;
    v.remove_prefix(fin);
    marque("\"");
    blancs();
    if (!v.empty()) return false;
    angle = degres + minutes / 60.0 + secondes / 3600;
    if (negatif) angle = -angle;
    return true;
}

// n digits at p, exactly.
bool Nombres(std::string_view& v, int chiffres, int& n) {
    if (v.size() < static_cast<std::size_t>(chiffres)) return false;
    n = 0;
    for (int i = 0; i < chiffres; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(v[static_cast<std::size_t>(i)]))) return false;
        n = n * 10 + (v[static_cast<std::size_t>(i)] - '0');
    }
    v.remove_prefix(static_cast<std::size_t>(chiffres));
    return true;
}

bool Signe(std::string_view& v, char c) {
    if (v.empty() || v.front() != c) return false;
    v.remove_prefix(1);
    return true;
}

std::string Plage(double min, double max, std::string_view unite) {
    return TextePlage(min, max, unite);
}

}  // namespace

std::string Extrait(std::string_view texte) {
    constexpr std::size_t Caracteres = 40;
    std::string sortie;
    std::size_t caracteres = 0, i = 0;
    while (i < texte.size() && caracteres < Caracteres) {
        const auto c = static_cast<unsigned char>(texte[i]);
        // The length of a well-formed UTF-8 sequence starting here, 0 if there is none.
        std::size_t n = c < 0x80             ? 1
                        : (c & 0xE0) == 0xC0 ? 2
                        : (c & 0xF0) == 0xE0 ? 3
                        : (c & 0xF8) == 0xF0 ? 4
                                             : 0;
        if (n == 1 && (c < 0x20 || c == 0x7F)) n = 0;
        if (n > 1 && (c == 0xC0 || c == 0xC1 || c > 0xF4)) n = 0;
        for (std::size_t k = 1; k < n; ++k)
            if (i + k >= texte.size() || (static_cast<unsigned char>(texte[i + k]) & 0xC0) != 0x80)
                n = 0;
        if (n == 0) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            sortie += code;
            i += 1;
        } else {
            sortie.append(texte.substr(i, n));
            i += n;
        }
        ++caracteres;
    }
    if (i < texte.size()) sortie += "…";
    return sortie;
}

std::string TextePlage(double min, double max, std::string_view unite) {
    std::string texte = "de " + Borne(min) + " à " + Borne(max);
    if (!unite.empty()) texte += " " + std::string(unite);
    return texte;
}

double LitNombre(std::string_view texte, std::string_view option, double min, double max,
                 std::string_view unite) {
    double valeur = 0;
    if (!LitDouble(texte, valeur))
        throw ErreurUsage{
            Erreur("valeur incorrecte", option, texte, "nombre " + Plage(min, max, unite))};
    if (valeur < min || valeur > max)
        throw ErreurUsage{
            Erreur("valeur hors limites", option, texte, "nombre " + Plage(min, max, unite))};
    return valeur;
}

long long LitEntier(std::string_view texte, std::string_view option, long long min, long long max) {
    const std::string attendu = "entier de " + std::to_string(min) + " à " + std::to_string(max);
    long long valeur = 0;
    const char* debut = texte.data() + (texte.size() > 1 && texte.front() == '+');
    const auto [ptr, ec] = std::from_chars(debut, texte.data() + texte.size(), valeur);
    if (texte.empty() || ptr != texte.data() + texte.size() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range))
        throw ErreurUsage{Erreur("valeur incorrecte", option, texte, attendu)};
    if (ec == std::errc::result_out_of_range || valeur < min || valeur > max)
        throw ErreurUsage{Erreur("valeur hors limites", option, texte, attendu)};
    return valeur;
}

double LitAngle(std::string_view texte, std::string_view option, double min, double max) {
    // The message is made only for a refusal: a batch of rows reads millions of angles.
    const auto attendu = [&] {
        return (min > -1e300 ? Plage(min, max, "degrés") + ", " : std::string()) +
               "en degrés décimaux ou 002°01'49\"";
    };
    double valeur = 0;
    if (!LitDouble(texte, valeur) && !LitSexagesimal(texte, valeur))
        throw ErreurUsage{Erreur("valeur incorrecte", option, texte, attendu())};
    if (valeur < min || valeur > max)
        throw ErreurUsage{Erreur("valeur hors limites", option, texte, attendu())};
    return valeur;
}

std::optional<Instant> AnalyseInstant(std::string_view v) noexcept {
    int a = 0, mo = 0, j = 0, h = 0, mi = 0, s = 0;
    if (!Nombres(v, 4, a) || !Signe(v, '-') || !Nombres(v, 2, mo) || !Signe(v, '-') ||
        !Nombres(v, 2, j))
        return std::nullopt;
    long long ms = 0, decalage = 0;  // milliseconds of the seconds' fraction; offset, minutes
    if (!v.empty()) {
        if (!(Signe(v, 'T') || Signe(v, 't') || Signe(v, ' '))) return std::nullopt;
        if (!Nombres(v, 2, h) || !Signe(v, ':') || !Nombres(v, 2, mi)) return std::nullopt;
        if (Signe(v, ':')) {
            if (!Nombres(v, 2, s)) return std::nullopt;
            if (Signe(v, '.') || Signe(v, ',')) {
                // Any number of digits, rounded to the millisecond.
                double fraction = 0, echelle = 0.1;
                if (v.empty() || !std::isdigit(static_cast<unsigned char>(v.front())))
                    return std::nullopt;
                while (!v.empty() && std::isdigit(static_cast<unsigned char>(v.front()))) {
                    fraction += (v.front() - '0') * echelle;
                    echelle /= 10;
                    v.remove_prefix(1);
                }
                ms = std::llround(fraction * 1000);
            }
        }
        if (Signe(v, 'Z') || Signe(v, 'z')) {
        } else if (!v.empty()) {
            const bool moins = v.front() == '-';
            if (!Signe(v, '+') && !Signe(v, '-')) return std::nullopt;
            int dh = 0, dm = 0;
            if (!Nombres(v, 2, dh)) return std::nullopt;
            if (!v.empty()) {
                Signe(v, ':');
                if (!Nombres(v, 2, dm)) return std::nullopt;
            }
            if (dh > 23 || dm > 59) return std::nullopt;
            decalage = (dh * 60 + dm) * (moins ? -1 : 1);
        }
        if (!v.empty()) return std::nullopt;
    }
    using namespace std::chrono;
    const date::year_month_day ymd{date::year(a), date::month(static_cast<unsigned>(mo)),
                                   date::day(static_cast<unsigned>(j))};
    if (!ymd.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
    // UTC itself within the second: its fields are the calendar's already, no day to carry.
    if (decalage == 0 && ms < 1000)
        return Instant{PosSoleil::EncodeDateValeur(a, mo, j, h, mi, (s * 1000 + ms) / 1000.0), a,
                       mo, j};
    // Through UTC's calendar fields, so the instant is the very one the windows would use.
    const auto utc =
        date::sys_days(ymd) + hours(h) + minutes(mi - decalage) + seconds(s) + milliseconds(ms);
    const auto jour = date::floor<date::days>(utc);
    const date::year_month_day u(jour);
    const long long dansJour = duration_cast<milliseconds>(utc - jour).count();
    const double t = PosSoleil::EncodeDateValeur(
        static_cast<int>(u.year()), static_cast<unsigned>(u.month()),
        static_cast<unsigned>(u.day()), static_cast<double>(dansJour / 3'600'000),
        static_cast<double>(dansJour / 60'000 % 60), (dansJour % 60'000) / 1000.0);
    return Instant{t, a, mo, j};
}

double LitInstant(std::string_view texte, std::string_view option) {
    if (const auto instant = AnalyseInstant(texte)) return instant->t;
    throw ErreurUsage{Erreur("valeur incorrecte", option, texte,
                             "date ISO 8601, par exemple 2026-12-08T12:00:00Z")};
}

ValeurTEmoinsTU TEmoinsTUA(const Reglages& r, double t) noexcept {
    return r.ttImpose ? *r.ttImpose : TEmoinsTUParDefaut(t);
}

PosSoleil::Position Calcule(const Reglages& r, const PosSoleil::Site& site, double t,
                            double TEmoinsTU) noexcept {
    // The sidereal time follows UT1; the series follow dynamical time, whatever UT1 does.
    return PosSoleil::PositionSoleil(t + Contrat::Ut1Jours(r.dut1), site, TEmoinsTU - r.dut1);
}

PosSoleil::Geocentre GeocentreA(const Reglages& r, double t, double TEmoinsTU) noexcept {
    return PosSoleil::PositionGeocentrique(t + Contrat::Ut1Jours(r.dut1), TEmoinsTU - r.dut1);
}

}  // namespace Cli
