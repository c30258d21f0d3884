// What the end-to-end tests share: an X display of their own (Xvfb, and a window manager when
// the environment names one), the real program started on it, and a user's means of driving it
// (xdotool's keystrokes and clicks, xclip's clipboard, xprop's properties).
#pragma once

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

namespace Bureau {

using namespace std::chrono_literals;

inline std::string Affichage;  // ":NN" of the Xvfb started for these tests
inline pid_t Serveur = -1;
inline std::string RepertoireTemp;

inline bool Disponible(const char* programme) {
    return std::system((std::string("command -v ") + programme + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command on the test display and returns what it printed.
inline std::string Commande(const std::string& commande) {
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
inline std::string Fenetre(const std::string& titre, std::chrono::milliseconds attente = 30s) {
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

inline Geometrie GeometrieDe(const std::string& id) {
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
inline void Clique(const Geometrie& g, double echelle, int origineY, int x, int y) {
    Commande("xdotool mousemove --sync " + std::to_string(g.x + std::lround(x * echelle)) + " " +
             std::to_string(g.y + origineY + std::lround(y * echelle)) + " click 1");
    std::this_thread::sleep_for(150ms);
}

inline void Touches(const std::string& touches) {
    Commande("xdotool key --delay 40 " + touches);
    std::this_thread::sleep_for(150ms);
}

inline void Tape(const std::string& texte) {
    Commande("xdotool type --delay 40 '" + texte + "'");
    std::this_thread::sleep_for(150ms);
}

// What the window manager's close button sends: WM_DELETE_WINDOW.
inline void DemandeFermeture(const std::string& id) {
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
inline std::string Propriete(const std::string& id, const char* nom) {
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
inline const char* Gestionnaire() {
    const char* nom = std::getenv("ORVANEL_E2E_GESTIONNAIRE");
    return nom && *nom ? nom : nullptr;
}

// Gives a window the keyboard: through the window manager when there is one, directly otherwise.
inline void Active(const std::string& id) {
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
inline std::string OuvreGenerateur(const Programme& programme,
                                   std::string* principaleTrouvee = nullptr) {
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
inline std::string TableDe(int annee, int mois, int jour, int heure, int pasSecondes, int lignes) {
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

}  // namespace Bureau
