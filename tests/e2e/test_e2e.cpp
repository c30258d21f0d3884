// The real program on a real X display (Xvfb), driven only as a user would: keystrokes and
// clicks from xdotool, the clipboard read with xclip.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "PosSoleil.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

std::string Affichage;          // ":NN" of the Xvfb started for these tests
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

class Programme {
public:
    Programme() {
        erreurs = RepertoireTemp + "/stderr.txt";
        const std::string env[] = {"DISPLAY=" + Affichage, "LANG=C.UTF-8", "LC_ALL=C.UTF-8",
                                   "XDG_RUNTIME_DIR=" + RepertoireTemp, "QT_QPA_PLATFORM=xcb", "HOME=" + RepertoireTemp};
        std::vector<char*> envp;
        for (const auto& v : env) envp.push_back(const_cast<char*>(v.c_str()));
        // The sanitizers' settings go through to the program under test.
        for (char** v = environ; *v; ++v) {
            const std::string_view variable(*v);
            if (variable.starts_with("ASAN_") || variable.starts_with("LSAN_") || variable.starts_with("UBSAN_"))
                envp.push_back(*v);
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char* argv[] = {const_cast<char*>(ORVANEL_PROGRAMME), nullptr};
        if (posix_spawn(&pid, ORVANEL_PROGRAMME, &actions, nullptr, argv, envp.data()) != 0) pid = -1;
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

// The table that the generator must make, built from the engine: rows every `pasMinutes`
// from the given day and hour at the start-up site, no option.
std::string TableAttendue(int annee, int mois, int jour, int heure, int pasMinutes, int lignes) {
    const double longitude = 7309.0 / 3600, latitude = 152988.0 / 3600;
    std::string texte =
        "Ephémérides Solaire (UTC)\r\n\r\nPositions Topocentriques Apparentes\r\nHorizon Local et Nord Vrai\r\n\r\n"
        "Longitude E  02°01'49\", Latitude N  42°29'48\"\r\n\r\n"
        "A  M  J   h  m  s    Hauteur       Azimuth   \r\n   \r\n";
    for (int i = 0; i < lignes; ++i) {
        const int minutes = heure * 60 + i * pasMinutes;  // within the day
        double l, r, a, d, az, h, e;
        PosSoleil::CalculPosition(annee, mois, jour, minutes / 60, minutes % 60, 0, longitude, latitude, 0, 64.184, l,
                                  r, a, d, az, h, e);
        char debut[40];
        std::snprintf(debut, sizeof debut, "%04d %02d %02d  %02d %02d 00  ", annee, mois, jour, minutes / 60,
                      minutes % 60);
        texte += debut + PosSoleil::DegVersDMS(h, 1) + " " + PosSoleil::DegVersDMS(az, 1) + "  \r\n";
    }
    return texte;
}

class DeBoutEnBout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* outil : {"Xvfb", "xdotool", "xclip"}) {
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
        char* argv[] = {const_cast<char*>("Xvfb"), const_cast<char*>(nom.c_str()), const_cast<char*>("-screen"),
                        const_cast<char*>("0"), const_cast<char*>("1280x1024x24"), const_cast<char*>("-nolisten"),
                        const_cast<char*>("tcp"), const_cast<char*>("-noreset"), nullptr};
        // -noreset: without it the server resets when the last program of a test goes, and the
        // next test's program may knock during the reset and find no display.
        posix_spawnp(&Serveur, "Xvfb", nullptr, nullptr, argv, environ);
        const std::string socket = "/tmp/.X11-unix/X" + Affichage.substr(1);
        for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) std::this_thread::sleep_for(100ms);
        std::this_thread::sleep_for(300ms);
    }

    static void TearDownTestSuite() {
        if (Serveur > 0) {
            kill(Serveur, SIGTERM);
            waitpid(Serveur, nullptr, 0);
        }
        if (!RepertoireTemp.empty()) std::system(("rm -rf " + RepertoireTemp).c_str());
    }

    void SetUp() override {
        if (manque) GTEST_SKIP() << manque << " is not installed: the end-to-end tests need Xvfb, xdotool and xclip "
                                              "(tools/setup.sh installs them)";
    }

    static inline const char* manque = nullptr;
};

TEST_F(DeBoutEnBout, GeneratesATableAndCopiesIt) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Commande("xdotool windowfocus --sync " + principale);
    Touches("alt+g");  // "&Génération" in the menu bar
    const std::string generateur = Fenetre("générateur d'éphémérides Solaire");
    ASSERT_FALSE(generateur.empty());
    Commande("xdotool windowfocus --sync " + generateur);
    const Geometrie g = GeometrieDe(generateur);
    const double s = g.largeur / 448.0;

    Clique(g, s, 0, 122, 34);  // the start date, on its year
    for (int i = 0; i < 3; ++i) Touches("Up");  // 2000-01-01 becomes 2003-01-01
    Clique(g, s, 0, 190, 34);  // the hours of the start time
    Touches("Up");             // 13:00:00
    Clique(g, s, 0, 276, 34);  // the step
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
    Clique(g, s, 0, 60, 68);   // "Vers presse-papier"

    const std::string copie = Commande("xclip -o -selection clipboard");
    EXPECT_EQ(copie, TableAttendue(2003, 1, 1, 13, 15, 7));
    EXPECT_TRUE(programme.Erreurs().empty()) << programme.Erreurs();
}

TEST_F(DeBoutEnBout, RefusedLongitudeShowsTheErrorBox) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Commande("xdotool windowfocus --sync " + principale);
    const Geometrie g = GeometrieDe(principale);
    const double s = g.largeur / 428.0;
    const int menu = g.hauteur - static_cast<int>(std::lround(214 * s));
    Clique(g, s, menu, 8 + 58 + 50, 57 + 16 + 16 + 10);  // the longitude field
    Touches("End BackSpace");                             // the last digit of the seconds
    const std::string boite = Fenetre("Orvanel", 5s);
    EXPECT_FALSE(boite.empty()) << "no error box titled Orvanel";
    Touches("Return");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(Fenetre("Orvanel", 1s).empty());
    EXPECT_FALSE(Fenetre("Ephémérides Solaire", 1s).empty());  // the program goes on
}

TEST_F(DeBoutEnBout, ClosingTheMainWindowDuringAGenerationEndsCleanly) {
    Programme programme;
    const std::string principale = Fenetre("Ephémérides Solaire");
    ASSERT_FALSE(principale.empty()) << programme.Erreurs();
    Commande("xdotool windowfocus --sync " + principale);
    Touches("alt+g");
    const std::string generateur = Fenetre("générateur d'éphémérides Solaire");
    ASSERT_FALSE(generateur.empty());
    Commande("xdotool windowfocus --sync " + generateur);
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

}  // namespace
