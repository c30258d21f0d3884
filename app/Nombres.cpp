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

// Eight digits of v < 10^8 as the eight bytes of a word, the first digit in the lowest byte:
// its two halves of four digits side by side in 32-bit lanes, each split into two pairs in
// 16-bit lanes, each pair into tens and units in bytes. Each division is a multiplication by a
// rounded reciprocal that is exact over its lane's range (x 10486 >> 20 is x / 100 for x <
// 43699, x 103 >> 10 is x / 10 for x < 179), and no product reaches the lane above.
std::uint64_t Huit(std::uint32_t v) noexcept {
    const std::uint64_t quatres = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
    const std::uint64_t centaines = ((quatres * 10486) >> 20) & 0x0000007F'0000007FULL;
    const std::uint64_t paires = centaines | ((quatres - 100 * centaines) << 16);
    const std::uint64_t dizaines = ((paires * 103) >> 10) & 0x000F000F'000F000FULL;
    const std::uint64_t chiffres = dizaines | ((paires - 10 * dizaines) << 8);
    return chiffres + 0x30303030'30303030ULL;
}

// Stores the first m <= 8 digits of a word of Huit at p, and the 8 - m bytes after them, which
// the next word or the caller's room takes.
char* EcritMot(char* p, std::uint64_t mot, int m) noexcept {
    mot >>= 8 * (8 - m);  // the leading zeros out
    if constexpr (std::endian::native == std::endian::big) mot = __builtin_bswap64(mot);
    std::memcpy(p, &mot, 8);
    return p + m;
}

// The n decimal digits of s (1 <= n <= 20) from p on, past them: groups of eight written left to
// right, each store over the tail of the one before, so no byte is read back from memory. Up to
// seven bytes after the digits are written too.
char* Chiffres(char* p, std::uint64_t s, int n) noexcept {
    constexpr std::uint64_t Groupe = 10'000ULL * 10'000ULL;  // eight digits
    if (n <= 8) return EcritMot(p, Huit(static_cast<std::uint32_t>(s)), n);
    const auto bas = static_cast<std::uint32_t>(s % Groupe);
    s /= Groupe;
    if (n <= 16) {
        p = EcritMot(p, Huit(static_cast<std::uint32_t>(s)), n - 8);
    } else {
        p = EcritMot(p, Huit(static_cast<std::uint32_t>(s / Groupe)), n - 16);
        p = EcritMot(p, Huit(static_cast<std::uint32_t>(s % Groupe)), 8);
    }
    return EcritMot(p, Huit(bas), 8);
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
        if (e == 0) return Chiffres(p, decimal.significand, n);  // an integer
        if (n + e > 0) {  // digits on both sides of the point: the integer's moved before it
            char* fin = Chiffres(p + 1, decimal.significand, n);
            for (int k = 0; k < n + e; ++k) p[k] = p[k + 1];
            p[n + e] = '.';
            return fin;
        }
        p[0] = '0';  // 0.000ddd
        p[1] = '.';
        std::memset(p + 2, '0', static_cast<std::size_t>(-(n + e)));
        return Chiffres(p + 2 - (n + e), decimal.significand, n);
    }
    // d.ddde+XX: the digits one place on, the first moved before the point.
    Chiffres(p + 1, decimal.significand, n);
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
