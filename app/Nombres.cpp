// The texts of numbers of the command-line program.
#include <charconv>
#include <string>

#include "Cli.h"

namespace Cli {

std::string Nombre(double x) {
    char tampon[32];
    return std::string(tampon, EcritNombre(tampon, x));
}

void AjouteNombre(std::string& texte, double x) {
    char tampon[32];
    texte.append(tampon, EcritNombre(tampon, x));
}

char* EcritNombre(char* p, double x) noexcept {
    // The shortest text that reads back as x: at most 24 characters.
    return std::to_chars(p, p + 32, x).ptr;
}

}  // namespace Cli
