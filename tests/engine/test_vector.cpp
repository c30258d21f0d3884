// The vector evaluation against the scalar reference, and the accuracy of its cosine.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "PosSoleil.h"
#include "VSOPEAR.h"
#include "VSOPEAR_data.h"
#include "Vectoriel.h"

namespace {

// The comparisons of the two paths mean something only where the vector path runs.
#define SAUTE_SANS_VECTORIEL()             \
    if (!VSOPEAR::EvaluationVectorielle()) \
    GTEST_SKIP() << "no AVX2 and FMA here: the vector path is the scalar one, nothing to compare"

// 10000 instants spread from 1980 to 2250 (T from -0.2 to 2.5 centuries), not on a grid.
double Instant(int i) {
    return -0.2 + 2.7 * (i + 0.5 * std::sin(i * 12.9898)) / 10000.0;
}

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

#ifdef ORVANEL_AVX2
// Largest error of the eight-lane single-precision sine and cosine against the C library's,
// for arguments up to the given number of quarter turns.
__attribute__((target("avx2,fma"))) double ErreurSinCos8(double quarts, int echantillons) {
    std::mt19937_64 alea(11);
    std::uniform_real_distribution<double> tirage(-quarts, quarts);
    double pire = 0.0;
    for (int i = 0; i < echantillons; i += 8) {
        alignas(32) double q[8];
        alignas(32) float s[8], c[8];
        for (double& v : q) v = tirage(alea);
        __m256 sinus, cosinus;
        Vectoriel::SinCos8(q, _mm256_set1_pd(1.0), sinus, cosinus);
        _mm256_store_ps(s, sinus);
        _mm256_store_ps(c, cosinus);
        for (int j = 0; j < 8; ++j) {
            const long double x = q[j] * (std::numbers::pi_v<long double> / 2);
            pire = std::max({pire, static_cast<double>(std::fabs(s[j] - std::sin(x))),
                             static_cast<double>(std::fabs(c[j] - std::cos(x)))});
        }
    }
    return pire;
}
#endif

}  // namespace

TEST(VsopTable, EveryPairGivesBackItsPublishedTerm) {
    // Each form regroups the published terms by frequency into the pairs P = A cos B,
    // Q = -A sin B of its segments. From every stored pair and its place (segment, coordinate,
    // power, lane) the term comes back: A = |(P, Q)|, B = atan2(-Q, P), C = the lane's
    // frequency, to the published digits (eleven decimals). Every published term comes back
    // exactly once in each form, and the constant terms are the forms' constants. The weak
    // tier reads the same pairs rounded to floats.
    using namespace VSOPEAR;
    struct Serie {
        char variable;
        int puissance;
        const double *A, *B, *C;
        std::size_t n;
    };
#define SERIE(X, a)                                                 \
    Serie {                                                         \
#X[0], a, X##a##_A, X##a##_B, X##a##_C, std::size(X##a##_A) \
    }
    const Serie publiees[] = {SERIE(L, 0), SERIE(L, 1), SERIE(L, 2), SERIE(L, 3), SERIE(L, 4),
                              SERIE(L, 5), SERIE(B, 0), SERIE(B, 1), SERIE(B, 2), SERIE(B, 3),
                              SERIE(B, 4), SERIE(R, 0), SERIE(R, 1), SERIE(R, 2), SERIE(R, 3),
                              SERIE(R, 4), SERIE(R, 5)};
#undef SERIE
    struct Forme {
        const char* variables;
        const double *fortes, *faibles, *coefficients;
        const float* simples;
        std::size_t nCoefficients;
        const SegmentVSOP* segments;
        std::size_t nSegments;
        const double* constantes;
    };
#define FORME(X)                                                                                 \
    Forme {                                                                                      \
#X, X##_Fortes, X##_Faibles, X##_Coefficients, X##_Simples, std::size(X##_Coefficients), \
            X##_Segments, std::size(X##_Segments), X##_Constantes                                \
    }
    const Forme formes[] = {FORME(L), FORME(B), FORME(R), FORME(LBR)};
#undef FORME
    const long double demiTour = std::numbers::pi_v<long double>;
    for (const Forme& f : formes) {
        SCOPED_TRACE(f.variables);
        const std::string variables = f.variables;
        std::vector<std::vector<int>> retrouves;  // per published series, per term
        for (const Serie& s : publiees) retrouves.emplace_back(s.n, 0);
        for (std::size_t g = 0; g < f.nSegments; ++g) {
            const SegmentVSOP& seg = f.segments[g];
            const std::size_t n = seg.fin - seg.debut;
            const double* paire = f.coefficients + seg.coefficients;
            for (std::size_t c = 0; c < variables.size(); ++c)
                for (int a = seg.K[c] - 1; a >= 0; --a, paire += 2 * n) {
                    const auto s = static_cast<std::size_t>(
                        std::find_if(std::begin(publiees), std::end(publiees),
                                     [&](const Serie& p) {
                                         return p.variable == variables[c] && p.puissance == a;
                                     }) -
                        std::begin(publiees));
                    ASSERT_LT(s, std::size(publiees));
                    for (std::size_t j = 0; j < n; ++j) {
                        const double P = paire[j], Q = paire[n + j];
                        if (P == 0 && Q == 0) continue;  // padding, or no term of this series
                        const long double C = seg.faible ? f.faibles[seg.debut + j] * (demiTour / 2)
                                                         : f.fortes[seg.debut + j];
                        const Serie& p = publiees[s];
                        std::size_t t = 0;
                        while (t < p.n && std::fabs(p.C[t] - C) > 5e-16L * std::fabs(C)) ++t;
                        ASSERT_LT(t, p.n) << variables[c] << a << " has no term at " << double(C);
                        ++retrouves[s][t];
                        const long double A = std::hypot(static_cast<long double>(P), Q);
                        long double B = std::atan2(-static_cast<long double>(Q), P);
                        if (B < 0) B += 2 * demiTour;
                        EXPECT_NEAR(double(A), p.A[t], 5e-12) << variables[c] << a << " term " << t;
                        EXPECT_NEAR(double(B), p.B[t], 5e-12) << variables[c] << a << " term " << t;
                    }
                }
        }
        // The weak tier's products use the pairs rounded to floats, and nothing else.
        for (std::size_t i = 0; i < f.nCoefficients; ++i)
            ASSERT_EQ(f.simples[i], static_cast<float>(f.coefficients[i])) << i;
        std::size_t k = 0;  // the form's constants, series by series
        for (std::size_t s = 0; s < std::size(publiees); ++s) {
            const Serie& p = publiees[s];
            if (variables.find(p.variable) == std::string::npos) continue;
            long double constante = 0;
            for (std::size_t t = 0; t < p.n; ++t) {
                if (p.C[t] == 0) {
                    constante += p.A[t] * std::cos(static_cast<long double>(p.B[t]));
                    continue;
                }
                EXPECT_EQ(retrouves[s][t], 1) << p.variable << p.puissance << " term " << t;
            }
            EXPECT_NEAR(f.constantes[k], double(constante), 1e-16 * std::fabs(double(constante)))
                << p.variable << p.puissance;
            ++k;
        }
    }
}

TEST(Vectoriel, SingleSineCosineAccuracy) {
#ifdef ORVANEL_AVX2
    if (!Vectoriel::Avx2Disponible()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    // Single precision: the weak terms take it, an error about 1e-7 of their amplitude (the
    // rounding of u and of the results to floats, and the polynomials).
    struct Cas {
        double quarts, tolerance;
    };
    for (const auto& c : {Cas{1.0, 1.3e-7}, Cas{1e3, 1.3e-7}, Cas{6.4e5, 1.3e-7}}) {
        SCOPED_TRACE(c.quarts);
        EXPECT_LE(ErreurSinCos8(c.quarts, 200000), c.tolerance);
    }
#else
    GTEST_SKIP() << "no vector path on this architecture";
#endif
}

TEST(Vectoriel, SineCosineAccuracy) {
#ifdef ORVANEL_AVX2
    if (!Vectoriel::Avx2Disponible()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    // Arguments of the series run to about 3e5 radians over the publishers' check dates.
    for (const double amplitude : {1.0, 4.0, 1e3, 1e6}) {
        SCOPED_TRACE(amplitude);
        EXPECT_LE(ErreurSinCos4(amplitude, 200000), 6e-14);
    }
#else
    GTEST_SKIP() << "no vector path on this architecture";
#endif
}

TEST(VSOPEAR, VectorAgreesWithScalar) {
    SAUTE_SANS_VECTORIEL();
    // Each coordinate alone, and the three together as the position computes them.
    double pireL = 0, pireB = 0, pireR = 0;
    for (int i = 0; i < 10000; ++i) {
        const double T = Instant(i);
        const double l = VSOPEAR::Scalaire::LongitudeTerre(T);
        const double b = VSOPEAR::Scalaire::LatitudeTerre(T);
        const double r = VSOPEAR::Scalaire::RayonTerre(T);
        double L = 0, B = 0, R = 0;
        VSOPEAR::PositionTerre(T, L, B, R);
        pireL = std::max({pireL, std::fabs(VSOPEAR::LongitudeTerre(T) - l), std::fabs(L - l)});
        pireB = std::max({pireB, std::fabs(VSOPEAR::LatitudeTerre(T) - b), std::fabs(B - b)});
        pireR = std::max({pireR, std::fabs(VSOPEAR::RayonTerre(T) - r), std::fabs(R - r)});
    }
    EXPECT_LE(pireL, 1e-10);
    EXPECT_LE(pireB, 1e-10);
    EXPECT_LE(pireR, 1e-13);
    char mesure[96];
    std::snprintf(mesure, sizeof mesure, "%.3g deg, %.3g deg, %.3g au", pireL, pireB, pireR);
    RecordProperty("worst_differences_L_B_R", mesure);
    std::printf("worst differences: %s\n", mesure);
}

TEST(CalculPosition, VectorAgreesWithScalar) {
    SAUTE_SANS_VECTORIEL();
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
    SAUTE_SANS_VECTORIEL();
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
