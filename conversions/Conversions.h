// Text to number conversions of the input fields, with the run-time library's strictness:
// what they refuse is reported to the user with the field's text, never guessed at.
#pragma once

#include <string>
#include <string_view>

namespace Conversions {

// A decimal integer: blanks before the first digit are skipped, then one digit or more must
// run to the end of the text. "  7", "007" and "12" are read; "", "   ", "4 ", "1 2", "+5"
// are refused. At most 9 digits after the leading zeros, so the value fits an int.
bool LitEntier(std::string_view texte, int& valeur) noexcept;

// A decimal number: blanks before and after are skipped, then an optional sign, at least one
// digit, an optional separator with digits, an optional exponent. A blank between the sign
// and the digits or between two digits is refused: "+5 " is 5, "+ 5" is refused.
bool LitNombre(std::string_view texte, double& valeur, std::string_view separateur = ".") noexcept;

// The messages of a refused conversion, %s being the text as it stood.
std::string MessageEntier(std::string_view texte);
std::string MessageNombre(std::string_view texte);

}  // namespace Conversions
