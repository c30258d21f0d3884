// Annual aberration: the Sun seen where it was one light time earlier, from its daily motion in
// longitude.
#include <cmath>
#include <iterator>

#include "Interne.h"
#include "PosSoleil.h"
#include "Vectoriel.h"

namespace PosSoleil {

using Interne::Rad;

namespace {

// Periodic terms of the Sun's daily motion in longitude (arcseconds per day): coefficient,
// power of tau that multiplies it, phase and rate per Julian millennium in degrees.
struct TermeAberration {
    double coefficient;
    int puissance;
    double phase, vitesse;
};

constexpr TermeAberration MouvementSoleil[] = {
    {118.568, 0, 87.5287, 359993.7286}, {2.476, 0, 85.0561, 719987.4571},
    {1.376, 0, 27.8502, 4452671.1152},  {0.119, 0, 73.1375, 450368.8564},
    {0.114, 0, 337.2264, 329644.6718},  {0.086, 0, 222.54, 659289.3436},
    {0.078, 0, 162.8136, 9224659.7915}, {0.054, 0, 82.5823, 1079981.1857},
    {0.052, 0, 171.5189, 225184.4282},  {0.034, 0, 30.3214, 4092677.3866},
    {0.033, 0, 119.8105, 337181.4711},  {0.023, 0, 247.5418, 299295.6151},
    {0.023, 0, 325.1526, 315559.556},   {0.021, 0, 155.1241, 675553.2846},
    {7.311, 1, 333.4515, 359993.7286},  {0.305, 1, 330.9814, 719987.4571},
    {0.01, 1, 328.517, 1079981.1857},   {0.309, 2, 241.4518, 359993.7286},
    {0.021, 2, 205.0482, 719987.4571},  {0.004, 2, 297.861, 4452671.1152},
    {0.01, 3, 154.7066, 359993.7286},
};
static_assert(std::size(MouvementSoleil) == 21);

}  // namespace

namespace {

// The daily motion term by term with the C library's sine: the reference.
double MouvementScalaire(double tau) noexcept {
    double S = 0.0;
    for (const auto& t : MouvementSoleil) {
        double coefficient = t.coefficient;
        for (int k = 0; k < t.puissance; ++k) coefficient *= tau;
        S += coefficient * std::sin((t.phase + t.vitesse * tau) * Rad);
    }
    return S;
}

#ifdef ORVANEL_AVX2
// The same terms as columns for the vector sum: each coefficient in the column of its power of
// tau, phases and rates in radians; three empty rows pad them to 24.
struct ColonnesMouvement {
    double C[4][24], phase[24], vitesse[24];
};
constexpr ColonnesMouvement Mouvement = [] {
    ColonnesMouvement c{};
    for (std::size_t i = 0; i < std::size(MouvementSoleil); ++i) {
        const auto& t = MouvementSoleil[i];
        c.C[t.puissance][i] = t.coefficient;
        c.phase[i] = t.phase * Rad;
        c.vitesse[i] = t.vitesse * Rad;
    }
    return c;
}();

double MouvementVectoriel(double tau) noexcept {
    constexpr Vectoriel::ColonnesSinus colonnes = {Mouvement.C[0],
                                                   Mouvement.C[1],
                                                   Mouvement.C[2],
                                                   Mouvement.C[3],
                                                   Mouvement.phase,
                                                   Mouvement.vitesse,
                                                   24};
    return Vectoriel::SommeSinus(colonnes, tau);
}
#endif

// The periodic part of the daily motion, from tau, on one path or the other.
using SommeMouvement = double (*)(double tau) noexcept;

// The Sun is seen where it was one light time earlier: light time per au in days times the
// daily motion in longitude (arcseconds per day).
// Light time for 1 au, 0.005775518 d = 499.0048 s: the IAU (1976) System of Astronomical
// Constants (499.004782 s); times the mean daily motion 3548.193"/d it gives 20.4927", the
// aberration at the mean motion (the constant of aberration, 20.49552", is the Earth's mean
// orbital velocity over c, a slightly different quantity). The periodic terms of the daily
// motion: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 25, derived there from
// VSOP87.
double AberrationAvec(SommeMouvement mouvement, double T, double R) noexcept {
    const double S = 3548.193 + mouvement(T / 10);
    return -0.005775518 * R * S / 3600;
}

SommeMouvement MouvementRapide() noexcept {
#ifdef ORVANEL_AVX2
    if (Vectoriel::Avx2Disponible()) return &MouvementVectoriel;
#endif
    return &MouvementScalaire;
}

}  // namespace

double Aberration(double T, double R) noexcept {
    return AberrationAvec(MouvementRapide(), T, R);
}

double Interne::AberrationChemin(bool rapide, double T, double R) noexcept {
    return AberrationAvec(rapide ? MouvementRapide() : &MouvementScalaire, T, R);
}

}  // namespace PosSoleil
