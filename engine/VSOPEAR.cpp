#include "VSOPEAR.h"

#include <cmath>
#include <cstddef>
#include <numbers>

#include "VSOPEAR_data.h"

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

// Sum of A cos(B + C tau) over the terms, in the published order. Constant terms (C = 0)
// go through the same path: cos(0) and cos(pi) are exact enough and a branch would cost more.
double SommeSerie(const Serie& s, double tau) noexcept {
    double somme = 0.0;
    for (std::size_t i = 0; i < s.n; ++i) somme += s.A[i] * std::cos(s.B[i] + s.C[i] * tau);
    return somme;
}

// S1 tau + S0 + S2 tau^2 + ...: the Poisson series in powers of tau. Each power is built by
// repeated multiplication of the series sum, so no pow() and the same rounding on every call.
template <std::size_t N>
double EvalueCoordonnee(const Serie (&series)[N], double T) noexcept {
    const double tau = T / 10.0;  // Julian centuries to the series' Julian millennia
    double resultat = SommeSerie(series[1], tau) * tau + SommeSerie(series[0], tau);
    for (std::size_t alpha = 2; alpha < N; ++alpha) {
        double terme = SommeSerie(series[alpha], tau);
        for (std::size_t k = 0; k < alpha; ++k) terme *= tau;
        resultat += terme;
    }
    return resultat;
}


}  // namespace

double LongitudeTerre(double T) noexcept { return EvalueCoordonnee(SeriesL, T) * 180.0 / std::numbers::pi; }

double LatitudeTerre(double T) noexcept { return EvalueCoordonnee(SeriesB, T) * 180.0 / std::numbers::pi; }

double RayonTerre(double T) noexcept { return EvalueCoordonnee(SeriesR, T); }

}  // namespace VSOPEAR
