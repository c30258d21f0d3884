// The rule that ends a zone's file, read by the date library's POSIX TZ reader.
#include "RegleFuseau.h"

#include <date/ptz.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace Legal {

namespace {

std::uint32_t Entier32(const std::string& octets, std::size_t ou) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < 4; ++i) n = n << 8 | static_cast<unsigned char>(octets[ou + i]);
    return n;
}

// The POSIX TZ string that ends a TZif file of version 2 or later, empty when there is none.
// The file: a header and a block of 32-bit data, a header and a block of 64-bit data, then the
// rule between two newlines (RFC 8536).
std::string RegleDuFichier(const std::string& fuseau) {
    const char* racine = std::getenv("TZDIR");
    std::ifstream fichier(
        std::string(racine && *racine ? racine : "/usr/share/zoneinfo") + "/" + fuseau,
        std::ios::binary);
    const std::string octets((std::istreambuf_iterator<char>(fichier)),
                             std::istreambuf_iterator<char>());
    constexpr std::size_t EnTete = 44;
    if (octets.size() < EnTete || octets.compare(0, 4, "TZif") != 0 || octets[4] < '2') return {};
    const auto donnees = [&](std::size_t ou, std::size_t largeur) {
        const std::uint32_t isut = Entier32(octets, ou + 20), isstd = Entier32(octets, ou + 24),
                            sauts = Entier32(octets, ou + 28), temps = Entier32(octets, ou + 32),
                            types = Entier32(octets, ou + 36), abbrevs = Entier32(octets, ou + 40);
        return std::size_t{temps} * (largeur + 1) + std::size_t{types} * 6 + abbrevs +
               std::size_t{sauts} * (largeur + 4) + isstd + isut;
    };
    const std::size_t second = EnTete + donnees(0, 4);
    if (octets.size() < second + EnTete) return {};
    const std::size_t regle = second + EnTete + donnees(second, 8);
    if (regle >= octets.size() || octets[regle] != '\n') return {};
    const std::size_t fin = octets.find('\n', regle + 1);
    if (fin == std::string::npos) return {};
    return octets.substr(regle + 1, fin - regle - 1);
}

}  // namespace

struct RegleFuseau::Lecteur {
    Posix::time_zone zone;
};

RegleFuseau::RegleFuseau(std::unique_ptr<Lecteur> lecteur) : lecteur_(std::move(lecteur)) {}
RegleFuseau::~RegleFuseau() = default;

std::unique_ptr<RegleFuseau> RegleFuseau::DuFichier(const std::string& fuseau) {
    const std::string regle = RegleDuFichier(fuseau);
    if (regle.empty()) return nullptr;
    try {
        return std::unique_ptr<RegleFuseau>(
            new RegleFuseau(std::make_unique<Lecteur>(Lecteur{Posix::time_zone(regle)})));
    } catch (const std::exception&) {
        return nullptr;
    }
}

RegleFuseau::Periode RegleFuseau::En(long long unix) const {
    const date::sys_info info =
        lecteur_->zone.get_info(date::sys_seconds(std::chrono::seconds(unix)));
    return {info.begin.time_since_epoch().count(), info.end.time_since_epoch().count(),
            info.offset.count(), info.abbrev};
}

}  // namespace Legal
