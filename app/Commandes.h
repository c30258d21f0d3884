// orvanel-cli's commands, each in a file of its own: the command and its options added to the
// command line, and its run once the line is parsed, which returns the program's status with
// standard output not yet flushed.
#pragma once

#include <CLI/CLI.hpp>

#include "Options.h"

namespace Commandes {

// position: the Sun at an instant, or at each row of --input.
CLI::App* AjoutePosition(CLI::App& app, Options::Saisie& s);
int Position(const Options::Saisie& s);

// table: positions over a series of instants.
CLI::App* AjouteTable(CLI::App& app, Options::Saisie& s);
int Table(const Options::Saisie& s);

// jour: the day's events.
CLI::App* AjouteJour(CLI::App& app, Options::Saisie& s);
int Jour(const Options::Saisie& s);

// annee: the events of each date of a year.
CLI::App* AjouteAnnee(CLI::App& app, Options::Saisie& s);
int Annee(const Options::Saisie& s);

// cadran: the lines of a planar sundial.
CLI::App* AjouteCadran(CLI::App& app, Options::Saisie& s);
int Cadran(const Options::Saisie& s);

}  // namespace Commandes
