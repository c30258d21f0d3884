// What orvanel-cli writes when writing goes wrong, and what it says of what it was given: a
// message and a documented status, never half a row; a bad field quoted in a short excerpt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Lance.h"

namespace {

std::string Lire(const std::string& chemin) {
    std::ifstream in(chemin, std::ios::binary);
    std::ostringstream texte;
    texte << in.rdbuf();
    return texte.str();
}

const std::vector<std::string> Lieu = {"--lon", "2.35", "--lat", "48.86"};

std::vector<std::string> Avec(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

// Every command, --version and --help included, to a full disk or a closed descriptor: status
// 4 and a message, in place of a silent 1 (or 0).
TEST(Sorties, AnOutputThatCannotBeWrittenIsStatusFourWithAMessage) {
    const std::vector<std::vector<std::string>> commandes = {
        {"--version"},
        {"--help"},
        Avec({"position", "--date", "2026-06-21T12:00:00Z"}, Lieu),
        Avec({"table", "--start", "2026-06-21", "--count", "1000", "--format", "csv"}, Lieu),
        Avec({"jour", "--date", "2026-06-21"}, Lieu),
        Avec({"annee", "--year", "2026", "--format", "json"}, Lieu),
    };
    for (const auto& commande : commandes) {
        SCOPED_TRACE(commande.front() + (commande.size() > 1 ? " " + commande[1] : ""));
        for (const bool fermee : {false, true}) {
            Redirection vers;
            vers.chemin = "/dev/full";
            vers.fermee = fermee;
            const Resultat r = Lance(commande, vers);
            EXPECT_EQ(r.statut, 4) << (fermee ? "closed" : "/dev/full");
            EXPECT_NE(r.erreurs.find("écriture impossible sur la sortie standard"),
                      std::string::npos)
                << r.erreurs;
        }
    }
}

// A file that reaches its size limit in the middle of a table or a batch: what stays in it is
// whole rows, each with every column, that read back as the full numbers.
TEST(Sorties, AFileCutShortEndsOnAWholeRow) {
    char modele[] = "/tmp/orvanel-entree-XXXXXX.csv";
    const int fd = mkstemps(modele, 4);
    ASSERT_GE(fd, 0);
    std::string lignes = "date,lon,lat\n";
    for (int i = 0; i < 20000; ++i)
        lignes += "2026-06-21T" + std::to_string(10 + i % 10) + ":00:00Z,2.35,48.86\n";
    ASSERT_EQ(write(fd, lignes.data(), lignes.size()), static_cast<ssize_t>(lignes.size()));
    close(fd);
    const std::vector<std::vector<std::string>> commandes = {
        Avec({"table", "--start", "2026-06-21", "--count", "200000", "--format", "csv"}, Lieu),
        {"position", "--input", modele, "--format", "csv"},
    };
    for (const auto& commande : commandes) {
        SCOPED_TRACE(commande.front());
        char sortieModele[] = "/tmp/orvanel-sortie-XXXXXX";
        const int sortieFd = mkstemp(sortieModele);
        ASSERT_GE(sortieFd, 0);
        close(sortieFd);
        Redirection vers;
        vers.chemin = sortieModele;
        vers.limiteBlocs = 64;  // 32 KiB
        const Resultat r = Lance(commande, vers);
        const std::string texte = Lire(sortieModele);
        std::remove(sortieModele);
        EXPECT_EQ(r.statut, 4) << r.erreurs;
        EXPECT_NE(r.erreurs.find("écriture impossible"), std::string::npos) << r.erreurs;
        ASSERT_FALSE(texte.empty());
        ASSERT_LE(texte.size(), 32u * 1024);
        EXPECT_EQ(texte.back(), '\n');
        std::istringstream in(texte);
        std::string entete, ligne;
        std::getline(in, entete);
        const auto colonnes = std::count(entete.begin(), entete.end(), ',');
        int n = 0;
        while (std::getline(in, ligne)) {
            ASSERT_EQ(std::count(ligne.begin(), ligne.end(), ','), colonnes) << ligne;
            ++n;
        }
        EXPECT_GT(n, 10);
    }
    std::remove(modele);
}

// A huge field, or a binary one, is quoted by a short excerpt whose bytes are all text.
TEST(Sorties, ABadFieldIsQuotedInAShortExcerpt) {
    char modele[] = "/tmp/orvanel-champ-XXXXXX.csv";
    const int fd = mkstemps(modele, 4);
    ASSERT_GE(fd, 0);
    std::string contenu =
        "date,lon,lat\n2026-06-21T12:00:00Z," + std::string(1'000'000, '7') + ",48\n";
    ASSERT_EQ(write(fd, contenu.data(), contenu.size()), static_cast<ssize_t>(contenu.size()));
    close(fd);
    const Resultat enorme = Lance({"position", "--input", modele});
    EXPECT_EQ(enorme.statut, 3);
    EXPECT_LT(enorme.erreurs.size(), 400u) << enorme.erreurs.substr(0, 400);
    EXPECT_NE(enorme.erreurs.find("7777777777…"), std::string::npos) << enorme.erreurs;
    std::remove(modele);

    const std::string binaire = std::string("2\x01\xff\x80", 4) + "\x1b[31m";
    const Resultat r = Lance(Avec({"position", "--lon", binaire}, {"--lat", "1"}));
    EXPECT_EQ(r.statut, 2);
    for (const char c : r.erreurs) {
        const auto o = static_cast<unsigned char>(c);
        EXPECT_TRUE(o >= 0x20 || c == '\n') << static_cast<int>(o) << " in " << r.erreurs;
    }
    EXPECT_NE(r.erreurs.find("2\\x01\\xFF\\x80\\x1B[31m"), std::string::npos) << r.erreurs;
}

// The text form writes TT - UTC and the site's height to the figures that CSV gives.
TEST(Sorties, TextFiguresAreTheCsvOnes) {
    char modele[] = "/tmp/orvanel-sites-XXXXXX.csv";
    const int fd = mkstemps(modele, 4);
    ASSERT_GE(fd, 0);
    const std::string contenu =
        "date,lon,lat,height\n2026-06-21T12:00:00Z,2.35,48.86,35\n"
        "2199-06-01T00:00:00Z,6.87,45.92,1234\n1980-01-01T00:00:00Z,0,0,-417\n";
    ASSERT_EQ(write(fd, contenu.data(), contenu.size()), static_cast<ssize_t>(contenu.size()));
    close(fd);
    const Resultat texte = Lance({"position", "--input", modele});
    const Resultat csv = Lance({"position", "--input", modele, "--format", "csv"});
    std::remove(modele);
    ASSERT_EQ(texte.statut, 0) << texte.erreurs;
    ASSERT_EQ(csv.statut, 0) << csv.erreurs;
    std::istringstream lignes(csv.sortie);
    std::string entete, ligne;
    std::getline(lignes, entete);
    std::vector<std::string> colonnes;
    for (std::istringstream c(entete); std::getline(c, ligne, ',');) colonnes.push_back(ligne);
    const auto indice = [&](const std::string& nom) {
        return std::find(colonnes.begin(), colonnes.end(), nom) - colonnes.begin();
    };
    int n = 0;
    while (std::getline(lignes, ligne)) {
        std::vector<std::string> champs;
        for (std::istringstream c(ligne); std::getline(c, entete, ',');) champs.push_back(entete);
        char attendu[64];
        std::snprintf(attendu, sizeof attendu, "TT - UTC (s)           %.3f",
                      std::stod(champs[static_cast<std::size_t>(indice("tt_moins_utc_s"))]));
        EXPECT_NE(texte.sortie.find(attendu), std::string::npos) << attendu << "\n" << texte.sortie;
        std::snprintf(attendu, sizeof attendu, ", %.1f m",
                      std::stod(champs[static_cast<std::size_t>(indice("site_hauteur_m"))]));
        EXPECT_NE(texte.sortie.find(attendu), std::string::npos) << attendu << "\n" << texte.sortie;
        ++n;
    }
    EXPECT_EQ(n, 3);
    // And the figures themselves: the heights the file gives, and in 2026 TT - UTC of the IERS,
    // 37 s of leap seconds plus 32.184 s.
    for (const char* hauteur : {", 35.0 m", ", 1234.0 m", ", -417.0 m"})
        EXPECT_NE(texte.sortie.find(hauteur), std::string::npos) << hauteur;
    EXPECT_NE(texte.sortie.find("TT - UTC (s)           69.184 (table)"), std::string::npos)
        << texte.sortie;
}

// A blank line of --input is no data row: the rows after it keep their rank among the data.
TEST(Sorties, BlankLinesAreNotCountedAsData) {
    char modele[] = "/tmp/orvanel-blancs-XXXXXX.csv";
    const int fd = mkstemps(modele, 4);
    ASSERT_GE(fd, 0);
    const std::string contenu = "date,lon,lat\n2026-01-01,1,2\n\n  \n2026-01-01,1,999\n";
    ASSERT_EQ(write(fd, contenu.data(), contenu.size()), static_cast<ssize_t>(contenu.size()));
    close(fd);
    const Resultat r = Lance({"position", "--input", modele, "--format", "csv"});
    std::remove(modele);
    EXPECT_EQ(r.statut, 3);
    EXPECT_NE(r.erreurs.find("ligne 5 (donnée 2)"), std::string::npos) << r.erreurs;
}
