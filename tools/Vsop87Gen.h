// Turns the published VSOP87D Earth file into the C++ table that the engine compiles.
#pragma once

#include <string>

namespace Vsop87Gen {

// Reads the published file's text and returns the whole generated C++ header, headed with
// the file's name and its SHA-256 (64 hexadecimal digits, computed by the caller). The numbers
// are copied as published, character for character, never re-printed through a double.
// Throws std::runtime_error on a malformed file (a header that announces more or fewer
// terms than follow it, a short line, an unexpected variable or power).
std::string GenererTable(const std::string& published, const std::string& fileName,
                         const std::string& sha256);

}  // namespace Vsop87Gen
