// Any bytes as the CSV input of `position --input`: rows are written whole, one per line of
// input that holds one, or the input is refused with a message; nothing else escapes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Cli.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    std::istringstream entree(std::string(reinterpret_cast<const char*>(donnees), taille));
    std::ostringstream sortie;
    Cli::Reglages r;
    r.format = Cli::Format::Csv;
    try {
        Cli::EcritLot(sortie, entree, r, 1, false);
    } catch (const Cli::ErreurDonnees& e) {
        if (e.message.empty()) std::abort();
    } catch (const Cli::ErreurUsage& e) {
        if (e.message.empty()) std::abort();
    }
    // Whole lines only: what was written ends with its line end.
    const std::string texte = sortie.str();
    if (!texte.empty() && texte.back() != '\n') std::abort();
    return 0;
}
