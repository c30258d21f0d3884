// The application's error report: a modal box with a stop icon, an OK button and the
// application's title as caption. Tests may put their own reporter in its place.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace RapportErreur {

// The text shown for a message: a final "." is added when the last character sorts after ".".
QString TexteAffiche(const QString& message);

// Reports a refused entry; returns when the user has acknowledged it.
void Signale(const QString& message);

// Replaces the modal box by `rapporteur`, which receives the text as it would be shown;
// an empty function brings the box back.
void Remplace(std::function<void(const QString&)> rapporteur);

}  // namespace RapportErreur
