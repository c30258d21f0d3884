// What the main window's tests share: the window, its controls by name, typing over a field as
// a user would, and the instant of the fixed clock.
#pragma once

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QString>
#include <QtTest>

#include "Aides.h"
#include "MaskEdit.h"
#include "Unit1.h"
#include "Unit3.h"

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

// Before each test: back to the start-up inputs, the clock fixed at Instant, no error kept.
inline void RemetLesSaisies() {
    // The handlers bring the values along.
    W()->ButtonAuto->setChecked(true);
    W()->Timer1->stop();
    W()->RadioEst->setChecked(true);
    W()->RadioNord->setChecked(true);
    W()->LongEdit->setText(QStringLiteral("002°01'49\""));
    W()->LatEdit->setText(QStringLiteral("42°29'48\""));
    W()->TempEdit->setText(QStringLiteral("+10"));
    W()->PressEdit->setText(QStringLiteral("760"));
    W()->RefracCheck->setChecked(false);
    W()->ZenithCheck->setChecked(false);
    W()->RefCheck->setChecked(false);
    Unit3::TEmoinsTU = 64.184;
    Aides::FixeHorloge(Instant);
    Aides::Erreurs();
}

}  // namespace AidesPrincipale
