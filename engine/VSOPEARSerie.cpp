// VSOP87 along a regular series: the phasor of each distinct frequency turned by a fixed
// rotation per row, then each coordinate's coefficient at that frequency by Horner's rule in
// tau, as the vector path does with sines it computes afresh.
#include "VSOPEARSerie.h"

#include <cmath>
#include <iterator>
#include <numbers>

#include "VSOPEARInterne.h"
#include "VSOPEAR_data.h"
#include "Vectoriel.h"

namespace VSOPEAR {

namespace {

constexpr std::size_t NombreFortes = std::size(LBR_Fortes);
static_assert(NombreFortes + std::size(LBR_Faibles) == NombreFrequences);
constexpr int NombreSeries[3] = {6, 5, 6};  // L, B, R
static_assert(std::size(LBR_Constantes) == 6 + 5 + 6);

// Rows between two fresh starts: the rotations' rounding grows by a few 1e-16 per row, so after
// 1024 rows the phasors stay within 1e-12 of the exact ones, far below what the sums need.
constexpr long long RangsParDepart = 1024;

// The frequency of a slot, radians per Julian millennium; the weak tier keeps quarter turns.
constexpr double Frequence(std::size_t i) noexcept {
    return i < NombreFortes ? LBR_Fortes[i]
                            : LBR_Faibles[i - NombreFortes] * (std::numbers::pi / 2);
}

struct Frequences {
    alignas(32) double F[NombreFrequences];
};
constexpr Frequences Table = [] {
    Frequences f{};
    for (std::size_t i = 0; i < NombreFrequences; ++i) f.F[i] = Frequence(i);
    return f;
}();

void Depart(Phaseurs& p) noexcept {
    const double tau = p.tau0 + static_cast<double>(p.rang) * p.pasTau;
    for (std::size_t i = 0; i < NombreFrequences; ++i) {
        const double a = Table.F[i] * tau;
        p.c[i] = std::cos(a);
        p.s[i] = std::sin(a);
    }
    p.prochainDepart = p.rang + RangsParDepart;
}

// The sums at tau from the phasors turned by F delta, slot group by slot group, each
// coordinate's coefficient by Horner's rule; four partial sums so the loops vectorise.
[[gnu::always_inline]] inline void Sommes(const Phaseurs& p, double tau, double delta,
                                          double (&x)[3]) noexcept {
    double sommes[3][4] = {};
    for (const SegmentVSOP& s : LBR_Segments) {
        const std::size_t n = s.fin - s.debut;
        const std::size_t base = s.faible ? NombreFortes + s.debut : s.debut;
        alignas(32) double cc[128], ss[128], P[128], Q[128];
        for (std::size_t j = 0; j < n; ++j) {
            const double f = Table.F[base + j] * delta;
            cc[j] = p.c[base + j] - f * p.s[base + j];
            ss[j] = p.s[base + j] + f * p.c[base + j];
        }
        const double* c = LBR_Coefficients + s.coefficients;
        for (int k = 0; k < 3; ++k) {
            const int K = s.K[k];
            if (K == 0) continue;
            for (std::size_t j = 0; j < n; ++j) {
                P[j] = c[j];
                Q[j] = c[n + j];
            }
            c += 2 * n;
            for (int a = 1; a < K; ++a, c += 2 * n)
                for (std::size_t j = 0; j < n; ++j) {
                    P[j] = P[j] * tau + c[j];
                    Q[j] = Q[j] * tau + c[n + j];
                }
            for (std::size_t j = 0; j < n; j += 4)
                for (std::size_t l = 0; l < 4; ++l)
                    sommes[k][l] += P[j + l] * cc[j + l] + Q[j + l] * ss[j + l];
        }
    }
    const double* constantes = LBR_Constantes;
    for (int k = 0; k < 3; ++k) {
        x[k] =
            Interne::AvecConstantes((sommes[k][0] + sommes[k][1]) + (sommes[k][2] + sommes[k][3]),
                                    constantes, NombreSeries[k], tau);
        constantes += NombreSeries[k];
    }
}

[[gnu::always_inline]] inline void Tourne(Phaseurs& p) noexcept {
    for (std::size_t i = 0; i < NombreFrequences; ++i) {
        const double c = p.c[i], s = p.s[i];
        p.c[i] = c * p.rc[i] - s * p.rs[i];
        p.s[i] = s * p.rc[i] + c * p.rs[i];
    }
}

// One row on the processor's widest path: the same code, compiled twice.
void RangGenerique(Phaseurs& p, double tau, double delta, double (&x)[3]) noexcept {
    Sommes(p, tau, delta, x);
    Tourne(p);
}
#ifdef ORVANEL_AVX2
__attribute__((target("avx2,fma"))) void RangAvx2(Phaseurs& p, double tau, double delta,
                                                  double (&x)[3]) noexcept {
    Interne::SommesPhaseursLBR({Table.F, p.c, p.s}, tau, delta, NombreSeries, x);
    for (std::size_t i = 0; i < NombreFrequences; i += 4) {
        const __m256d c = _mm256_load_pd(p.c + i), s = _mm256_load_pd(p.s + i);
        const __m256d rc = _mm256_load_pd(p.rc + i), rs = _mm256_load_pd(p.rs + i);
        _mm256_store_pd(p.c + i, _mm256_fmsub_pd(c, rc, _mm256_mul_pd(s, rs)));
        _mm256_store_pd(p.s + i, _mm256_fmadd_pd(s, rc, _mm256_mul_pd(c, rs)));
    }
}
#endif

}  // namespace

void DemarrePhaseurs(Phaseurs& p, double tau0, double pasTau) noexcept {
    p.tau0 = tau0;
    p.pasTau = pasTau;
    p.rang = 0;
    for (std::size_t i = 0; i < NombreFrequences; ++i) {
        const double a = Table.F[i] * pasTau;
        p.rc[i] = std::cos(a);
        p.rs[i] = std::sin(a);
    }
    Depart(p);
}

void PositionTerreSerie(Phaseurs& p, double tau, double& L, double& B, double& R) noexcept {
    if (p.rang >= p.prochainDepart) Depart(p);
    const double ideal = p.tau0 + static_cast<double>(p.rang) * p.pasTau;
    double x[3];
#ifdef ORVANEL_AVX2
    if (Vectoriel::Avx2Disponible())
        RangAvx2(p, tau, tau - ideal, x);
    else
#endif
        RangGenerique(p, tau, tau - ideal, x);
    ++p.rang;
    L = x[0] * 180.0 / std::numbers::pi;
    B = x[1] * 180.0 / std::numbers::pi;
    R = x[2];
}

}  // namespace VSOPEAR
