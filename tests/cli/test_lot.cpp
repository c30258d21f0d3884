// The batch input read in blocks over threads, and the shortest text of a number: the texts are
// those of std::to_chars, the rows those of one row at a time, and a bad row is named by its
// line and its rank among the data however the blocks fall.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace {

std::string TexteDeToChars(double x) {
    char texte[64];
    return std::string(texte, std::to_chars(texte, texte + sizeof texte, x).ptr);
}

std::string TexteEcrit(double x) {
    char texte[32];
    return std::string(texte, Cli::EcritNombre(texte, x));
}

// The input of `position --input` through the function itself, in one format on some threads.
struct SortieLot {
    std::string texte, erreur;
};
SortieLot LanceLot(const std::string& entree, Cli::Format format, int taches) {
    std::istringstream in(entree);
    std::ostringstream out;
    Cli::Reglages r;
    r.format = format;
    SortieLot s;
    try {
        Cli::EcritLot(out, in, r, taches, false);
    } catch (const Cli::ErreurDonnees& e) {
        s.erreur = e.message;
    }
    s.texte = out.str();
    return s;
}

std::size_t NombreDeLignes(const std::string& texte) {
    return static_cast<std::size_t>(std::count(texte.begin(), texte.end(), '\n'));
}

// n rows over two centuries and the globe, runs of rows sharing an instant, a blank line
// (alone or of spaces) after every 97th row and a row of quoted fields every 31st.
std::string RangsAleatoires(int n, std::vector<long long>* lignesDesDonnees = nullptr) {
    std::mt19937_64 alea(5);
    std::uniform_int_distribution<int> annee(1981, 2249), jour(1, 28), mois(1, 12), h(0, 23),
        m(0, 59);
    std::uniform_real_distribution<double> lon(-180, 180), lat(-90, 90);
    std::string texte = "date,lon,lat,height\n";
    long long ligne = 1;
    char date[40] = "";
    for (int i = 0; i < n; ++i) {
        if (i % 5 == 0)
            std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", annee(alea),
                          mois(alea), jour(alea), h(alea), m(alea), m(alea), i % 1000);
        char rang[160];
        if (i % 31 == 7)
            std::snprintf(rang, sizeof rang, "\"%s\",\"%.6f\",%.5f,\"%d\"\r\n", date, lon(alea),
                          lat(alea), i % 2000);
        else
            std::snprintf(rang, sizeof rang, "%s,%.6f,%.5f,%d\n", date, lon(alea), lat(alea),
                          i % 2000);
        texte += rang;
        if (lignesDesDonnees) lignesDesDonnees->push_back(++ligne);
        if (i % 97 == 50) {
            texte += i % 2 ? "\n" : "  \t \n";
            ++ligne;
        }
    }
    return texte;
}

}  // namespace

TEST(Nombres, ShortestTextIsThatOfToChars) {
    const double cas[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          0.1,
                          1e-4,
                          1e-5,
                          1.2345e-4,
                          1.2345e-5,
                          1200.0,
                          3000.0,
                          1e15,
                          1e16,
                          1e22,
                          1e23,
                          9007199254740993.0,
                          123.456,
                          -89.99999999999999,
                          359.99999999999994,
                          0.98329,
                          5e-324,
                          2.2250738585072014e-308,
                          std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::lowest(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
    for (const double x : cas) {
        SCOPED_TRACE(TexteDeToChars(x));
        EXPECT_EQ(TexteEcrit(x), TexteDeToChars(x));
    }
    // Any bit pattern, and the angles, distances and minutes the rows hold.
    std::mt19937_64 alea(11);
    std::uniform_real_distribution<double> angle(-400, 400);
    int differences = 0;
    for (int i = 0; i < 2'000'000; ++i) {
        for (const double x : {std::bit_cast<double>(alea()), angle(alea), angle(alea) * 1e-7,
                               std::round(angle(alea) * 1e3) / 1e3}) {
            if (TexteEcrit(x) != TexteDeToChars(x) && ++differences < 5)
                ADD_FAILURE() << TexteDeToChars(x) << " written " << TexteEcrit(x);
        }
    }
    EXPECT_EQ(differences, 0);
    // Each power of ten and its neighbours, where the choice between the forms turns.
    for (int e = -320; e <= 308; ++e)
        for (const double k : {1.0, 2.5, 9.0, 12.0, 999.0}) {
            const double x = k * std::pow(10.0, e);
            for (const double y : {x, std::nextafter(x, 0.0), std::nextafter(x, 1e308)})
                EXPECT_EQ(TexteEcrit(y), TexteDeToChars(y));
        }
}

// The rows are the same on any number of threads, in every format, and each is the row that
// the input's rows one at a time give: the single-row file of each sampled row.
TEST(Lot, RowsAreTheSameWhateverTheThreadsAndTheBlocks) {
    const std::string entree = RangsAleatoires(40'000);
    for (const Cli::Format format : {Cli::Format::Csv, Cli::Format::Json, Cli::Format::Texte}) {
        SCOPED_TRACE(static_cast<int>(format));
        const SortieLot seul = LanceLot(entree, format, 1);
        ASSERT_TRUE(seul.erreur.empty()) << seul.erreur;
        for (const int taches : {2, 3, 7}) {
            SCOPED_TRACE(taches);
            const SortieLot s = LanceLot(entree, format, taches);
            EXPECT_TRUE(s.erreur.empty()) << s.erreur;
            EXPECT_TRUE(s.texte == seul.texte);
        }
        if (format == Cli::Format::Json) {
            const auto o = nlohmann::json::parse(seul.texte);
            EXPECT_EQ(o.at("lignes").size(), 40'000u);
        }
    }
    const SortieLot tout = LanceLot(entree, Cli::Format::Csv, 3);
    std::vector<std::string> rangs;
    for (std::size_t debut = 0; debut < entree.size();) {
        const std::size_t fin = entree.find('\n', debut);
        rangs.push_back(entree.substr(debut, fin - debut + 1));
        debut = fin + 1;
    }
    std::vector<std::string> lignes;
    for (std::size_t debut = 0; debut < tout.texte.size();) {
        const std::size_t fin = tout.texte.find('\n', debut);
        lignes.push_back(tout.texte.substr(debut, fin - debut + 1));
        debut = fin + 1;
    }
    std::size_t donnee = 0;
    for (std::size_t k = 1; k < rangs.size(); ++k) {
        if (rangs[k].find_first_not_of(" \t\r\n") == std::string::npos) continue;
        ++donnee;
        if (donnee % 997 != 1) continue;
        const SortieLot un = LanceLot(rangs[0] + rangs[k], Cli::Format::Csv, 1);
        ASSERT_EQ(NombreDeLignes(un.texte), 2u);
        EXPECT_EQ(un.texte.substr(un.texte.find('\n') + 1), lignes.at(donnee)) << rangs[k];
    }
}

// A bad row anywhere (the first, at the start or the end of a thread's part, beyond the first
// block, the last): the message names its line and its rank among the data rows (blank lines
// counted in the one, not in the other), and every row before it is written whole.
TEST(Lot, ABadRowIsNamedByItsLineAndRankWithEveryRowBeforeIt) {
    std::vector<long long> lignesDesDonnees;
    const std::string bon = RangsAleatoires(60'000, &lignesDesDonnees);
    for (const std::size_t rang :
         {1u, 2u, 1000u, 7000u, 7001u, 13'777u, 29'999u, 45'000u, 59'999u, 60'000u}) {
        SCOPED_TRACE(rang);
        std::string entree = bon;
        const long long ligne = lignesDesDonnees[rang - 1];
        std::size_t debut = 0;
        for (long long n = 1; n < ligne; ++n) debut = entree.find('\n', debut) + 1;
        const std::size_t fin = entree.find('\n', debut);
        entree.replace(debut, fin - debut, "2026-01-01T00:00:00Z,2,95,0");
        for (const int taches : {1, 2, 5}) {
            SCOPED_TRACE(taches);
            const SortieLot s = LanceLot(entree, Cli::Format::Csv, taches);
            EXPECT_EQ(s.erreur.rfind("ligne " + std::to_string(ligne) + " (donnée " +
                                         std::to_string(rang) + ") : valeur hors limites",
                                     0),
                      0u)
                << s.erreur;
            EXPECT_EQ(NombreDeLignes(s.texte), rang);  // the header and the rows before
            EXPECT_TRUE(s.texte.empty() || s.texte.back() == '\n');
        }
    }
}

// Rows that repeat a field's text reuse its value; a field that changes is read and checked
// again, whichever field it is, and a bad text is refused each time it comes.
TEST(Lot, RepeatedFieldsAreReadOnceAndChangedOnesChecked) {
    struct Cas {
        const char* lignes;
        std::size_t rangs;   // rows written before the fault, or all of them
        const char* erreur;  // the start of the message, empty if none
    };
    const Cas cas[] = {
        {"2026-06-21T12:00:00Z,2.35,48.86\n2026-06-21T12:00:00Z,2.35,48.86\n"
         "2026-06-21T12:00:00Z,2.35,95\n",
         2, "ligne 4 (donnée 3) : valeur hors limites"},
        {"2026-06-21T12:00:00Z,2.35,48.86\n2026-06-21T13:00:00Z, 2.35 ,48.86\n"
         "2026-06-21T13:00:00Z,abc,48.86\n",
         2, "ligne 4 (donnée 3) : valeur incorrecte"},
        {"2026-06-21T12:00:00Z,200,48.86\n2026-06-21T12:00:00Z,200,48.86\n", 0,
         "ligne 2 (donnée 1) : valeur hors limites"},
        {"2026-06-21T12:00:00Z,2.35,48.86\n2026-13-21T12:00:00Z,2.35,48.86\n", 1,
         "ligne 3 (donnée 2) : valeur incorrecte"},
        {"2026-06-21T12:00:00Z,2.35,48.86\n2026-06-21T12:00:00Z,2.350,48.860\n", 2, ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.lignes);
        for (const int taches : {1, 2}) {
            const SortieLot s =
                LanceLot(std::string("date,lon,lat\n") + c.lignes, Cli::Format::Csv, taches);
            EXPECT_EQ(s.erreur.rfind(c.erreur, 0), 0u) << s.erreur;
            EXPECT_EQ(std::string_view(c.erreur).empty(), s.erreur.empty());
            EXPECT_EQ(NombreDeLignes(s.texte), c.rangs + 1);
        }
    }
    // The same site written two ways gives the same row.
    const SortieLot s = LanceLot(
        "date,lon,lat\n2026-06-21T12:00:00Z,2.35,48.86\n2026-06-21T12:00:00Z,2.350,"
        "48.860\n",
        Cli::Format::Csv, 1);
    const std::size_t a = s.texte.find('\n') + 1, b = s.texte.find('\n', a) + 1;
    EXPECT_EQ(s.texte.substr(a, b - a), s.texte.substr(b));
}

// A line longer than a block, a file whose first rows come after many blank lines, a last row
// without its line end, an input of a header alone.
TEST(Lot, LongLinesBlankStartsAndMissingLineEnds) {
    const std::string enTete = "date,lon,lat\n";
    const std::string rang = "2026-06-21T12:00:00Z,2.35,48.86\n";
    const SortieLot court = LanceLot(enTete + rang, Cli::Format::Csv, 1);
    ASSERT_EQ(NombreDeLignes(court.texte), 2u);
    const std::string attendu = court.texte.substr(court.texte.find('\n') + 1);

    const std::string longue = "2026-06-21T12:00:00Z,2.35," + std::string(3'000'000, '4') + "\n";
    const SortieLot s = LanceLot(enTete + rang + rang + longue + rang, Cli::Format::Csv, 2);
    EXPECT_EQ(s.erreur.rfind("ligne 4 (donnée 3) : valeur ", 0), 0u) << s.erreur.substr(0, 80);
    EXPECT_EQ(NombreDeLignes(s.texte), 3u);

    const std::string blancs(2'000'000, '\n');
    for (const int taches : {1, 2, 4}) {
        SCOPED_TRACE(taches);
        const SortieLot j = LanceLot(enTete + blancs + rang + rang, Cli::Format::Json, taches);
        ASSERT_TRUE(j.erreur.empty()) << j.erreur;
        EXPECT_EQ(nlohmann::json::parse(j.texte).at("lignes").size(), 2u);
        const SortieLot c = LanceLot(enTete + blancs + rang + rang.substr(0, rang.size() - 1),
                                     Cli::Format::Csv, taches);
        EXPECT_EQ(c.texte, court.texte + attendu);
        const SortieLot t = LanceLot(enTete + blancs + rang + "2026-06-21T12:00:00Z,2.35,95\n",
                                     Cli::Format::Csv, taches);
        EXPECT_EQ(t.erreur.rfind("ligne 2000003 (donnée 2)", 0), 0u) << t.erreur;
    }
    const SortieLot vide = LanceLot(enTete, Cli::Format::Json, 2);
    EXPECT_TRUE(vide.erreur.empty());
    EXPECT_EQ(nlohmann::json::parse(vide.texte).at("lignes").size(), 0u);
}
