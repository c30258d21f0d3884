#include "VSOPEAR.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstddef>
#include <numbers>

#include "VSOPEAR_data.h"
#include "Vectoriel.h"

namespace VSOPEAR {

namespace {

// One series X_alpha: its terms as three parallel arrays (amplitude, phase, frequency).
struct Serie {
    const double* A;
    const double* B;
    const double* C;
    std::size_t n;
};

template <std::size_t N>
constexpr Serie S(const double (&A)[N], const double (&B)[N], const double (&C)[N]) {
    return {A, B, C, N};
}

constexpr Serie SeriesL[] = {S(L0_A, L0_B, L0_C), S(L1_A, L1_B, L1_C), S(L2_A, L2_B, L2_C),
                             S(L3_A, L3_B, L3_C), S(L4_A, L4_B, L4_C), S(L5_A, L5_B, L5_C)};
constexpr Serie SeriesB[] = {S(B0_A, B0_B, B0_C), S(B1_A, B1_B, B1_C), S(B2_A, B2_B, B2_C),
                             S(B3_A, B3_B, B3_C), S(B4_A, B4_B, B4_C)};
constexpr Serie SeriesR[] = {S(R0_A, R0_B, R0_C), S(R1_A, R1_B, R1_C), S(R2_A, R2_B, R2_C),
                             S(R3_A, R3_B, R3_C), S(R4_A, R4_B, R4_C), S(R5_A, R5_B, R5_C)};

constexpr std::size_t Compte(const Serie* s, std::size_t n) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) total += s[i].n;
    return total;
}
static_assert(Compte(SeriesL, std::size(SeriesL)) == 1080);
static_assert(Compte(SeriesB, std::size(SeriesB)) == 348);
static_assert(Compte(SeriesR, std::size(SeriesR)) == 997);
static_assert(NombreTotalTermes == 2425);

// Sum of A cos(B + C tau) over the terms, in the published order, with the C library's
// cosine. Constant terms (C = 0) go through the same path: cos(0) and cos(pi) need no branch.
// The running sum is kept in extended precision: the first term of L1 is 6283.3 radians, and
// a double sum would lose half a unit of its last place (4.5e-13) at each of the 340 terms
// added after it.
double SommeScalaire(const Serie& s, double tau) noexcept {
    long double somme = 0.0L;
    for (std::size_t i = 0; i < s.n; ++i) somme += s.A[i] * std::cos(s.B[i] + s.C[i] * tau);
    return static_cast<double>(somme);
}

// One coordinate in the form of one sine and cosine per distinct frequency: its frequencies,
// and for each series the pairs (A cos B, -A sin B) over the prefix of them it uses.
struct Paires {
    const double* P;
    const double* Q;
    std::size_t n;
};
template <std::size_t N>
constexpr Paires PQ(const double (&P)[N], const double (&Q)[N]) {
    return {P, Q, N};
}
struct FormePaires {
    const double* F;
    std::size_t nF;
    Paires series[6];
    std::size_t nSeries;
};
constexpr FormePaires PairesL = {L_F,
                                 std::size(L_F),
                                 {PQ(L0_P, L0_Q), PQ(L1_P, L1_Q), PQ(L2_P, L2_Q), PQ(L3_P, L3_Q),
                                  PQ(L4_P, L4_Q), PQ(L5_P, L5_Q)},
                                 6};
constexpr FormePaires PairesB = {
    B_F,
    std::size(B_F),
    {PQ(B0_P, B0_Q), PQ(B1_P, B1_Q), PQ(B2_P, B2_Q), PQ(B3_P, B3_Q), PQ(B4_P, B4_Q)},
    5};
constexpr FormePaires PairesR = {R_F,
                                 std::size(R_F),
                                 {PQ(R0_P, R0_Q), PQ(R1_P, R1_Q), PQ(R2_P, R2_Q), PQ(R3_P, R3_Q),
                                  PQ(R4_P, R4_Q), PQ(R5_P, R5_Q)},
                                 6};
static_assert(std::size(L_F) <= 588 && std::size(B_F) <= 588 && std::size(R_F) <= 588);

// The largest frequency of a group of series, radians per Julian millennium.
constexpr double FrequenceMax(const Serie* s, std::size_t n) {
    double maximum = 0.0;
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < s[k].n; ++i) maximum = std::max(maximum, std::abs(s[k].C[i]));
    return maximum;
}
constexpr double FrequenceMaxTheorie =
    std::max({FrequenceMax(SeriesL, std::size(SeriesL)), FrequenceMax(SeriesB, std::size(SeriesB)),
              FrequenceMax(SeriesR, std::size(SeriesR))});

// The vector cosine holds for arguments below 1e6 radians, that is for the whole theory over
// some ten thousand years around J2000; beyond, the scalar sum takes over.
bool DansLeDomaineVectoriel(double tau) noexcept {
    return std::fabs(tau) * FrequenceMaxTheorie + 7.0 < 1e6;
}

// Beyond a million centuries (far outside any meaning of the theory) T is held there, so the
// powers of tau stay finite and every finite T gives a finite result.
constexpr double LimiteSiecles = 1e6;

// S1 tau + S0 + S2 tau^2 + ...: the Poisson series in powers of tau. Each power is built by
// repeated multiplication of the series sum, so no pow() and the same rounding on every call.
template <std::size_t N>
double EvalueCoordonnee(const Serie (&series)[N], double T) noexcept {
    // Julian centuries to the series' Julian millennia
    const double tau = std::clamp(T, -LimiteSiecles, LimiteSiecles) / 10.0;
    double resultat = SommeScalaire(series[1], tau) * tau + SommeScalaire(series[0], tau);
    for (std::size_t alpha = 2; alpha < N; ++alpha) {
        double terme = SommeScalaire(series[alpha], tau);
        for (std::size_t k = 0; k < alpha; ++k) terme *= tau;
        resultat += terme;
    }
    return resultat;
}

#ifdef ORVANEL_AVX2
// The same sum of powers of tau, each series from the sines and cosines of the coordinate's
// frequencies, computed once.
double EvaluePaires(const FormePaires& forme, double tau) noexcept {
    alignas(32) double sinus[588], cosinus[588];
    Vectoriel::SinusCosinus(forme.F, forme.nF, tau, sinus, cosinus);
    const auto somme = [&](std::size_t alpha) {
        const Paires& p = forme.series[alpha];
        return Vectoriel::SommePaires(p.P, p.Q, cosinus, sinus, p.n);
    };
    double resultat = somme(1) * tau + somme(0);
    for (std::size_t alpha = 2; alpha < forme.nSeries; ++alpha) {
        double terme = somme(alpha);
        for (std::size_t k = 0; k < alpha; ++k) terme *= tau;
        resultat += terme;
    }
    return resultat;
}
#endif

// The vector form where the processor and the argument allow it, the scalar sum elsewhere.
template <std::size_t N>
double Evalue(const Serie (&series)[N], const FormePaires& forme, double T) noexcept {
#ifdef ORVANEL_AVX2
    const double tau = std::clamp(T, -LimiteSiecles, LimiteSiecles) / 10.0;
    if (Vectoriel::Avx2Disponible() && DansLeDomaineVectoriel(tau)) return EvaluePaires(forme, tau);
#else
    (void)forme;
#endif
    return EvalueCoordonnee(series, T);
}

}  // namespace

double LongitudeTerre(double T) noexcept {
    return Evalue(SeriesL, PairesL, T) * 180.0 / std::numbers::pi;
}
double LatitudeTerre(double T) noexcept {
    return Evalue(SeriesB, PairesB, T) * 180.0 / std::numbers::pi;
}
double RayonTerre(double T) noexcept {
    return Evalue(SeriesR, PairesR, T);
}

bool EvaluationVectorielle() noexcept {
#ifdef ORVANEL_AVX2
    return Vectoriel::Avx2Disponible();
#else
    return false;
#endif
}

namespace Scalaire {
double LongitudeTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesL, T) * 180.0 / std::numbers::pi;
}
double LatitudeTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesB, T) * 180.0 / std::numbers::pi;
}
double RayonTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesR, T);
}
}  // namespace Scalaire

}  // namespace VSOPEAR
