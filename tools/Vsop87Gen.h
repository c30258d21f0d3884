// Turns the published VSOP87D Earth file into the C++ table that the engine compiles.
#pragma once

#include <string>

namespace Vsop87Gen {

// SHA-256 of a byte string, as 64 lowercase hexadecimal digits.
std::string Sha256Hex(const std::string& octets);

// Reads the published file's text and returns the whole generated C++ header. The numbers
// are copied as published, character for character, never re-printed through a double.
// Throws std::runtime_error on a malformed file (a header that announces more or fewer
// terms than follow it, a short line, an unexpected variable or power).
std::string GenererTable(const std::string& published, const std::string& fileName);

}  // namespace Vsop87Gen
