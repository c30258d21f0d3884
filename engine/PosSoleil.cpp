#include "PosSoleil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "VSOPEAR.h"
#include "Vectoriel.h"

namespace PosSoleil {

namespace {

constexpr double Rad = std::numbers::pi / 180.0;  // degrees to radians
constexpr double Deg = 180.0 / std::numbers::pi;  // radians to degrees

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

constexpr long long JourZeroDateValeur = -25569;  // 1899-12-30 counted from 1970-01-01
static_assert(JoursDepuisCivil(1899, 12, 30) == JourZeroDateValeur);
static_assert(JoursDepuisCivil(2000, 1, 1) - JourZeroDateValeur == 36526);

// Truncation toward zero of a double that may be huge or NaN, kept within +-limite so that
// the conversion to an integer is always defined.
long long Tronque(double x, double limite) noexcept {
    if (!(x == x)) return 0;
    return static_cast<long long>(std::clamp(std::trunc(x), -limite, limite));
}

long long DivPlancher(long long a, long long b) noexcept { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Reduction of a sidereal time: the result of subtracting 360 while above 360 and then adding
// 360 while below 0, so an exact multiple of a turn above zero stays at 360. fmod is exact,
// so this matches the repeated subtraction bit for bit, without a loop that a huge Julian
// date would make endless.
double ReduitSideral(double x) noexcept {
    if (x > 360.0) {
        const double r = std::fmod(x, 360.0);
        x = (r == 0.0) ? 360.0 : r;
    }
    if (x < 0.0) {
        const double r = std::fmod(x, 360.0);
        x = (r < 0.0) ? r + 360.0 : 0.0;
    }
    return x;
}

// One row of the nutation series: multipliers of D, M, M', F, Omega; the sine coefficient of
// deltaPsi as A + A' T and the cosine coefficient of deltaEpsilon as B + B' T, in 0.0001".
struct TermeNutation {
    int D, M, Mp, F, Om;
    double A, Ap, B, Bp;
};

// The 60 leading terms of the IAU 1980 theory, in the published order.
constexpr TermeNutation Nutation1980[] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {0, 0, -2, 2, 2, -3, 0, 1, 0},
    {-1, -1, 1, 0, 0, -3, 0, 0, 0},
    {-2, -2, 0, 2, 1, -2, 0, 1, 0},
    {0, 0, 2, -2, 1, 1, 0, 0, 0},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {-2, 0, 2, 0, 0, 48, 0, 1, 0},
    {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {2, 0, -2, 0, 1, -6, 0, 3, 0},
    {-2, -1, 0, 2, 1, -5, 0, 3, 0},
    {-2, 0, 2, 0, 1, 4, 0, -2, 0},
    {-2, 1, 0, 2, 1, 4, 0, -2, 0},
    {-1, 0, 1, 0, 0, -4, 0, 0, 0},
    {-2, 1, 2, 0, 0, 1, 0, 0, 0},
    {2, 0, 0, -2, 1, 1, 0, 0, 0},
    {2, 1, 0, -2, 0, -1, 0, 0, 0},
    {0, 1, 0, 0, 2, 1, 0, 0, 0},
    {1, 0, -1, 0, 1, 1, 0, 0, 0},
    {-2, 1, 0, 2, 0, -1, 0, 0, 0},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, 0, 1, 0, 0, -158, 0, -1, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
    {2, 0, 0, 0, 0, 63, 0, -2, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},
    {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},
    {0, 0, 2, 0, 0, 29, 0, -1, 0},
    {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 0, 2, 0, 26, 0, -1, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},
    {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},
    {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},
    {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {2, 0, 1, 0, 0, 6, 0, 0, 0},
    {-2, 0, 2, 2, 2, 6, 0, -3, 0},
    {2, 0, 0, 0, 1, -6, 0, 3, 0},
    {2, 0, 0, 2, 1, -7, 0, 3, 0},
    {-2, 0, 1, 2, 1, 6, 0, -3, 0},
    {-2, 0, 0, 0, 1, -5, 0, 3, 0},
};
static_assert(std::size(Nutation1980) == 60);

// The same rows as parallel arrays padded to a multiple of four with empty rows, for the
// vector path.
struct NutationColonnes {
    double D[64], M[64], Mp[64], F[64], Om[64], A[64], Ap[64], B[64], Bp[64];
};
constexpr NutationColonnes Colonnes = [] {
    NutationColonnes c{};
    for (std::size_t i = 0; i < std::size(Nutation1980); ++i) {
        const auto& t = Nutation1980[i];
        c.D[i] = t.D, c.M[i] = t.M, c.Mp[i] = t.Mp, c.F[i] = t.F, c.Om[i] = t.Om;
        c.A[i] = t.A, c.Ap[i] = t.Ap, c.B[i] = t.B, c.Bp[i] = t.Bp;
    }
    return c;
}();

// Sums of the nutation series in 0.0001", one term at a time with the C library's sine and
// cosine; the arguments in radians.
void SommesNutationScalaires(double T, double d, double m, double mp, double f, double om, double& sommePsi,
                             double& sommeEpsilon) noexcept {
    sommePsi = 0.0;
    sommeEpsilon = 0.0;
    for (const auto& t : Nutation1980) {
        const double argument = t.D * d + t.M * m + t.Mp * mp + t.F * f + t.Om * om;
        sommePsi += (t.A + t.Ap * T) * std::sin(argument);
        if (t.B != 0 || t.Bp != 0) sommeEpsilon += (t.B + t.Bp * T) * std::cos(argument);
    }
}

#ifdef ORVANEL_AVX2
// The same sums four rows at a time; sin x is taken as cos(x - pi/2).
__attribute__((target("avx2,fma"))) void SommesNutationAVX2(double T, double d, double m, double mp, double f,
                                                            double om, double& sommePsi,
                                                            double& sommeEpsilon) noexcept {
    const __m256d vt = _mm256_set1_pd(T);
    const __m256d vd = _mm256_set1_pd(d), vm = _mm256_set1_pd(m), vmp = _mm256_set1_pd(mp);
    const __m256d vf = _mm256_set1_pd(f), vom = _mm256_set1_pd(om);
    const __m256d quart = _mm256_set1_pd(std::numbers::pi / 2);
    __m256d psi = _mm256_setzero_pd();
    __m256d epsilon = _mm256_setzero_pd();
    for (std::size_t i = 0; i < 64; i += 4) {
        __m256d argument = _mm256_mul_pd(_mm256_loadu_pd(Colonnes.D + i), vd);
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(Colonnes.M + i), vm));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(Colonnes.Mp + i), vmp));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(Colonnes.F + i), vf));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(Colonnes.Om + i), vom));
        const __m256d a = _mm256_fmadd_pd(_mm256_loadu_pd(Colonnes.Ap + i), vt, _mm256_loadu_pd(Colonnes.A + i));
        const __m256d b = _mm256_fmadd_pd(_mm256_loadu_pd(Colonnes.Bp + i), vt, _mm256_loadu_pd(Colonnes.B + i));
        psi = _mm256_fmadd_pd(a, Vectoriel::Cos4(_mm256_sub_pd(argument, quart)), psi);
        epsilon = _mm256_fmadd_pd(b, Vectoriel::Cos4(argument), epsilon);
    }
    alignas(32) double p[4], e[4];
    _mm256_store_pd(p, psi);
    _mm256_store_pd(e, epsilon);
    sommePsi = (p[0] + p[1]) + (p[2] + p[3]);
    sommeEpsilon = (e[0] + e[1]) + (e[2] + e[3]);
}
#endif

using SommesNutation = void (*)(double, double, double, double, double, double, double&, double&) noexcept;

SommesNutation NutationRapide() noexcept {
#ifdef ORVANEL_AVX2
    if (Vectoriel::Avx2Disponible()) return &SommesNutationAVX2;
#endif
    return &SommesNutationScalaires;
}

void NutationAvec(SommesNutation sommes, double T, double Mprime, double M, double F, double D, double Omega,
                  double& deltaPsi, double& deltaEpsilon) noexcept {
    double sommePsi = 0.0, sommeEpsilon = 0.0;
    sommes(T, D * Rad, M * Rad, Mprime * Rad, F * Rad, Omega * Rad, sommePsi, sommeEpsilon);
    deltaPsi = sommePsi / 3600 / 10000;  // 0.0001" to degrees
    deltaEpsilon = sommeEpsilon / 3600 / 10000;
}

// Periodic terms of the Sun's daily motion in longitude (arcseconds per day): coefficient,
// power of tau that multiplies it, phase and rate per Julian millennium in degrees.
struct TermeAberration {
    double coefficient;
    int puissance;
    double phase, vitesse;
};

constexpr TermeAberration MouvementSoleil[] = {
    {118.568, 0, 87.5287, 359993.7286},   {2.476, 0, 85.0561, 719987.4571},
    {1.376, 0, 27.8502, 4452671.1152},    {0.119, 0, 73.1375, 450368.8564},
    {0.114, 0, 337.2264, 329644.6718},    {0.086, 0, 222.54, 659289.3436},
    {0.078, 0, 162.8136, 9224659.7915},   {0.054, 0, 82.5823, 1079981.1857},
    {0.052, 0, 171.5189, 225184.4282},    {0.034, 0, 30.3214, 4092677.3866},
    {0.033, 0, 119.8105, 337181.4711},    {0.023, 0, 247.5418, 299295.6151},
    {0.023, 0, 325.1526, 315559.556},     {0.021, 0, 155.1241, 675553.2846},
    {7.311, 1, 333.4515, 359993.7286},    {0.305, 1, 330.9814, 719987.4571},
    {0.01, 1, 328.517, 1079981.1857},     {0.309, 2, 241.4518, 359993.7286},
    {0.021, 2, 205.0482, 719987.4571},    {0.004, 2, 297.861, 4452671.1152},
    {0.01, 3, 154.7066, 359993.7286},
};
static_assert(std::size(MouvementSoleil) == 21);

// ---- Sexagesimal texts ----

// Decimal text of the whole part of a non-negative double, every digit exact (a double has
// at most 309 integer digits, so the text stays bounded).
void AjoutePartieEntiere(std::string& texte, double r, std::size_t largeurMin) {
    char tampon[400];
    char* fin = tampon;
    if (r < 1e15) {
        fin = std::to_chars(tampon, tampon + sizeof tampon, static_cast<long long>(r)).ptr;
    } else {
        fin = tampon + std::snprintf(tampon, sizeof tampon, "%.0f", std::trunc(r));
    }
    const auto longueur = static_cast<std::size_t>(fin - tampon);
    if (longueur < largeurMin) texte.append(largeurMin - longueur, '0');
    texte.append(tampon, longueur);
}

// Shared body of the two texts: sign and whole units, then minutes and seconds, each
// truncated from the double itself before the seconds alone are rounded; nothing carries.
std::string Sexagesimal(double angle, double r, int decimals, std::string_view separateur,
                        std::string_view unite, std::string_view marqueMinutes, std::string_view marqueSecondes) {
    if (std::isnan(r)) return "NAN";
    if (std::isinf(r)) return angle < 0 ? "-INF" : " INF";
    decimals = std::clamp(decimals, 0, 18);
    std::string texte;
    texte.reserve(24);
    texte += angle < 0 ? '-' : ' ';
    AjoutePartieEntiere(texte, r, 2);
    texte += unite;
    r = (r - std::trunc(r)) * 60.0;
    AjoutePartieEntiere(texte, r, 2);
    texte += marqueMinutes;
    r = (r - std::trunc(r)) * 60.0;
    std::string secondes = TexteFixe(r, decimals, 5, separateur);
    if (secondes.size() - (decimals > 0 ? separateur.size() + static_cast<std::size_t>(decimals) : 0) < 2)
        secondes.insert(0, 1, '0');
    texte += secondes;
    texte += marqueSecondes;
    return texte;
}

}  // namespace

// ---- Time base ----

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
    constexpr long long MsParJour = 86'400'000;
    if (!(t == t)) t = 0.0;
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

double JourJulien(double t) noexcept { return t + 2415018.5; }

double SiecleJulien(double JD, double TEmoinsTU) noexcept {
    const double JDE = TEmoinsTU / 86400 + JD;
    return (JDE - 2451545) / 36525;
}

void TempsSideral(double JD, double& theta0, double& theta) noexcept {
    // The 0h UT that opens the civil day: Julian days begin at noon.
    const double n = std::trunc(JD);
    const double JD0 = (JD - n >= 0.5) ? n + 0.5 : n - 0.5;
    const double T0 = (JD0 - 2451545) / 36525;
    const double heures0 = 6.69737455833 + 2400.051336907211 * T0 + 2.586222222e-5 * T0 * T0 -
                           1.722222222e-9 * T0 * T0 * T0;
    theta0 = ReduitSideral(heures0 * 15);
    // Carried to the instant at the sidereal rate, 366.2422 sidereal days per 365.2422 solar days.
    const double heures = (JD - JD0) * 24 * 36624.22 / 36524.22 + theta0 / 15;
    theta = ReduitSideral(heures * 15);
}

double EquationEquinoxes(double deltaPsi, double epsilon) noexcept { return deltaPsi * std::cos(epsilon * Rad); }

double Modulo360(double x) noexcept {
    double a = x - std::trunc(x / 360) * 360;
    if (!(std::fabs(a) < 360)) a = std::fmod(x, 360.0);  // only for magnitudes near 2^53 and beyond
    if (a < 0) a += 360;
    // A tiny negative angle plus a turn rounds to 360 itself: that is the angle 0.
    return a >= 360 ? 0.0 : a;
}

// ---- The Earth ----

double LongitudeTerre(double T) noexcept { return VSOPEAR::LongitudeTerre(T); }
double LatitudeTerre(double T) noexcept { return VSOPEAR::LatitudeTerre(T); }
double RayonTerre(double T) noexcept { return VSOPEAR::RayonTerre(T); }

// ---- Nutation and obliquity ----

double ElongationMoyenneLune(double T) noexcept {
    return 297.8502042 + 445267.111507861 * T - 0.001630027777 * T * T + 1.8319444e-6 * T * T * T;
}

double AnomalieMoyenneSoleil(double T) noexcept {
    return 357.5290192 + 35999.05029 * T - 0.00015358333 * T * T - 4.083333e-8 * T * T * T;
}

double AnomalieMoyenneLune(double T) noexcept {
    return 134.9634114 + 477198.86763 * T + 0.00089970277 * T * T + 1.43475e-5 * T * T * T;
}

double ArgumentLatitudeLune(double T) noexcept {
    return 93.27209932 + 483202.01752 * T - 0.00340291667 * T * T - 2.83611e-7 * T * T * T;
}

double LongitudeNoeudLune(double T) noexcept {
    return 125.044555 - 1934.1361848 * T + 0.0020761666666 * T * T + 2.1394444444e-6 * T * T * T;
}

void Nutation(double T, double Mprime, double M, double F, double D, double Omega,
              double& deltaPsi, double& deltaEpsilon) noexcept {
    NutationAvec(NutationRapide(), T, Mprime, M, F, D, Omega, deltaPsi, deltaEpsilon);
}

double ObliquiteMoyenne(double T) noexcept {
    const double U = T / 10;
    return 23.4392911111 - 0.1300416666 * U - 1.6388888888e-6 * U * U + 0.00050361111 * U * U * U;
}

// ---- Apparent geocentric Sun ----

double Aberration(double T, double R) noexcept {
    const double tau = T / 10;
    double S = 3548.193;
    for (const auto& t : MouvementSoleil) {
        double coefficient = t.coefficient;
        for (int k = 0; k < t.puissance; ++k) coefficient *= tau;
        S += coefficient * std::sin((t.phase + t.vitesse * tau) * Rad);
    }
    // The Sun is seen where it was one light time earlier: light time per au in days times
    // the daily motion.
    return -0.005775518 * R * S / 3600;
}

void EcliptiqueVersEquateur(double epsilon, double lambda, double beta, double& alpha,
                            double& delta) noexcept {
    const double e = epsilon * Rad;
    const double l = lambda * Rad;
    const double b = beta * Rad;
    delta = std::asin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l)) * Deg;
    alpha = std::atan2(std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e), std::cos(l)) * Deg;
}

double EquationDuTemps(double T, double alpha, double deltaPsi, double epsilon0) noexcept {
    const double tau = T / 10;
    const double L0 = Modulo360(280.4664567 + 360007.6982779 * tau + 0.03032028 * tau * tau +
                                tau * tau * tau / 49931 - tau * tau * tau * tau / 15300 -
                                tau * tau * tau * tau * tau / 2000000);
    double E = deltaPsi * std::cos(epsilon0 * Rad) + (L0 - 0.0057183 - alpha);
    E = E / 15;
    // alpha lies in (-180, 180] and L0 in [0, 360): the raw difference may be a day off.
    if (E > 20) E -= 24;
    if (E < -20) E += 24;
    return E;
}

// ---- Topocentric and horizontal coordinates ----

void CoordonneesObservateur(double phi, double h, double& rhoSinPhiP, double& rhoCosPhiP,
                            double& rho, double& phiP) noexcept {
    constexpr double ba = 1 - Aplatissement;  // polar over equatorial radius
    const double p = phi * Rad;
    const double u = std::atan2(ba * std::tan(p), 1.0);  // reduced latitude
    rhoSinPhiP = ba * std::sin(u) + (h / 6378140) * std::sin(p);
    rhoCosPhiP = std::cos(u) + (h / 6378140) * std::cos(p);
    rho = std::sqrt(rhoSinPhiP * rhoSinPhiP + rhoCosPhiP * rhoCosPhiP);
    phiP = std::atan2(rhoSinPhiP, rhoCosPhiP) * Deg;
}

double ParallaxeHorizontale(double R) noexcept {
    return std::asin(std::sin(0.002442818888888889 * Rad) / R) * Deg;  // 8.794148" at 1 au
}

void Parallaxe(double pi, double rhoCosPhiP, double rhoSinPhiP, double delta, double H,
               double& deltaAlpha, double& deltaDelta) noexcept {
    const double p = pi * Rad;
    const double d = delta * Rad;
    const double h = H * Rad;
    const double denominateur = std::cos(d) - rhoCosPhiP * std::sin(p) * std::cos(h);
    const double da = std::atan2(-rhoCosPhiP * std::sin(p) * std::sin(h), denominateur);
    const double dPrime = std::atan2((std::sin(d) - rhoSinPhiP * std::sin(p)) * std::cos(da), denominateur);
    deltaAlpha = da * Deg;
    deltaDelta = (dPrime - d) * Deg;
}

void CoordonneesHorizontales(double Hprime, double phi, double deltaPrime, double& Azimut,
                             double& Hauteur) noexcept {
    const double h = Hprime * Rad;
    const double p = phi * Rad;
    const double d = deltaPrime * Rad;
    // atan2 counts from the south, positive westward; half a turn more counts from the north.
    Azimut = std::atan2(std::sin(h), std::cos(h) * std::sin(p) - std::tan(d) * std::cos(p)) * Deg + 180;
    Hauteur = std::asin(std::sin(p) * std::sin(d) + std::cos(p) * std::cos(d) * std::cos(h)) * Deg;
}

// ---- The position driver ----

namespace {

// The chain itself, on the vector evaluations of the series or on the scalar reference.
template <bool Rapide>
void Chaine(double Annee, double Mois, double Jour, double Heure, double Minute, double Seconde, double Longitude,
            double Latitude, double AltitudeSite, double TEmoinsTU, double& LongitudeSoleil, double& RayonVecteur,
            double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
            double& EquationTemps) noexcept {
    const double t = EncodeDateValeur(Annee, Mois, Jour, Heure, Minute, Seconde);
    const double JD = JourJulien(t);
    const double T = SiecleJulien(JD, TEmoinsTU);
    const double M = Modulo360(AnomalieMoyenneSoleil(T));

    // Geometric geocentric Sun: the heliocentric Earth seen from the other side.
    double L = (Rapide ? VSOPEAR::LongitudeTerre(T) : VSOPEAR::Scalaire::LongitudeTerre(T)) + 180;
    double beta = -(Rapide ? VSOPEAR::LatitudeTerre(T) : VSOPEAR::Scalaire::LatitudeTerre(T));
    const double R = Rapide ? VSOPEAR::RayonTerre(T) : VSOPEAR::Scalaire::RayonTerre(T);

    // From the dynamical equinox of VSOP87 to the FK5 frame.
    const double lambdaPrime = L - 1.397 * T - 0.00031 * T * T;
    const double cosLp = std::cos(lambdaPrime * Rad);
    const double sinLp = std::sin(lambdaPrime * Rad);
    beta = beta + 0.03916 * (cosLp - sinLp) / 3600;
    L = L + (0.03916 * (cosLp + sinLp) * std::tan(beta * Rad) - 0.09033) / 3600;

    L = L + Aberration(T, R);

    const double F = ArgumentLatitudeLune(T);
    const double D = ElongationMoyenneLune(T);
    const double Omega = Modulo360(LongitudeNoeudLune(T));
    const double Mprime = Modulo360(AnomalieMoyenneLune(T));
    double deltaPsi = 0.0;
    double deltaEpsilon = 0.0;
    NutationAvec(Rapide ? NutationRapide() : &SommesNutationScalaires, T, Mprime, M, F, D, Omega, deltaPsi,
                 deltaEpsilon);
    const double epsilon0 = ObliquiteMoyenne(T);

    // Nutation in longitude enters the apparent place only; L itself keeps none.
    double alpha = 0.0;
    double delta = 0.0;
    EcliptiqueVersEquateur(epsilon0 + deltaEpsilon, L + deltaPsi, beta, alpha, delta);

    double theta0 = 0.0;
    double theta = 0.0;
    TempsSideral(JD, theta0, theta);
    const double e = EquationEquinoxes(deltaPsi, epsilon0 + deltaEpsilon);
    const double Theta = theta + Longitude + e;  // local apparent sidereal time, not reduced

    double rhoSinPhiP = 0.0;
    double rhoCosPhiP = 0.0;
    double rho = 0.0;
    double phiP = 0.0;
    CoordonneesObservateur(Latitude, AltitudeSite, rhoSinPhiP, rhoCosPhiP, rho, phiP);

    const double H = Theta - alpha;
    const double pi = ParallaxeHorizontale(R);
    double deltaAlpha = 0.0;
    double deltaDelta = 0.0;
    Parallaxe(pi, rhoCosPhiP, rhoSinPhiP, delta, H, deltaAlpha, deltaDelta);
    const double Hprime = Theta - alpha - deltaAlpha;
    CoordonneesHorizontales(Hprime, Latitude, delta + deltaDelta, Azimut, Hauteur);

    LongitudeSoleil = L;
    RayonVecteur = R;
    AscensionDroite = alpha;
    Declinaison = delta;
    EquationTemps = EquationDuTemps(T, alpha, deltaPsi, epsilon0);
}

}  // namespace

void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute, double Seconde,
                    double Longitude, double Latitude, double AltitudeSite, double TEmoinsTU, double& LongitudeSoleil,
                    double& RayonVecteur, double& AscensionDroite, double& Declinaison, double& Azimut,
                    double& Hauteur, double& EquationTemps) noexcept {
    Chaine<true>(Annee, Mois, Jour, Heure, Minute, Seconde, Longitude, Latitude, AltitudeSite, TEmoinsTU,
                 LongitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut, Hauteur, EquationTemps);
}

namespace Scalaire {

void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute, double Seconde,
                    double Longitude, double Latitude, double AltitudeSite, double TEmoinsTU, double& LongitudeSoleil,
                    double& RayonVecteur, double& AscensionDroite, double& Declinaison, double& Azimut,
                    double& Hauteur, double& EquationTemps) noexcept {
    Chaine<false>(Annee, Mois, Jour, Heure, Minute, Seconde, Longitude, Latitude, AltitudeSite, TEmoinsTU,
                  LongitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut, Hauteur, EquationTemps);
}

void Nutation(double T, double Mprime, double M, double F, double D, double Omega, double& deltaPsi,
              double& deltaEpsilon) noexcept {
    NutationAvec(&SommesNutationScalaires, T, Mprime, M, F, D, Omega, deltaPsi, deltaEpsilon);
}

}  // namespace Scalaire

// ---- Refraction ----

double Refraction(double h, double P, double T) noexcept {
    // Refraction constant: 60.343" at 0 C and 76 cm of mercury, proportional to air density.
    const double m = 60.343 * P / 76 * 273 / (273 + T) / 3600;
    const double l = (273 + T) * 0.001254 / 273;
    const double z = (90 - h) * Rad;
    const double k = (10 - T) * 4.3e-5 + 0.01;
    double resultat = 0.0;
    if (h >= 30) {
        const double tz = std::tan(z);
        resultat = tz * (1 - l) * m - tz * tz * tz * ((l - m / 2) * m);
    } else if (h < 30 && h > -1) {
        // Low altitudes: a rational fit for 10 C and 76 cm, scaled for temperature and pressure.
        const double N = 1 + h * (0.10976 + h * (0.011139 + h * (-1.912e-5 + h * (-1.33e-6))));
        const double Q = 1.98078 + h * (0.8153 + h * (0.14802 + h * 0.010285));
        const double r = N / Q - 1.0 / 1800;
        const double facteurTemperature = 1 + (10 - T) * k / 2.8;
        const double facteurPression = 1 + (P - 76) * 0.01 / 0.7500617;
        resultat = r * facteurTemperature * facteurPression;
    }
    return resultat;
}

// ---- Sexagesimal texts ----

std::string TexteFixe(double valeur, int decimals, int significatifs, std::string_view separateur) {
    if (std::isnan(valeur)) return "NAN";
    if (std::isinf(valeur)) return valeur < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, 18);
    significatifs = std::clamp(significatifs, 1, 18);
    const double r = std::fabs(valeur);
    std::string chiffres(18, '0');
    int exposant = 0;
    if (r != 0.0) {
        char tampon[40];
        // d.ddddddddddddddddde+XX: the value correctly rounded to 18 significant digits
        const char* fin = std::to_chars(tampon, tampon + sizeof tampon, r, std::chars_format::scientific, 17).ptr;
        chiffres[0] = tampon[0];
        std::copy(tampon + 2, tampon + 19, chiffres.begin() + 1);
        std::from_chars(tampon + 20 + (tampon[20] == '+'), fin, exposant);
    }
    // n significant digits survive; the value is then M x 10^-k, k <= decimals.
    const int n = std::min(significatifs, exposant + 1 + decimals);
    std::string echelle;  // the value times 10^decimals, in decimal
    if (n >= 0) {
        echelle = chiffres.substr(0, static_cast<std::size_t>(n));
        if (chiffres[static_cast<std::size_t>(n)] >= '5') {  // half away from zero
            int i = n - 1;
            while (i >= 0 && echelle[static_cast<std::size_t>(i)] == '9') echelle[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0) ++echelle[static_cast<std::size_t>(i)];
            else echelle.insert(0, 1, '1');
        }
        echelle.append(static_cast<std::size_t>(decimals - (n - exposant - 1)), '0');
    }
    const auto d = static_cast<std::size_t>(decimals);
    if (echelle.size() < d + 1) echelle.insert(0, d + 1 - echelle.size(), '0');
    std::string texte = echelle.substr(0, echelle.size() - d);
    if (decimals > 0) {
        texte.append(separateur);
        texte.append(echelle, echelle.size() - d, d);
    }
    if (valeur < 0 && echelle.find_first_not_of('0') != std::string::npos) texte.insert(0, 1, '-');
    return texte;
}

std::string DegVersDMS(double angle, int decimals, std::string_view separateur) {
    if (angle == 0) return "000000";
    return Sexagesimal(angle, std::fabs(angle), decimals, separateur, "\u00B0", "'", "\"");
}

std::string DegVersHMS(double angle, int decimals, std::string_view separateur) {
    return Sexagesimal(angle, std::fabs(angle / 15), decimals, separateur, "h", "mn", "s");
}

}  // namespace PosSoleil
