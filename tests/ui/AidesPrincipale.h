// What the main window's tests share: the window, its controls by name, typing over a field as
// a user would, and the instant of the fixed clock.
#pragma once

#include <QDateTime>
#include <QLineEdit>
#include <QString>
#include <QtTest>

#include "Unit1.h"

namespace AidesPrincipale {

inline const QDateTime Instant(QDate(2026, 12, 7), QTime(12, 0, 0, 250), Qt::UTC);

inline TEphPosition* W() {
    return Unit1::EphPosition;
}

template <class T>
inline T* Controle(const char* nom) {
    T* c = Unit1::EphPosition->findChild<T*>(QLatin1String(nom));
    if (!c) qFatal("control %s not found", nom);
    return c;
}

// Types over the field's text from a position, as a user would.
inline void Tape(QLineEdit* champ, int position, const QString& touches) {
    champ->setFocus();
    champ->setCursorPosition(position);
    QTest::keyClicks(champ, touches);
}

inline void Efface(QLineEdit* champ, int position) {
    champ->setFocus();
    champ->setCursorPosition(position);
    QTest::keyClick(champ, Qt::Key_Delete);
}

}  // namespace AidesPrincipale
