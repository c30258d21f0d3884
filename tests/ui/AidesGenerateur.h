// What the generator's tests share: the generator, its settings put as a user would, its copied
// table, and the table expected for those settings, built apart from the program.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QPushButton>
#include <QCheckBox>
#include <QStringList>
#include <QTimeEdit>
#include <QtTest>
#include <chrono>
#include <string>

#include "MaskEdit.h"
#include "TableAttendue.h"
#include "Unit4.h"

namespace AidesGenerateur {

inline TEphemeride* G() {
    return Unit4::Ephemeride;
}

struct Reglages {
    QDateTime debut;
    qint64 pasSecondes;
    int nombre;
    bool zenith = false, sud = false;
};

inline QString Texte(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The template, as it must stand before any generation.
inline QStringList ModeleAttendu() {
    QStringList lignes;
    for (const std::string& l : TableAttendue::Modele()) lignes << Texte(l);
    return lignes;
}

inline TableAttendue::Reglages Attendus(const Reglages& r, double longitude, double latitude) {
    TableAttendue::Reglages a;
    a.debut = std::chrono::sys_seconds(std::chrono::seconds(r.debut.toSecsSinceEpoch()));
    a.pasSecondes = r.pasSecondes;
    a.lignes = r.nombre;
    a.longitude = longitude;
    a.latitude = latitude;
    a.zenith = r.zenith;
    a.sud = r.sud;
    return a;
}

inline QString TableDe(const Reglages& r, double longitude, double latitude, const QString& site) {
    return Texte(TableAttendue::Table(Attendus(r, longitude, latitude), site.toStdString()));
}

inline const QString SiteDefaut = QStringLiteral("Longitude E  02°01'49\", Latitude N  42°29'48\"");

inline void Regle(const QDate& date, const QTime& heure, const QString& pas, const QString& type,
                  const QString& nombre, bool zenith = false, bool sud = false) {
    G()->DatePicker->setDate(date);
    G()->TimePicker->setTime(heure);
    G()->PasEdit->setText(pas);
    G()->TypeBox->setCurrentText(type);
    G()->NombEdit->setText(nombre);
    G()->ZenithCheckB->setChecked(zenith);
    G()->RefCheckB->setChecked(sud);
}

inline QString Copie() {
    QTest::mouseClick(G()->Copier, Qt::LeftButton);
    return QApplication::clipboard()->text();
}

inline void Genere() {
    QTest::mouseClick(G()->Valid, Qt::LeftButton);
}

}  // namespace AidesGenerateur
