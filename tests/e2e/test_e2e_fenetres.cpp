// The real program on a real X display, driven as a user would: the dialogs' places and the
// solar day's window.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Bureau.h"
#include "PosSoleil.h"
#include "TableAttendue.h"

namespace {

using namespace Bureau;
using namespace std::chrono_literals;

TEST_F(DeBoutEnBout, DialogsOpenAtTheSamePlaceEveryTime) {
    // Under a window manager the frame is known only after the first opening: each opening
    // must still put the dialog at the same place.
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    struct Cas {
        const char* touche;
        const char* titre;
    };
    for (const Cas& c : {Cas{"alt+e", "Temps des éphémérides"}, Cas{"alt+a", "A Propos"}}) {
        SCOPED_TRACE(c.titre);
        Geometrie premiere;
        for (int fois = 0; fois < 3; ++fois) {
            Active(principale);
            Touches(c.touche);
            const std::string id = Fenetre(c.titre);
            ASSERT_FALSE(id.empty());
            std::this_thread::sleep_for(300ms);
            const Geometrie g = GeometrieDe(id);
            if (fois == 0) {
                premiere = g;
            } else {
                EXPECT_EQ(g.x, premiere.x) << fois;
                EXPECT_EQ(g.y, premiere.y) << fois;
            }
            Active(id);
            Touches("Escape");
            std::this_thread::sleep_for(300ms);
            ASSERT_TRUE(Fenetre(c.titre, 1s).empty());
        }
    }
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

// The solar day's text that the window must copy for a date at the start-up site, legal time
// being UTC here.
std::string TexteJournee(int annee, int mois, int jour) {
    const double longitude = 7309.0 / 3600, latitude = 152988.0 / 3600;
    const PosSoleil::JourSolaire j =
        PosSoleil::JourneeSolaire(annee, mois, jour, {longitude, latitude, 0}, 64.184);
    const auto date = [](double t) {
        const long long s = std::llround((t - PosSoleil::JoursAvantUnix) * 86400.0);
        int a, m, d, h, mi, se, ms;
        PosSoleil::DecodeDateValeur(PosSoleil::JoursAvantUnix + s / 86400.0, a, m, d, h, mi, se,
                                    ms);
        char texte[80];
        std::snprintf(texte, sizeof texte, "%04d-%02d-%02d %02d:%02d:%02d", a, m, d, h, mi, se);
        return std::string(texte);
    };
    const auto hms = [](double heures) {
        const long long s = std::llround(std::fabs(heures) * 3600);
        char texte[80];
        std::snprintf(texte, sizeof texte, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
        return std::string(texte);
    };
    const char* const montees[] = {"Lever", "Aube civile", "Aube nautique", "Aube astronomique"};
    const char* const descentes[] = {"Coucher", "Crépuscule civil", "Crépuscule nautique",
                                     "Crépuscule astronomique"};
    char jourTexte[48];
    std::snprintf(jourTexte, sizeof jourTexte, "%04d-%02d-%02d", annee, mois, jour);
    std::string texte =
        "Longitude E  02°01'49\", Latitude N  42°29'48\"\t" + std::string(jourTexte) + "\r\n";
    for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
        const PosSoleil::Evenement& e = j.evenements[i];
        const int s = static_cast<int>(e.seuil);
        std::string nom;
        switch (e.type) {
            case PosSoleil::TypeEvenement::Passage:
                nom = "Passage au méridien";
                break;
            case PosSoleil::TypeEvenement::PassageInferieur:
                nom = "Passage inférieur";
                break;
            case PosSoleil::TypeEvenement::Montee:
                nom = montees[s];
                break;
            case PosSoleil::TypeEvenement::Descente:
                nom = descentes[s];
                break;
        }
        const bool culmination = e.type == PosSoleil::TypeEvenement::Passage ||
                                 e.type == PosSoleil::TypeEvenement::PassageInferieur;
        texte += nom + "\t" + date(e.t) + "\t" + date(e.t) + " UTC\t" +
                 TableAttendue::DmsArrondi(culmination ? e.hauteur : e.azimut) + "\r\n";
    }
    const std::string variation = hms(j.variationDuree);
    texte += "Durée du jour\t" + hms(j.duree) + "\t" +
             (j.variationDuree < 0 && variation != "00:00:00" ? "-" : "+") + variation + "\r\n";
    return texte;
}

TEST_F(DeBoutEnBout, SolarDayWindowCopiesTheEvents) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Active(principale);
    Touches("alt+j");
    const std::string journee = Fenetre("Journée solaire");
    ASSERT_FALSE(journee.empty());
    Active(journee);
    // The window opens on the date the main window shows: today, UTC (read back from the
    // copied text, so a test that straddles midnight still knows which day it shows).
    Commande("printf x | xclip -selection clipboard");
    Touches("ctrl+c");
    const std::string copie = Commande("xclip -o -selection clipboard");
    const auto tab = copie.find('\t');
    ASSERT_NE(tab, std::string::npos) << copie;
    int annee = 0, mois = 0, jour = 0;
    ASSERT_EQ(std::sscanf(copie.c_str() + tab + 1, "%d-%d-%d", &annee, &mois, &jour), 3) << copie;
    const std::time_t maintenant = std::time(nullptr);
    const double aujourdhui = PosSoleil::JoursAvantUnix + static_cast<double>(maintenant / 86400);
    EXPECT_LE(std::fabs(PosSoleil::EncodeDateValeur(annee, mois, jour, 0, 0, 0) - aujourdhui), 1.0);
    const std::string attendu = TexteJournee(annee, mois, jour);
    EXPECT_EQ(copie, attendu);

    Commande("printf x | xclip -selection clipboard");
    const Geometrie g = GeometrieDe(journee);
    // "Vers presse-papier" sits at the top right of the window.
    Commande("xdotool mousemove --sync " + std::to_string(g.x + g.largeur - 50) + " " +
             std::to_string(g.y + 24) + " click 1");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Commande("xclip -o -selection clipboard"), attendu);
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

}  // namespace
