// Any double and any number of decimals through the sexagesimal and fixed-point texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cstdlib>

#include "PosSoleil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    if (taille < sizeof(double) + sizeof(int)) return 0;
    double angle;
    int decimals;
    std::memcpy(&angle, donnees, sizeof angle);
    std::memcpy(&decimals, donnees + sizeof angle, sizeof decimals);
    const std::string dms = PosSoleil::DegVersDMS(angle, decimals, ",");
    const std::string hms = PosSoleil::DegVersHMS(angle, decimals);
    const std::string fixe = PosSoleil::TexteFixe(angle, decimals, decimals / 3);
    // Every text is bounded: at most 309 integer digits, 18 decimals and the marks.
    if (dms.size() > 400 || hms.size() > 400 || fixe.size() > 400) std::abort();
    if (angle == 0 && dms != "000000") std::abort();
    return 0;
}
