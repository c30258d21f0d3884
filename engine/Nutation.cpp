// Nutation and obliquity: the fundamental arguments of the lunisolar theory, the leading terms
// of the IAU 1980 nutation series and the mean obliquity of the ecliptic.
#include <cmath>
#include <iterator>

#include "Interne.h"
#include "PosSoleil.h"
#include "Vectoriel.h"

namespace PosSoleil {

namespace {

// One row of the nutation series: multipliers of D, M, M', F, Omega; the sine coefficient of
// deltaPsi as A + A' T and the cosine coefficient of deltaEpsilon as B + B' T, in 0.0001".
struct TermeNutation {
    int D, M, Mp, F, Om;
    double A, Ap, B, Bp;
};

// The 60 leading terms of the IAU 1980 theory of nutation (P. K. Seidelmann, Celestial Mechanics
// 27, 79, 1982; its 106 terms in the Explanatory Supplement to the Astronomical Almanac, 1992,
// section 3.222), in the order of J. Meeus, Astronomical Algorithms, 2nd ed. (1998), table 22.A.
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

#ifdef ORVANEL_AVX2
constexpr Vectoriel::ColonnesNutation ColonnesVectorielles = {
    Colonnes.D, Colonnes.M,  Colonnes.Mp, Colonnes.F,  Colonnes.Om,
    Colonnes.A, Colonnes.Ap, Colonnes.B,  Colonnes.Bp, 60};

void SommesNutationAVX2(double T, double d, double m, double mp, double f, double om,
                        double& sommePsi, double& sommeEpsilon) noexcept {
    Vectoriel::SommesNutation(ColonnesVectorielles, T, d, m, mp, f, om, sommePsi, sommeEpsilon);
}
#endif

}  // namespace

namespace Interne {

void SommesNutationScalaires(double T, double d, double m, double mp, double f, double om,
                             double& sommePsi, double& sommeEpsilon) noexcept {
    sommePsi = 0.0;
    sommeEpsilon = 0.0;
    for (const auto& t : Nutation1980) {
        const double argument = t.D * d + t.M * m + t.Mp * mp + t.F * f + t.Om * om;
        sommePsi += (t.A + t.Ap * T) * std::sin(argument);
        if (t.B != 0 || t.Bp != 0) sommeEpsilon += (t.B + t.Bp * T) * std::cos(argument);
    }
}

SommesNutation NutationRapide() noexcept {
#ifdef ORVANEL_AVX2
    if (Vectoriel::Avx2Disponible()) return &SommesNutationAVX2;
#endif
    return &SommesNutationScalaires;
}

void NutationAvec(SommesNutation sommes, double T, double Mprime, double M, double F, double D,
                  double Omega, double& deltaPsi, double& deltaEpsilon) noexcept {
    double sommePsi = 0.0, sommeEpsilon = 0.0;
    sommes(T, D * Rad, M * Rad, Mprime * Rad, F * Rad, Omega * Rad, sommePsi, sommeEpsilon);
    deltaPsi = sommePsi / 3600 / 10000;  // 0.0001" to degrees
    deltaEpsilon = sommeEpsilon / 3600 / 10000;
}

}  // namespace Interne

// The fundamental arguments as cubic polynomials in T, degrees: the mean elongation of the Moon,
// the mean anomalies of the Sun and the Moon, the Moon's argument of latitude and the longitude
// of its ascending node, after Meeus, Astronomical Algorithms, 2nd ed. (1998), chapters 22 and
// 47 (the lunar theory ELP-2000/82 of M. Chapront-Touzé and J. Chapront). The Moon's mean
// anomaly's 0.0089970 degree per century squared is the ELP-2000/82 figure; the IAU 1980
// nutation's own argument has 31.310" = 0.0086972 degree (Meeus, chapter 22), a difference
// that moves the nutation by less than 0.00001" within the program's dates.
double ElongationMoyenneLune(double T) noexcept {
    return 297.8502042 + 445267.111507861 * T - 0.001630027777 * T * T + 1.8319444e-6 * T * T * T;
}

double AnomalieMoyenneSoleil(double T) noexcept {
    return 357.5290192 + 35999.05029 * T - 0.00015358333 * T * T - 4.083333e-8 * T * T * T;
}

double AnomalieMoyenneLune(double T) noexcept {
    return 134.9634114 + 477198.86763 * T + 0.0089970277 * T * T + 1.43475e-5 * T * T * T;
}

double ArgumentLatitudeLune(double T) noexcept {
    return 93.27209932 + 483202.01752 * T - 0.00340291667 * T * T - 2.83611e-7 * T * T * T;
}

double LongitudeNoeudLune(double T) noexcept {
    return 125.044555 - 1934.1361848 * T + 0.0020761666666 * T * T + 2.1394444444e-6 * T * T * T;
}

void Nutation(double T, double Mprime, double M, double F, double D, double Omega, double& deltaPsi,
              double& deltaEpsilon) noexcept {
    Interne::NutationAvec(Interne::NutationRapide(), T, Mprime, M, F, D, Omega, deltaPsi,
                          deltaEpsilon);
}

namespace Scalaire {
void Nutation(double T, double Mprime, double M, double F, double D, double Omega, double& deltaPsi,
              double& deltaEpsilon) noexcept {
    Interne::NutationAvec(&Interne::SommesNutationScalaires, T, Mprime, M, F, D, Omega, deltaPsi,
                          deltaEpsilon);
}
}  // namespace Scalaire

// The IAU 1980 mean obliquity, 84381.448" - 46.8150" T - 0.00059" T^2 + 0.001813" T^3 with T in
// Julian centuries (Lieske et al. 1977, adopted with the IAU 1976 constants; Explanatory
// Supplement to the Astronomical Almanac, 1992, 3.222-1), written in Julian millennia U = T/10:
// 84381.448" - 468.15" U - 0.059" U^2 + 1.813" U^3. The arcseconds are divided by 3600 here, so
// that no rounded decimal of a degree stands between the published coefficients and the result.
double ObliquiteMoyenne(double T) noexcept {
    const double U = T / 10;
    const double secondes = 84381.448 + U * (-468.15 + U * (-0.059 + U * 1.813));
    return secondes / 3600;
}

}  // namespace PosSoleil
