// What orvanel-cli's commands share in reading their command line: every value given as text,
// the options that every command or several of them take, and the reading of those values into
// the settings, each refusal one French sentence naming its option and its range.
#pragma once

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Cli.h"

namespace Options {

// What the command line was given: every value as text, read and checked once it is parsed so
// that each refusal names its option and its range in the same words.
struct Saisie {
    std::string lon, lat,
        altitudeSite = "0", format = "texte", fuseau, taiUtc, ttUtc, dut1 = "0", date, entree,
        temperature = Cli::Nombre(Contrat::TemperatureParDefaut),
        pression = Cli::Nombre(Contrat::PressionParDefautMmHg), debut, pas = "1", unite = "s",
        nombre = "1", oeil, horizon, annee,
        taches = std::to_string(std::max(1u, std::thread::hardware_concurrency())), plan, suiveur,
        pente;
    std::vector<std::string> seuils;
    bool refraction = false, zenith = false, sud = false, force = false, energie = false;
};

// An option that takes a number within a range, its help and its check from one table.
CLI::Option* AjouteNombre(CLI::App* c, Saisie& s, std::string_view nom);
double LitNombre(const Saisie& s, std::string_view nom);

// The options of the site, the format, legal time and the time scales, for every command.
void OptionsCommunes(CLI::App* c, Saisie& s);
// Refraction and the south reference (position, table).
void OptionsRefraction(CLI::App* c, Saisie& s);
// The Sun on a plane or a tracker, and the energy columns (position, table).
void OptionsSurfaces(CLI::App* c, Saisie& s);
// --jobs, `quoi` saying what the threads compute.
void OptionTaches(CLI::App* c, Saisie& s, const char* quoi);
// The sky of the day's events (jour, annee).
void OptionsCiel(CLI::App* c, Saisie& s);

// A required option's refusal when it was not given.
void Obligatoire(const std::string& valeur, const char* option);
// The settings every command shares; the site too unless it comes from each input row.
Cli::Reglages LitReglages(const Saisie& s, bool siteDansLesLignes);
// --jobs, checked.
int Taches(const Saisie& s);
// A date outside the program's dates is refused unless --force.
void VerifieDate(const Saisie& s, double t, const std::string& texte, const char* option);

// Standard output flushed; whether it could be written is main's to say.
int Fin();
// Small outputs are written whole or not at all.
int EcritTout(const std::string& texte);

// A usage error's message on standard error: status 2.
int Usage(const std::string& message);
// CLI11's errors in French.
std::string Traduit(const CLI::ParseError& e, int argc, char** argv);

}  // namespace Options
