// Usage: vsop87_gen VSOP87D.ear OUTPUT.h SHA256
// Regenerates the engine's VSOP87 table from the published file; SHA256 is the file's digest
// for the table's heading (the build's `vsop87_table` target computes it and runs this).
#include "Vsop87Gen.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: vsop87_gen VSOP87D.ear OUTPUT.h SHA256\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "vsop87_gen: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::ostringstream texte;
    texte << in.rdbuf();
    try {
        const std::string table = Vsop87Gen::GenererTable(
            texte.str(), std::filesystem::path(argv[1]).filename().string(), argv[3]);
        std::ofstream out(argv[2], std::ios::binary);
        out << table;
        if (!out) {
            std::cerr << "vsop87_gen: cannot write " << argv[2] << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "vsop87_gen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
