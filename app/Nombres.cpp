// The texts of numbers of the command-line program.
#include <fmt/format.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "Cli.h"

namespace Cli {

namespace {

constexpr char Paires[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Eight digits of v < 10^8, ending at fin, all in one word: its two halves of four digits side
// by side in 32-bit lanes, each split into two pairs in 16-bit lanes, each pair into tens and
// units in bytes, the first digit in the lowest byte. Each division is a multiplication by a
// rounded reciprocal that is exact over its lane's range (x 10486 >> 20 is x / 100 for x <
// 43699, x 103 >> 10 is x / 10 for x < 179), and no product reaches the lane above.
void Huit(char* fin, std::uint32_t v) noexcept {
    const std::uint64_t quatres = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
    const std::uint64_t centaines = ((quatres * 10486) >> 20) & 0x0000007F'0000007FULL;
    const std::uint64_t paires = centaines | ((quatres - 100 * centaines) << 16);
    const std::uint64_t dizaines = ((paires * 103) >> 10) & 0x000F000F'000F000FULL;
    const std::uint64_t chiffres = dizaines | ((paires - 10 * dizaines) << 8);
    std::uint64_t ascii = chiffres + 0x30303030'30303030ULL;
    if constexpr (std::endian::native == std::endian::big) ascii = __builtin_bswap64(ascii);
    std::memcpy(fin - 8, &ascii, 8);
}

// The n decimal digits of s (n <= 20), ending at fin: three groups of eight, each on its own.
void Chiffres(char* fin, std::uint64_t s, int n) noexcept {
    constexpr std::uint64_t Groupe = 10'000ULL * 10'000ULL;  // eight digits
    char tampon[24];
    char* f = tampon + 24;
    Huit(f, static_cast<std::uint32_t>(s % Groupe));
    s /= Groupe;
    Huit(f - 8, static_cast<std::uint32_t>(s % Groupe));
    Huit(f - 16, static_cast<std::uint32_t>(s / Groupe));
    std::memcpy(fin - n, f - n, static_cast<std::size_t>(n));
}

// The number of decimal digits of s: from its bit length (log10 2 = 1233 / 4096), then one
// comparison.
int NombreChiffres(std::uint64_t s) noexcept {
    static constexpr auto Puissances = [] {
        std::array<std::uint64_t, 20> p{1};
        for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10;
        return p;
    }();
    const int approche = ((64 - std::countl_zero(s | 1)) * 1233) >> 12;
    return approche + (s >= Puissances[static_cast<std::size_t>(approche)]);
}

}  // namespace

std::string Nombre(double x) {
    char tampon[32];
    return std::string(tampon, EcritNombre(tampon, x));
}

void AjouteNombre(std::string& texte, double x) {
    char tampon[32];
    texte.append(tampon, EcritNombre(tampon, x));
}

char* EcritNombre(char* p, double x) noexcept {
    // The shortest digits that read back as x, from fmt's Dragonbox, laid out as std::to_chars
    // lays them out: fixed or scientific, whichever is shorter, fixed on a tie. Where the fixed
    // text would need zeros after the digits (x a multiple of ten), std::to_chars writes x's
    // exact digits instead, and is left to do so, as it is for zero, infinities and NaN.
    if (!std::isfinite(x) || x == 0) return std::to_chars(p, p + 32, x).ptr;
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(x));
    const int e = decimal.exponent;  // |x| = significand 10^e
    if (e > 0) return std::to_chars(p, p + 32, x).ptr;
    const int n = NombreChiffres(decimal.significand);
    const int exposant = e + n - 1, absolu = exposant < 0 ? -exposant : exposant;
    const int scientifique = n + (n > 1) + 2 + (absolu >= 100 ? 3 : 2);
    const int fixe = e == 0 ? n : (n + e > 0 ? n + 1 : 2 - e);
    if (std::signbit(x)) *p++ = '-';
    if (fixe <= scientifique) {
        if (e == 0) {  // an integer
            Chiffres(p + n, decimal.significand, n);
            return p + n;
        }
        if (n + e > 0) {  // digits on both sides of the point
            Chiffres(p + n + 1, decimal.significand, n);
            std::memmove(p, p + 1, static_cast<std::size_t>(n + e));
            p[n + e] = '.';
            return p + n + 1;
        }
        p[0] = '0';  // 0.000ddd
        p[1] = '.';
        std::memset(p + 2, '0', static_cast<std::size_t>(-(n + e)));
        Chiffres(p + 2 - e, decimal.significand, n);
        return p + 2 - e;
    }
    // d.ddde+XX: the digits one place on, the first moved before the point.
    Chiffres(p + n + 1, decimal.significand, n);
    p[0] = p[1];
    char* q = p + 1;
    if (n > 1) {
        *q = '.';
        q += n;
    }
    *q++ = 'e';
    *q++ = exposant < 0 ? '-' : '+';
    if (absolu >= 100) *q++ = static_cast<char>('0' + absolu / 100);
    std::memcpy(q, Paires + 2 * (absolu % 100), 2);
    return q + 2;
}

}  // namespace Cli
