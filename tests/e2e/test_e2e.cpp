// The real program on a real X display (Xvfb), driven only as a user would: keystrokes and
// clicks from xdotool, the clipboard read with xclip.
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "PosSoleil.h"
#include "TableAttendue.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

std::string Affichage;  // ":NN" of the Xvfb started for these tests
pid_t Serveur = -1;
std::string RepertoireTemp;

bool Disponible(const char* programme) {
    return std::system((std::string("command -v ") + programme + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command on the test display and returns what it printed.
std::string Commande(const std::string& commande) {
    const std::string complete = "DISPLAY=" + Affichage + " " + commande + " 2>/dev/null";
    std::string sortie;
    if (FILE* f = popen(complete.c_str(), "r")) {
        char tampon[4096];
        std::size_t n = 0;
        while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) sortie.append(tampon, n);
        pclose(f);
    }
    return sortie;
}

// The id of the first window whose title is exactly `titre`, waiting for it up to 10 s.
std::string Fenetre(const std::string& titre, std::chrono::milliseconds attente = 30s) {
    std::string motif;  // the title in single quotes for the shell
    for (const char c : titre) motif += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const auto limite = std::chrono::steady_clock::now() + attente;
    do {
        std::string id = Commande("xdotool search --onlyvisible --name '^" + motif + "$'");
        if (!id.empty()) return id.substr(0, id.find('\n'));
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < limite);
    return {};
}

struct Geometrie {
    int x = 0, y = 0, largeur = 0, hauteur = 0;
};

Geometrie GeometrieDe(const std::string& id) {
    Geometrie g;
    std::istringstream lignes(Commande("xdotool getwindowgeometry --shell " + id));
    std::string ligne;
    while (std::getline(lignes, ligne)) {
        const auto egal = ligne.find('=');
        if (egal == std::string::npos) continue;
        const int v = std::atoi(ligne.c_str() + egal + 1);
        const std::string cle = ligne.substr(0, egal);
        if (cle == "X") g.x = v;
        if (cle == "Y") g.y = v;
        if (cle == "WIDTH") g.largeur = v;
        if (cle == "HEIGHT") g.hauteur = v;
    }
    return g;
}

// A click at a point of a window's layout grid, scaled as the window is.
void Clique(const Geometrie& g, double echelle, int origineY, int x, int y) {
    Commande("xdotool mousemove --sync " + std::to_string(g.x + std::lround(x * echelle)) + " " +
             std::to_string(g.y + origineY + std::lround(y * echelle)) + " click 1");
    std::this_thread::sleep_for(150ms);
}

void Touches(const std::string& touches) {
    Commande("xdotool key --delay 40 " + touches);
    std::this_thread::sleep_for(150ms);
}

void Tape(const std::string& texte) {
    Commande("xdotool type --delay 40 '" + texte + "'");
    std::this_thread::sleep_for(150ms);
}

// What the window manager's close button sends: WM_DELETE_WINDOW.
void DemandeFermeture(const std::string& id) {
    Display* d = XOpenDisplay(Affichage.c_str());
    if (!d) return;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::strtoul(id.c_str(), nullptr, 10);
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XFlush(d);
    XCloseDisplay(d);
}

// A window property as text: a UTF-8 string, or the names of a list of atoms or the numbers
// of a list of cardinals, joined by spaces.
std::string Propriete(const std::string& id, const char* nom) {
    Display* d = XOpenDisplay(Affichage.c_str());
    if (!d) return {};
    Atom type = None;
    int format = 0;
    unsigned long n = 0, reste = 0;
    unsigned char* donnees = nullptr;
    std::string texte;
    const Window w = std::strtoul(id.c_str(), nullptr, 10);
    if (XGetWindowProperty(d, w, XInternAtom(d, nom, False), 0, 4096, False, AnyPropertyType, &type,
                           &format, &n, &reste, &donnees) == Success &&
        donnees) {
        if (type == XA_ATOM) {
            const auto* atomes = reinterpret_cast<const Atom*>(donnees);
            for (unsigned long i = 0; i < n; ++i) {
                char* nomAtome = XGetAtomName(d, atomes[i]);
                texte += std::string(i ? " " : "") + nomAtome;
                XFree(nomAtome);
            }
        } else if (format == 8) {
            texte.assign(reinterpret_cast<const char*>(donnees), n);
        } else if (format == 32) {
            const auto* nombres = reinterpret_cast<const long*>(donnees);
            for (unsigned long i = 0; i < n; ++i)
                texte += (i ? " " : "") + std::to_string(nombres[i]);
        }
        XFree(donnees);
    }
    XCloseDisplay(d);
    return texte;
}

// The window manager started for these tests, if the environment names one.
const char* Gestionnaire() {
    const char* nom = std::getenv("ORVANEL_E2E_GESTIONNAIRE");
    return nom && *nom ? nom : nullptr;
}

// Gives a window the keyboard: through the window manager when there is one, directly otherwise.
void Active(const std::string& id) {
    Commande(std::string(Gestionnaire() ? "xdotool windowactivate --sync "
                                        : "xdotool windowfocus --sync ") +
             id);
    std::this_thread::sleep_for(100ms);
}

class Programme {
public:
    Programme() {
        erreurs = RepertoireTemp + "/stderr.txt";
        const std::string env[] = {"DISPLAY=" + Affichage, "LANG=C.UTF-8",
                                   "LC_ALL=C.UTF-8",       "XDG_RUNTIME_DIR=" + RepertoireTemp,
                                   "QT_QPA_PLATFORM=xcb",  "HOME=" + RepertoireTemp};
        std::vector<char*> envp;
        for (const auto& v : env) envp.push_back(const_cast<char*>(v.c_str()));
        // The sanitizers' settings go through to the program under test.
        for (char** v = environ; *v; ++v) {
            const std::string_view variable(*v);
            if (variable.starts_with("ASAN_") || variable.starts_with("LSAN_") ||
                variable.starts_with("UBSAN_"))
                envp.push_back(*v);
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        char* argv[] = {const_cast<char*>(ORVANEL_PROGRAMME), nullptr};
        if (posix_spawn(&pid, ORVANEL_PROGRAMME, &actions, nullptr, argv, envp.data()) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Programme() {
        if (pid > 0 && !termine) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // The exit status once the program has ended by itself within `attente`, or -1.
    int AttendFin(std::chrono::milliseconds attente) {
        const auto limite = std::chrono::steady_clock::now() + attente;
        int statut = 0;
        while (std::chrono::steady_clock::now() < limite) {
            if (waitpid(pid, &statut, WNOHANG) == pid) {
                termine = true;
                return WIFEXITED(statut) ? WEXITSTATUS(statut) : 128 + WTERMSIG(statut);
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }
    std::string Erreurs() const {
        std::ifstream in(erreurs);
        std::ostringstream texte;
        texte << in.rdbuf();
        return texte.str();
    }
    pid_t pid = -1;

private:
    bool termine = false;
    std::string erreurs;
};

// Starts nothing: finds the running program's main window, opens the generator from its menu
// and gives it the keyboard. Returns the generator's window, or nothing.
std::string OuvreGenerateur(const Programme& programme, std::string* principaleTrouvee = nullptr) {
    const std::string principale = Fenetre("Ephémérides Solaire");
    if (principale.empty()) {
        ADD_FAILURE() << "no main window: " << programme.Erreurs();
        return {};
    }
    if (principaleTrouvee) *principaleTrouvee = principale;
    Active(principale);
    Touches("alt+g");
    const std::string generateur = Fenetre("générateur d'éphémérides Solaire");
    if (!generateur.empty()) Active(generateur);
    return generateur;
}

// The table that the generator must make at the start-up site with no option: rows every
// `pasSecondes` from the given day and hour.
std::string TableDe(int annee, int mois, int jour, int heure, int pasSecondes, int lignes) {
    using namespace std::chrono;
    TableAttendue::Reglages r;
    r.debut = sys_days(year(annee) / mois / jour) + hours(heure);
    r.pasSecondes = pasSecondes;
    r.lignes = lignes;
    return TableAttendue::Table(r);
}

class DeBoutEnBout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* outil : {"Xvfb", "xdotool", "xclip", "xprop"}) {
            if (!Disponible(outil)) {
                manque = outil;
                return;
            }
        }
        char modele[] = "/tmp/orvanel-e2e-XXXXXX";
        RepertoireTemp = mkdtemp(modele);
        chmod(RepertoireTemp.c_str(), 0700);
        // A display number that nobody holds.
        for (int n = 70 + getpid() % 200;; ++n) {
            const std::string verrou = "/tmp/.X" + std::to_string(n) + "-lock";
            if (access(verrou.c_str(), F_OK) != 0) {
                Affichage = ":" + std::to_string(n);
                break;
            }
        }
        const std::string nom = Affichage;
        char* argv[] = {const_cast<char*>("Xvfb"),
                        const_cast<char*>(nom.c_str()),
                        const_cast<char*>("-screen"),
                        const_cast<char*>("0"),
                        const_cast<char*>("1280x1024x24"),
                        const_cast<char*>("-nolisten"),
                        const_cast<char*>("tcp"),
                        const_cast<char*>("-noreset"),
                        nullptr};
        // -noreset: without it the server resets when the last program of a test goes, and the
        // next test's program may knock during the reset and find no display.
        posix_spawnp(&Serveur, "Xvfb", nullptr, nullptr, argv, environ);
        const std::string socket = "/tmp/.X11-unix/X" + Affichage.substr(1);
        for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(100ms);
        std::this_thread::sleep_for(300ms);
        // Under a real window manager as well, when the environment names one (CTest's
        // test_e2e_wm): the title bars are then the manager's, drawn from the windows' hints.
        if (const char* wm = Gestionnaire()) {
            if (!Disponible(wm)) {
                manque = wm;
                return;
            }
            const std::string env = "DISPLAY=" + Affichage, home = "HOME=" + RepertoireTemp;
            char* envp[] = {const_cast<char*>(env.c_str()), const_cast<char*>(home.c_str()),
                            nullptr};
            char* argvWm[] = {const_cast<char*>(wm), nullptr};
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawnp(&Gestionnaire_, wm, &actions, nullptr, argvWm, envp);
            posix_spawn_file_actions_destroy(&actions);
            // The manager announces itself on the root window once it runs.
            for (int i = 0;
                 i < 100 && Commande("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") ==
                                std::string::npos;
                 ++i)
                std::this_thread::sleep_for(100ms);
            std::this_thread::sleep_for(500ms);
        }
    }

    static void TearDownTestSuite() {
        if (Serveur > 0) {
            kill(Serveur, SIGTERM);
            waitpid(Serveur, nullptr, 0);
        }
        if (Gestionnaire_ > 0) {
            kill(Gestionnaire_, SIGTERM);
            waitpid(Gestionnaire_, nullptr, 0);
        }
        std::error_code ignoree;
        if (!RepertoireTemp.empty()) std::filesystem::remove_all(RepertoireTemp, ignoree);
    }

    void SetUp() override {
        if (manque)
            GTEST_SKIP() << manque
                         << " is not installed: the end-to-end tests need Xvfb, xdotool, xclip, "
                            "xprop and the window manager they name (tools/setup.sh installs them)";
    }

    static inline const char* manque = nullptr;
    static inline pid_t Gestionnaire_ = -1;
};

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
