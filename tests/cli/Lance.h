// orvanel-cli run as a script runs it, its standard output and error captured.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Resultat {
    int statut = -1;
    std::string sortie, erreurs;
};

// Runs orvanel-cli with the arguments, standard output and error captured in files.
inline Resultat Lance(const std::vector<std::string>& arguments) {
    char modele[] = "/tmp/orvanel-cli-XXXXXX";
    const std::string dossier = mkdtemp(modele);
    const std::string sortie = dossier + "/out", erreurs = dossier + "/err";
    std::vector<char*> argv{const_cast<char*>(ORVANEL_CLI)};
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    Resultat r;
    if (posix_spawn(&pid, ORVANEL_CLI, &actions, nullptr, argv.data(), environ) == 0) {
        int statut = 0;
        waitpid(pid, &statut, 0);
        r.statut = WIFEXITED(statut) ? WEXITSTATUS(statut) : 128;
    }
    posix_spawn_file_actions_destroy(&actions);
    const auto lire = [](const std::string& chemin) {
        std::ifstream in(chemin, std::ios::binary);
        std::ostringstream texte;
        texte << in.rdbuf();
        return texte.str();
    };
    r.sortie = lire(sortie);
    r.erreurs = lire(erreurs);
    std::remove(sortie.c_str());
    std::remove(erreurs.c_str());
    rmdir(dossier.c_str());
    return r;
}

}  // namespace
