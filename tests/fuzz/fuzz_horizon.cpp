// Any bytes as a skyline file: a refusal names its reason, or the skyline holds two points or
// more within the allowed altitudes, and its profile is finite and within them everywhere.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "PosSoleil.h"
#include "Tableau.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    std::istringstream entree(std::string(reinterpret_cast<const char*>(donnees), taille));
    try {
        const auto points = Tableau::LitHorizon(entree, "h.csv");
        if (points.size() < 2) std::abort();
        for (const auto& p : points)
            if (!std::isfinite(p.azimut) || !(p.hauteur >= PosSoleil::HorizonMin) ||
                !(p.hauteur <= PosSoleil::HorizonMax))
                std::abort();
        const PosSoleil::Horizon horizon(points);
        for (double a = -10; a <= 370; a += 7.3) {
            const double p = horizon.Profil(a), c = horizon.HauteurCentre(a);
            if (!(p >= PosSoleil::HorizonMin && p <= PosSoleil::HorizonMax)) std::abort();
            if (!(c >= horizon.Min() - 1e-9 && c <= horizon.Max() + 1e-9)) std::abort();
        }
    } catch (const std::invalid_argument& e) {
        // Every refusal names the file.
        if (std::string(e.what()).find("h.csv") == std::string::npos) std::abort();
    }
    return 0;
}
