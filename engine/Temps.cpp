// Time base: date-time values, Julian dates, dynamical time and sidereal time.
#include <algorithm>
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date; exact for any year, linear in the day
// (day 0 is the last day of the previous month), which is what a day count wants.
constexpr long long JoursDepuisCivil(long long y, long long m, long long d) noexcept {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The inverse: the proleptic Gregorian date of a day count since 1970-01-01.
constexpr void CivilDepuisJours(long long z, long long& y, int& m, int& d) noexcept {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

constexpr long long JourZeroDateValeur = -static_cast<long long>(JoursAvantUnix);
static_assert(JoursDepuisCivil(1899, 12, 30) == JourZeroDateValeur);
static_assert(JoursDepuisCivil(2000, 1, 1) - JourZeroDateValeur == 36526);
static_assert(JourJulienOrigine + 36526.5 == JourJulienJ2000);

// Truncation toward zero of a double that may be huge or NaN, kept within +-limite so that
// the conversion to an integer is always defined.
long long Tronque(double x, double limite) noexcept {
    if (std::isnan(x)) return 0;
    return static_cast<long long>(std::clamp(std::trunc(x), -limite, limite));
}

long long DivPlancher(long long a, long long b) noexcept {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Reduction of a sidereal time: the result of subtracting 360 while above 360 and then adding
// 360 while below 0, so an exact multiple of a turn above zero stays at 360. The remainder is
// exact, so this matches the repeated subtraction bit for bit, without a loop that a huge
// Julian date would make endless.
double ReduitSideral(double x) noexcept {
    if (x > 360.0) {
        const double r = Interne::Reste360(x);
        x = (r == 0.0) ? 360.0 : r;
    }
    if (x < 0.0) {
        const double r = Interne::Reste360(x);
        x = (r < 0.0) ? r + 360.0 : 0.0;
    }
    return x;
}

}  // namespace

double EncodeDateValeur(double Annee, double Mois, double Jour, double Heure, double Minute,
                        double Seconde) noexcept {
    const long long mois0 = Tronque(Mois, 1e9) - 1;
    const long long annee = Tronque(Annee, 1e7) + DivPlancher(mois0, 12);
    const long long mois = mois0 - 12 * DivPlancher(mois0, 12) + 1;
    const long long jours = JoursDepuisCivil(annee, mois, Tronque(Jour, 1e10)) - JourZeroDateValeur;
    const double fraction = Heure / 24 + Minute / 24 / 60 + Seconde / 24 / 60 / 60;
    return static_cast<double>(jours) + fraction;
}

void DecodeDateValeur(double t, int& Annee, int& Mois, int& Jour, int& Heure, int& Minute,
                      int& Seconde, int& MilliSeconde) noexcept {
    if (std::isnan(t)) t = 0.0;
    t = std::clamp(t, -2.1e9, 2.1e9);
    const long long ms = std::llround(t * static_cast<double>(MsParJour));
    const long long jour = DivPlancher(ms, MsParJour);
    const long long msJour = ms - jour * MsParJour;
    long long annee = 0;
    CivilDepuisJours(jour + JourZeroDateValeur, annee, Mois, Jour);
    Annee = static_cast<int>(annee);
    Heure = static_cast<int>(msJour / 3'600'000);
    Minute = static_cast<int>(msJour / 60'000 % 60);
    Seconde = static_cast<int>(msJour / 1000 % 60);
    MilliSeconde = static_cast<int>(msJour % 1000);
}

double JourJulien(double t) noexcept {
    return t + JourJulienOrigine;
}

double SiecleJulien(double JD, double TEmoinsTU) noexcept {
    const double JDE = TEmoinsTU / SecondesParJour + JD;
    return (JDE - JourJulienJ2000) / JoursParSiecle;
}

void TempsSideral(double JD, double& theta0, double& theta) noexcept {
    // Greenwich mean sidereal time at 0h UT1: 24110.54841 s + 8640184.812866 s T0
    // + 0.093104 s T0^2 - 6.2e-6 s T0^3, the same coefficients divided by 3600 in hours.
    // Source: S. Aoki et al., Astron. Astrophys. 105, 359 (1982), the IAU 1982 expression.
    // The 0h UT that opens the civil day: Julian days begin at noon.
    const double n = std::trunc(JD);
    const double JD0 = (JD - n >= 0.5) ? n + 0.5 : n - 0.5;
    // Held within a million centuries, where the cube stays finite: beyond, no sidereal time
    // means anything, but a finite date still gives an angle.
    const double T0 = std::clamp((JD0 - JourJulienJ2000) / JoursParSiecle, -1e6, 1e6);
    const double heures0 = 6.69737455833 + 2400.051336907211 * T0 + 2.586222222e-5 * T0 * T0 -
                           1.722222222e-9 * T0 * T0 * T0;
    theta0 = ReduitSideral(heures0 * 15);
    // Carried to the instant at the sidereal rate, 366.2422 sidereal days per 365.2422 solar days.
    const double heures = (JD - JD0) * 24 * 36624.22 / 36524.22 + theta0 / 15;
    theta = ReduitSideral(heures * 15);
}

namespace Interne {

double Reste360(double x) noexcept {
    // Below 2^52 the rounded quotient truncates to the true one: x is at least a last place
    // of its own (over 256 / 360 of the quotient's last place below the next integer) short
    // of the next multiple of 360, an integer that is exact. 360 k is then exact and within a
    // factor two of x, so x - 360 k is exact too (Sterbenz).
    if (!(std::fabs(x) < 0x1p52)) return std::fmod(x, 360.0);
    const double r = x - std::trunc(x / 360) * 360;
    return r == 0 ? std::copysign(0.0, x) : r;
}

}  // namespace Interne

double EquationEquinoxes(double deltaPsi, double epsilon) noexcept {
    return deltaPsi * std::cos(epsilon * Interne::Rad);
}

double Modulo360(double x) noexcept {
    double a = Interne::Reste360(x);
    if (a < 0) a += 360;
    // A tiny negative angle plus a turn rounds to 360 itself: that is the angle 0, as is the
    // remainder -0 of a negative multiple of a turn.
    return a >= 360 || a == 0 ? 0.0 : a;
}

}  // namespace PosSoleil
