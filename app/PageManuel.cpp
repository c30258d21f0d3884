// Writes orvanel-cli's manual page from its source, each @NAME@ replaced by the range or date
// that the program itself checks: the page cannot say another range than the one in force.
// Usage: page_manuel SOURCE DESTINATION VERSION
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "Cli.h"
#include "Contrat.h"
#include "TempsDynamique.h"

namespace {

// roff's minus sign, so that "-90" is not a hyphen.
std::string Roff(std::string texte) {
    std::string sortie;
    for (const char c : texte) {
        if (c == '-') sortie += '\\';
        sortie += c;
    }
    return sortie;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage : page_manuel SOURCE DESTINATION VERSION\n";
        return 2;
    }
    std::ifstream entree(argv[1], std::ios::binary);
    std::stringstream tampon;
    tampon << entree.rdbuf();
    std::string page = tampon.str();
    if (!entree) {
        std::cerr << "page_manuel : « " << argv[1] << " » illisible\n";
        return 1;
    }
    using Cli::TextePlage;
    using namespace Contrat;
    const std::pair<const char*, std::string> valeurs[] = {
        {"@VERSION@", argv[3]},
        {"@LONGITUDE@", TextePlage(Longitude, "")},
        {"@LATITUDE@", TextePlage(Latitude, "")},
        {"@HAUTEUR_SITE@", TextePlage(AltitudeSite, "m")},
        {"@OEIL@", TextePlage(HauteurOeil, "").substr(3)},
        {"@SEUIL@", TextePlage(HauteurSoleil, "").substr(3)},
        {"@HORIZON@", TextePlage(HauteurHorizon, "")},
        {"@PREMIER_INSTANT@", TextePremierInstant()},
        {"@DERNIER_INSTANT@", TexteDernierInstant()},
        {"@PREMIERE_ANNEE@", std::to_string(PremiereAnnee)},
        {"@DERNIERE_ANNEE@", std::to_string(DerniereAnnee)},
        {"@ANNEES@", TextePlage(PremiereAnnee, DerniereAnnee, "")},
        {"@ANNEES_FORCEES@", TextePlage(AnneeForceeMin, AnneeForceeMax, "")},
        {"@TAI_UTC@", TextePlage(TaiMoinsUtcImpose, "")},
        {"@TT_UTC@", TextePlage(TEmoinsTUImpose, "s")},
        {"@FIN_TABLE@", TexteFinTable()},
        {"@DUT1@", TextePlage(Dut1, "s")},
        {"@TEMPERATURE@", TextePlage(Temperature, "°C")},
        {"@PRESSION@", TextePlage(PressionMmHg, "mm de mercure")},
        {"@PAS@", TextePlage(0, static_cast<double>(PasMax), "")},
        {"@LIGNES@", TextePlage(0, static_cast<double>(LignesMax), "")},
        {"@TACHES@", TextePlage(1, static_cast<double>(TachesMax), "")},
    };
    for (const auto& [nom, valeur] : valeurs) {
        const std::string texte = Roff(valeur);
        std::size_t ou = page.find(nom);
        if (ou == std::string::npos) {
            std::cerr << "page_manuel : " << nom << " absent de la source\n";
            return 1;
        }
        for (; ou != std::string::npos; ou = page.find(nom, ou + texte.size()))
            page.replace(ou, std::string(nom).size(), texte);
    }
    if (const auto reste = page.find('@'); reste != std::string::npos) {
        std::cerr << "page_manuel : nom inconnu : " << page.substr(reste, 24) << '\n';
        return 1;
    }
    std::ofstream sortie(argv[2], std::ios::binary);
    sortie << page;
    return sortie.flush() ? 0 : 1;
}
