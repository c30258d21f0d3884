// Any text as an ISO 8601 instant: refused, or a finite instant whose calendar day is a real
// one, and whose UTC text reads back as the same millisecond.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Cli.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    const auto instant = Cli::AnalyseInstant(texte);
    if (!instant) return 0;
    if (!std::isfinite(instant->t)) std::abort();
    if (instant->mois < 1 || instant->mois > 12 || instant->jour < 1 || instant->jour > 31)
        std::abort();
    // Within the years that four digits write, the UTC text is the same instant.
    if (instant->t < PosSoleil::EncodeDateValeur(1, 1, 1, 0, 0, 0) ||
        instant->t >= PosSoleil::EncodeDateValeur(10000, 1, 1, 0, 0, 0))
        return 0;
    const auto relu = Cli::AnalyseInstant(Cli::TexteIso(instant->t));
    if (!relu || Cli::MsUnix(relu->t) != Cli::MsUnix(instant->t)) std::abort();
    return 0;
}
