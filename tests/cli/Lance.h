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

// Where standard output goes: a file of the run's own (read back), another path, or nowhere
// (the descriptor closed).
struct Redirection {
    std::string chemin;  // empty: the run's own file
    bool fermee = false;
    // A size limit for the files the program writes, in blocks of 512 bytes (0: none), set by
    // the shell's ulimit before the program starts.
    int limiteBlocs = 0;
};

// Runs orvanel-cli with the arguments, standard output and error captured in files.
inline Resultat Lance(const std::vector<std::string>& arguments, const Redirection& vers = {}) {
    char modele[] = "/tmp/orvanel-cli-XXXXXX";
    const std::string dossier = mkdtemp(modele);
    const std::string sortie = vers.chemin.empty() ? dossier + "/out" : vers.chemin,
                      erreurs = dossier + "/err";
    std::vector<std::string> mots;
    if (vers.limiteBlocs > 0)
        mots = {"/bin/sh", "-c",
                "ulimit -f " + std::to_string(vers.limiteBlocs) + " && exec \"$0\" \"$@\"",
                ORVANEL_CLI};
    else
        mots = {ORVANEL_CLI};
    mots.insert(mots.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : mots) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (vers.fermee)
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
    posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    Resultat r;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
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
    if (!vers.fermee && vers.chemin.empty())
        r.sortie = lire(sortie);  // a path given is the caller's to read
    r.erreurs = lire(erreurs);
    if (vers.chemin.empty()) std::remove(sortie.c_str());
    std::remove(erreurs.c_str());
    rmdir(dossier.c_str());
    return r;
}

}  // namespace
