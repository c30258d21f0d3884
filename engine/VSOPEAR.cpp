// The Earth from the VSOP87D series: the public functions, the scalar sums term by term (the
// reference), and the choice of the vector path where the processor and the argument allow it.
#include "VSOPEAR.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstddef>
#include <numbers>
#include <utility>

#include "VSOPEARInterne.h"
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
[[maybe_unused]] bool DansLeDomaineVectoriel(double tau) noexcept {
    return std::fabs(tau) * FrequenceMaxTheorie + 7.0 < 1e6;
}

// Beyond a million centuries (far outside any meaning of the theory) T is held there, so the
// powers of tau stay finite and every finite T gives a finite result.
constexpr double LimiteSiecles = 1e6;

constexpr int nL = static_cast<int>(std::size(SeriesL));
constexpr int nB = static_cast<int>(std::size(SeriesB));
constexpr int nR = static_cast<int>(std::size(SeriesR));

// T in centuries to tau in millennia, T held within the bound above.
double Millenaires(double T) noexcept {
    return std::clamp(T, -LimiteSiecles, LimiteSiecles) / 10.0;
}

// S1 tau + S0 + S2 tau^2 + ...: the Poisson series in powers of tau. Each power is built by
// repeated multiplication of the series sum, so no pow() and the same rounding on every call.
template <std::size_t N>
double EvalueCoordonnee(const Serie (&series)[N], double T) noexcept {
    const double tau = Millenaires(T);
    double resultat = SommeScalaire(series[1], tau) * tau + SommeScalaire(series[0], tau);
    for (std::size_t alpha = 2; alpha < N; ++alpha) {
        double terme = SommeScalaire(series[alpha], tau);
        for (std::size_t k = 0; k < alpha; ++k) terme *= tau;
        resultat += terme;
    }
    return resultat;
}

// True where the vector path may run: the processor has it and the arguments stay in its range.
[[maybe_unused]] bool Vectorielle([[maybe_unused]] double tau) noexcept {
#ifdef ORVANEL_AVX2
    return Vectoriel::Avx2Disponible() && DansLeDomaineVectoriel(tau);
#else
    return false;
#endif
}

// The vector sums where the processor and the argument allow it, the scalar sums elsewhere.
template <std::size_t N>
double Evalue(const Serie (&series)[N], [[maybe_unused]] Interne::Coordonnee c, double T) noexcept {
#ifdef ORVANEL_AVX2
    if (const double tau = Millenaires(T); Vectorielle(tau))
        return Interne::SommeVectorielle(c, static_cast<int>(N), tau);
#endif
    return EvalueCoordonnee(series, T);
}

}  // namespace

double LongitudeTerre(double T) noexcept {
    return Evalue(SeriesL, Interne::Coordonnee::L, T) * 180.0 / std::numbers::pi;
}
double LatitudeTerre(double T) noexcept {
    return Evalue(SeriesB, Interne::Coordonnee::B, T) * 180.0 / std::numbers::pi;
}
double RayonTerre(double T) noexcept {
    return Evalue(SeriesR, Interne::Coordonnee::R, T);
}

void PositionTerre(double T, double& L, double& B, double& R) noexcept {
#ifdef ORVANEL_AVX2
    if (const double tau = Millenaires(T); Vectorielle(tau)) {
        double x[3];
        Interne::SommesVectoriellesLBR(tau, {nL, nB, nR}, x);
        L = x[0] * 180.0 / std::numbers::pi;
        B = x[1] * 180.0 / std::numbers::pi;
        R = x[2];
        return;
    }
#endif
    Scalaire::PositionTerre(T, L, B, R);
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
void PositionTerre(double T, double& L, double& B, double& R) noexcept {
    L = LongitudeTerre(T);
    B = LatitudeTerre(T);
    R = RayonTerre(T);
}
}  // namespace Scalaire

}  // namespace VSOPEAR
