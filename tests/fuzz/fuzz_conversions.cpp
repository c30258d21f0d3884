// Any text through the readers of the input fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    int entier = -1;
    if (Conversions::LitEntier(texte, entier) && (entier < 0 || entier > 999999999)) std::abort();
    double nombre = 0;
    Conversions::LitNombre(texte, nombre);
    Conversions::LitNombre(texte, nombre, ",");
    // The message quotes the text whole: two quotes and 39 bytes of UTF-8 around it.
    if (Conversions::MessageEntier(texte).size() != taille + 41) std::abort();
    return 0;
}
