// The vector evaluation against the scalar reference, and the accuracy of its cosine.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <random>

#include "PosSoleil.h"
#include "VSOPEAR.h"
#include "VSOPEAR_data.h"
#include "Vectoriel.h"

namespace {

// 10000 instants spread from 1980 to 2250 (T from -0.2 to 2.5 centuries), not on a grid.
double Instant(int i) {
    return -0.2 + 2.7 * (i + 0.5 * std::sin(i * 12.9898)) / 10000.0;
}

#ifdef ORVANEL_AVX2
// Largest error of the four-lane cosine against the C library's over [-amplitude, amplitude].
__attribute__((target("avx2,fma"))) double ErreurCos4(double amplitude, int echantillons) {
    std::mt19937_64 alea(42);
    std::uniform_real_distribution<double> tirage(-amplitude, amplitude);
    double pire = 0.0;
    for (int i = 0; i < echantillons; i += 4) {
        alignas(32) double x[4], c[4];
        for (double& v : x) v = tirage(alea);
        _mm256_store_pd(c, Vectoriel::Cos4(_mm256_load_pd(x)));
        for (int j = 0; j < 4; ++j) pire = std::max(pire, std::fabs(c[j] - std::cos(x[j])));
    }
    return pire;
}
#endif

#ifdef ORVANEL_AVX2
// Largest error of the four-lane sine and cosine against the C library's.
__attribute__((target("avx2,fma"))) double ErreurSinCos4(double amplitude, int echantillons) {
    std::mt19937_64 alea(7);
    std::uniform_real_distribution<double> tirage(-amplitude, amplitude);
    double pire = 0.0;
    for (int i = 0; i < echantillons; i += 4) {
        alignas(32) double x[4], s[4], c[4];
        for (double& v : x) v = tirage(alea);
        __m256d sinus, cosinus;
        Vectoriel::SinCos4(_mm256_load_pd(x), sinus, cosinus);
        _mm256_store_pd(s, sinus);
        _mm256_store_pd(c, cosinus);
        for (int j = 0; j < 4; ++j)
            pire = std::max(
                {pire, std::fabs(s[j] - std::sin(x[j])), std::fabs(c[j] - std::cos(x[j]))});
    }
    return pire;
}
#endif

// One series from its pairs, in extended precision with the C library: the sum over its
// prefix of frequencies of P cos(F tau) + Q sin(F tau).
long double SommePaires(const double* F, const double* P, const double* Q, std::size_t n,
                        double tau) {
    long double somme = 0;
    for (std::size_t j = 0; j < n; ++j)
        somme += P[j] * std::cos(static_cast<long double>(F[j]) * tau) +
                 Q[j] * std::sin(static_cast<long double>(F[j]) * tau);
    return somme;
}

// The same series from its published terms.
long double SommeTermes(const double* A, const double* B, const double* C, std::size_t n,
                        double tau) {
    long double somme = 0;
    for (std::size_t i = 0; i < n; ++i)
        somme +=
            A[i] * std::cos(static_cast<long double>(B[i]) + static_cast<long double>(C[i]) * tau);
    return somme;
}

}  // namespace

TEST(VsopTable, PairsReproduceThePublishedTerms) {
    // The generator's regrouping, one sine and cosine per distinct frequency, gives each
    // series back term for term: no term lost, none given the wrong frequency.
    using namespace VSOPEAR;
    struct Serie {
        const char* nom;
        const double *A, *B, *C;
        std::size_t n;
        const double* F;
        const double *P, *Q;
        std::size_t m;
    };
#define SERIE(X, a)                                                                          \
    {                                                                                        \
#X #a, X##a##_A, X##a##_B, X##a##_C, std::size(X##a##_A), X##_F, X##a##_P, X##a##_Q, \
            std::size(X##a##_P)                                                              \
    }
    const Serie series[] = {SERIE(L, 0), SERIE(L, 1), SERIE(L, 2), SERIE(L, 3), SERIE(L, 4),
                            SERIE(L, 5), SERIE(B, 0), SERIE(B, 1), SERIE(B, 2), SERIE(B, 3),
                            SERIE(B, 4), SERIE(R, 0), SERIE(R, 1), SERIE(R, 2), SERIE(R, 3),
                            SERIE(R, 4), SERIE(R, 5)};
#undef SERIE
    for (const Serie& s : series) {
        SCOPED_TRACE(s.nom);
        for (const double tau : {-0.37, 0.0, 0.0123, 0.25, 1.7}) {
            const long double termes = SommeTermes(s.A, s.B, s.C, s.n, tau);
            const long double paires = SommePaires(s.F, s.P, s.Q, s.m, tau);
            // P and Q are rounded to doubles: a few units of 1e-16 of the amplitudes.
            EXPECT_NEAR(static_cast<double>(paires), static_cast<double>(termes),
                        1e-14 + 1e-15 * std::fabs(static_cast<double>(termes)))
                << tau;
        }
    }
}

TEST(Vectoriel, SineCosineAccuracy) {
#ifdef ORVANEL_AVX2
    if (!Vectoriel::Avx2Disponible()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    struct Cas {
        double amplitude, tolerance;
    };
    for (const auto& c : {Cas{1.0, 2.3e-16}, Cas{4.0, 2.3e-16}, Cas{1e3, 3e-16}, Cas{1e6, 4e-16}}) {
        SCOPED_TRACE(c.amplitude);
        EXPECT_LE(ErreurSinCos4(c.amplitude, 200000), c.tolerance);
    }
#else
    GTEST_SKIP() << "no vector path on this architecture";
#endif
}

TEST(Vectoriel, CosineAccuracy) {
#ifdef ORVANEL_AVX2
    if (!Vectoriel::Avx2Disponible())
        GTEST_SKIP() << "this processor has no AVX2 and FMA: the vector path is unused";
    // Arguments of the series run to about 3e5 radians over the publishers' check dates.
    struct Cas {
        double amplitude, tolerance;
    };
    for (const auto& c : {Cas{4.0, 2.3e-16}, Cas{1e3, 3e-16}, Cas{1e6, 4e-16}}) {
        SCOPED_TRACE(c.amplitude);
        EXPECT_LE(ErreurCos4(c.amplitude, 200000), c.tolerance);
    }
#else
    GTEST_SKIP() << "no vector path on this architecture";
#endif
}

TEST(VSOPEAR, VectorAgreesWithScalar) {
    double pireL = 0, pireB = 0, pireR = 0;
    for (int i = 0; i < 10000; ++i) {
        const double T = Instant(i);
        pireL = std::max(
            pireL, std::fabs(VSOPEAR::LongitudeTerre(T) - VSOPEAR::Scalaire::LongitudeTerre(T)));
        pireB = std::max(
            pireB, std::fabs(VSOPEAR::LatitudeTerre(T) - VSOPEAR::Scalaire::LatitudeTerre(T)));
        pireR =
            std::max(pireR, std::fabs(VSOPEAR::RayonTerre(T) - VSOPEAR::Scalaire::RayonTerre(T)));
    }
    EXPECT_LE(pireL, 1e-10);
    EXPECT_LE(pireB, 1e-10);
    EXPECT_LE(pireR, 1e-13);
    char mesure[96];
    std::snprintf(mesure, sizeof mesure, "%.3g deg, %.3g deg, %.3g au", pireL, pireB, pireR);
    RecordProperty("worst_differences_L_B_R", mesure);
}

TEST(CalculPosition, VectorAgreesWithScalar) {
    for (int i = 0; i < 10000; i += 7) {
        // From 1980-01-01 on, every 9.86 days or so, at varied sites and hours.
        const double jour = 1 + i * 9.86;
        const double longitude = -180 + (i % 361), latitude = -89 + (i % 179);
        double a[7], b[7];
        PosSoleil::CalculPosition(1980, 1, jour, i % 24, i % 60, 0, longitude, latitude, 0, 64.184,
                                  a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        PosSoleil::Scalaire::CalculPosition(1980, 1, jour, i % 24, i % 60, 0, longitude, latitude,
                                            0, 64.184, b[0], b[1], b[2], b[3], b[4], b[5], b[6]);
        SCOPED_TRACE(i);
        EXPECT_NEAR(a[0], b[0], 1e-10);
        EXPECT_NEAR(a[1], b[1], 1e-12);
        for (int k = 2; k < 6; ++k) EXPECT_NEAR(a[k], b[k], 1e-9) << k;
        EXPECT_NEAR(a[6], b[6], 1e-10);
    }
}

TEST(Nutation, VectorAgreesWithScalar) {
    using namespace PosSoleil;
    for (double T = -0.5; T <= 2.5; T += 0.00173) {
        const double D = ElongationMoyenneLune(T), M = AnomalieMoyenneSoleil(T),
                     Mp = AnomalieMoyenneLune(T);
        const double F = ArgumentLatitudeLune(T), Om = LongitudeNoeudLune(T);
        double a = 0, b = 0, c = 0, d = 0;
        Nutation(T, Mp, M, F, D, Om, a, b);
        Scalaire::Nutation(T, Mp, M, F, D, Om, c, d);
        ASSERT_NEAR(a, c, 1e-13) << T;
        ASSERT_NEAR(b, d, 1e-13) << T;
    }
}
