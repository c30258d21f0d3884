#include "Vsop87Gen.h"

#include <array>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace Vsop87Gen {

namespace {

constexpr std::array<std::uint32_t, 64> K = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

struct Serie {
    char variable;  // 'L', 'B' or 'R'
    int puissance;
    std::vector<std::string> A, B, C;
};

std::string Trim(const std::string& s) {
    const auto debut = s.find_first_not_of(' ');
    if (debut == std::string::npos) return {};
    return s.substr(debut, s.find_last_not_of(' ') - debut + 1);
}

int EntierApres(const std::string& ligne, const std::string& repere) {
    const auto pos = ligne.find(repere);
    if (pos == std::string::npos) throw std::runtime_error("header line without '" + repere + "'");
    return std::stoi(ligne.substr(pos + repere.size()));
}

void EcrireTableau(std::ostringstream& out, const std::string& nom, const std::vector<std::string>& valeurs) {
    out << "constexpr double " << nom << "[] = {\n";
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        out << (i % 4 == 0 ? "    " : " ") << valeurs[i] << ',';
        if (i % 4 == 3 || i + 1 == valeurs.size()) out << '\n';
    }
    out << "};\n";
}

}  // namespace

std::string Sha256Hex(const std::string& octets) {
    std::array<std::uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string m = octets;
    const std::uint64_t bits = static_cast<std::uint64_t>(octets.size()) * 8;
    m.push_back(static_cast<char>(0x80));
    while (m.size() % 64 != 56) m.push_back('\0');
    for (int i = 7; i >= 0; --i) m.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));

    for (std::size_t bloc = 0; bloc < m.size(); bloc += 64) {
        std::array<std::uint32_t, 64> w{};
        for (int i = 0; i < 16; ++i) {
            for (int j = 0; j < 4; ++j)
                w[i] = (w[i] << 8) | static_cast<unsigned char>(m[bloc + 4 * i + j]);
        }
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        auto v = h;
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t S1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
            const std::uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + S1 + ch + K[i] + w[i];
            const std::uint32_t S0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
            const std::uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            const std::uint32_t t2 = S0 + maj;
            v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (int i = 0; i < 8; ++i) h[i] += v[i];
    }
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (const auto mot : h)
        for (int i = 28; i >= 0; i -= 4) out.push_back(hex[(mot >> i) & 0xf]);
    return out;
}

std::string GenererTable(const std::string& published, const std::string& fileName) {
    std::vector<Serie> series;
    int attendus = 0;
    std::istringstream in(published);
    std::string ligne;
    while (std::getline(in, ligne)) {
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        if (Trim(ligne).empty()) continue;
        if (ligne.find("VSOP87") != std::string::npos) {
            if (attendus != 0) throw std::runtime_error("a series ends before its announced count");
            const int variable = EntierApres(ligne, "VARIABLE ");
            if (variable < 1 || variable > 3) throw std::runtime_error("unknown variable");
            Serie s;
            s.variable = "LBR"[variable - 1];
            s.puissance = EntierApres(ligne, "*T**");
            attendus = EntierApres(ligne, "*T**" + std::to_string(s.puissance));
            series.push_back(std::move(s));
            continue;
        }
        // Fixed columns of a term line: A in 80-97, B in 98-111, C in 112-131 (1-based).
        if (series.empty() || attendus == 0) throw std::runtime_error("term line outside a series");
        if (ligne.size() < 131) throw std::runtime_error("short term line: " + ligne);
        series.back().A.push_back(Trim(ligne.substr(79, 18)));
        series.back().B.push_back(Trim(ligne.substr(97, 14)));
        series.back().C.push_back(Trim(ligne.substr(111, 20)));
        --attendus;
    }
    if (attendus != 0) throw std::runtime_error("the file ends before the last series is complete");

    std::ostringstream out;
    out << "// Generated by tools/vsop87_gen from " << fileName << " (SHA-256 " << Sha256Hex(published)
        << "). Do not edit.\n"
        << "// VSOP87 version D, Earth: heliocentric ecliptic coordinates referred to the mean\n"
        << "// dynamical ecliptic and equinox of date. A term contributes A cos(B + C tau), tau in\n"
        << "// Julian millennia from J2000.0; A in radians (L, B) or au (R), B in radians, C in radians\n"
        << "// per millennium. Unsized arrays: a dropped line fails its count instead of reading zero.\n"
        << "#pragma once\n\n#include <iterator>\n\nnamespace VSOPEAR {\nnamespace {\n";
    std::size_t total = 0;
    for (const auto& s : series) {
        std::string nom(1, s.variable);
        nom += std::to_string(s.puissance);
        out << "\n// " << nom << ": " << s.A.size() << " terms\n";
        EcrireTableau(out, nom + "_A", s.A);
        EcrireTableau(out, nom + "_B", s.B);
        EcrireTableau(out, nom + "_C", s.C);
        out << "static_assert(std::size(" << nom << "_A) == " << s.A.size() << " && std::size(" << nom
            << "_B) == " << s.A.size() << " && std::size(" << nom << "_C) == " << s.A.size() << ");\n";
        total += s.A.size();
    }
    out << "\nconstexpr int NombreTotalTermes = " << total << ";\n";
    out << "\n}  // namespace\n}  // namespace VSOPEAR\n";
    return out.str();
}

}  // namespace Vsop87Gen
