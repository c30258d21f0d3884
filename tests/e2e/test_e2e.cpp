// The real program on a real X display (Xvfb), driven only as a user would: keystrokes and
// clicks from xdotool, the clipboard read with xclip. The generator, the error box, the
// windows' titles and title bars.
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

TEST_F(DeBoutEnBout, GeneratesATableAndCopiesIt) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Active(principale);
    Touches("alt+g");  // "&Génération" in the menu bar
    const std::string generateur = Fenetre("générateur d'éphémérides Solaire");
    ASSERT_FALSE(generateur.empty());
    Active(generateur);
    const Geometrie g = GeometrieDe(generateur);
    const double s = g.largeur / 448.0;

    Clique(g, s, 0, 122, 34);                   // the start date, on its year
    for (int i = 0; i < 3; ++i) Touches("Up");  // 2000-01-01 becomes 2003-01-01
    Clique(g, s, 0, 190, 34);                   // the hours of the start time
    Touches("Up");                              // 13:00:00
    Clique(g, s, 0, 276, 34);                   // the step
    Touches("Home");
    Tape("0015");
    Clique(g, s, 0, 330, 34);  // the unit, typed
    Touches("ctrl+a");
    Tape("Minutes");
    Clique(g, s, 0, 396, 34);  // the count
    Touches("Home");
    Tape("000007");
    Clique(g, s, 0, 388, 68);  // "&Génération"
    std::this_thread::sleep_for(500ms);
    Clique(g, s, 0, 60, 68);  // "Vers presse-papier"

    const std::string copie = Commande("xclip -o -selection clipboard");
    EXPECT_EQ(copie, TableDe(2003, 1, 1, 13, 15 * 60, 7));
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

TEST_F(DeBoutEnBout, RefusedLongitudeShowsTheErrorBox) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Active(principale);
    const Geometrie g = GeometrieDe(principale);
    const double s = g.largeur / 428.0;
    const int menu = g.hauteur - static_cast<int>(std::lround(214 * s));
    Clique(g, s, menu, 8 + 58 + 50, 57 + 16 + 16 + 10);  // the longitude field
    Touches("End BackSpace");                            // the last digit of the seconds
    const std::string boite = Fenetre("Orvanel", 5s);
    EXPECT_FALSE(boite.empty()) << "no error box titled Orvanel";
    Touches("Return");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(Fenetre("Orvanel", 1s).empty());
    EXPECT_FALSE(Fenetre("Ephémérides Solaire", 1s).empty());  // the program goes on
}

TEST_F(DeBoutEnBout, ClosingTheMainWindowDuringAGenerationEndsCleanly) {
    Programme programme;
    std::string principale;
    const std::string generateur = OuvreGenerateur(programme, &principale);
    ASSERT_FALSE(generateur.empty());
    const Geometrie g = GeometrieDe(generateur);
    const double s = g.largeur / 448.0;
    Clique(g, s, 0, 396, 34);
    Touches("Home");
    Tape("999999");
    Clique(g, s, 0, 388, 68);
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(programme.AttendFin(0ms), -1) << "the program ended before it was asked to";
    DemandeFermeture(principale);
    EXPECT_EQ(programme.AttendFin(10s), 0);
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

TEST_F(DeBoutEnBout, TitlesAreExactlyTheWindowsOwn) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    EXPECT_EQ(Propriete(principale, "_NET_WM_NAME"), "Ephémérides Solaire");
    // The program still names itself to the desktop through its window class.
    EXPECT_NE(Propriete(principale, "WM_CLASS").find(std::string("Orvanel") + '\0'),
              std::string::npos);

    struct Cas {
        const char* touche;
        const char* titre;
        const char* ferme;  // what closes it: the focus is on its button, not in a field
    };
    for (const Cas& c :
         {Cas{"alt+e", "Temps des éphémérides", "Escape"}, Cas{"alt+a", "A Propos", "Return"}}) {
        SCOPED_TRACE(c.titre);
        Active(principale);
        Touches(c.touche);
        const std::string id = Fenetre(c.titre);
        ASSERT_FALSE(id.empty());
        EXPECT_EQ(Propriete(id, "_NET_WM_NAME"), c.titre);
        Touches(c.ferme);
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(Fenetre(c.titre, 1s).empty()) << "still open after " << c.ferme;
    }
    Active(principale);
    Touches("alt+g");
    const std::string generateur = Fenetre("générateur d'éphémérides Solaire");
    ASSERT_FALSE(generateur.empty());
    EXPECT_EQ(Propriete(generateur, "_NET_WM_NAME"), "générateur d'éphémérides Solaire");
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

TEST_F(DeBoutEnBout, EscapeInTheGeneratorBelongsToItsFields) {
    Programme programme;
    std::string principale;
    const std::string generateur = OuvreGenerateur(programme, &principale);
    ASSERT_FALSE(generateur.empty());

    // The first focus is the table: select all and copy give its template.
    Commande("printf x | xclip -selection clipboard");
    Touches("ctrl+a ctrl+c");
    EXPECT_EQ(Commande("xclip -o -selection clipboard").rfind("Ephémérides Solaire (UTC)\r\n", 0),
              0u);

    const Geometrie g = GeometrieDe(generateur);
    const double s = g.largeur / 448.0;
    Clique(g, s, 0, 396, 34);  // the count, unchanged
    Touches("Escape");
    EXPECT_FALSE(Fenetre("générateur d'éphémérides Solaire", 1s).empty())
        << "Esc in an unchanged field hid it";

    Clique(g, s, 0, 276, 34);  // the step, "0001"
    Touches("End BackSpace Tab");
    ASSERT_FALSE(Fenetre("Orvanel", 5s).empty()) << "no refusal box";
    Touches("Return");
    std::this_thread::sleep_for(300ms);
    Touches("Escape");  // back in the step: abandons the edit
    std::this_thread::sleep_for(300ms);
    ASSERT_FALSE(Fenetre("générateur d'éphémérides Solaire", 1s).empty())
        << "Esc after the refusal hid the window";
    Touches("Escape");  // and again, with nothing left to abandon
    ASSERT_FALSE(Fenetre("générateur d'éphémérides Solaire", 1s).empty());

    // The step is "0001" again: five rows a second apart.
    Clique(g, s, 0, 388, 68);
    std::this_thread::sleep_for(500ms);
    Clique(g, s, 0, 60, 68);
    EXPECT_EQ(Commande("xclip -o -selection clipboard"), TableDe(2000, 1, 1, 12, 1, 5));
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

// Under the window manager: what the title bars offer follows from the windows' hints, and a
// drag of a fixed window's frame changes nothing.
TEST_F(DeBoutEnBout, TitleBarsOfferWhatEachWindowAllows) {
    if (!Gestionnaire())
        GTEST_SKIP() << "no window manager on this display (CTest's test_e2e_wm runs one)";
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();

    const auto verifie = [](const std::string& id, bool minimisable) {
        std::string actions;
        for (int i = 0; i < 30 && actions.empty(); ++i, std::this_thread::sleep_for(100ms))
            actions = Propriete(id, "_NET_WM_ALLOWED_ACTIONS");
        EXPECT_NE(actions.find("_NET_WM_ACTION_CLOSE"), std::string::npos) << actions;
        EXPECT_EQ(actions.find("_NET_WM_ACTION_MINIMIZE") != std::string::npos, minimisable)
            << actions;
        EXPECT_EQ(actions.find("_NET_WM_ACTION_MAXIMIZE"), std::string::npos) << actions;
        // A drag of the frame's lower right corner, as a user resizes a window.
        const Geometrie avant = GeometrieDe(id);
        int gauche = 0, droite = 0, haut = 0, bas = 0;
        std::istringstream(Propriete(id, "_NET_FRAME_EXTENTS")) >> gauche >> droite >> haut >> bas;
        const long x = avant.x + avant.largeur + std::max(1, droite / 2) - (droite > 0 ? 0 : 1);
        const long y = avant.y + avant.hauteur + std::max(1, bas / 2) - (bas > 0 ? 0 : 1);
        Commande("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) +
                 " mousedown 1");
        std::this_thread::sleep_for(100ms);
        Commande("xdotool mousemove --sync " + std::to_string(x + 60) + " " +
                 std::to_string(y + 45));
        Commande("xdotool mousemove --sync " + std::to_string(x + 120) + " " +
                 std::to_string(y + 90) + " mouseup 1");
        std::this_thread::sleep_for(300ms);
        const Geometrie apres = GeometrieDe(id);
        EXPECT_EQ(apres.largeur, avant.largeur);
        EXPECT_EQ(apres.hauteur, avant.hauteur);
    };
    {
        SCOPED_TRACE("main window");
        verifie(principale, true);
    }
    struct Cas {
        const char* touche;
        const char* titre;
    };
    for (const Cas& c : {Cas{"alt+g", "générateur d'éphémérides Solaire"},
                         Cas{"alt+e", "Temps des éphémérides"}, Cas{"alt+a", "A Propos"}}) {
        SCOPED_TRACE(c.titre);
        Active(principale);
        Touches(c.touche);
        const std::string id = Fenetre(c.titre);
        ASSERT_FALSE(id.empty());
        verifie(id, false);
        DemandeFermeture(id);  // the close button
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(Fenetre(c.titre, 1s).empty());
    }
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

}  // namespace
