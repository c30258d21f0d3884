// A long generation, then a short one in its place: every row is produced, and the memory of
// the large table goes back. Run in the sanitizer build too, where LeakSanitizer checks at exit
// that nothing leaked.
#include <unistd.h>

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>
#include <fstream>

#include "Aides.h"
#include "MaskEdit.h"
#include "Unit1.h"
#include "Unit4.h"
#include "VueTable.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOUS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOUS_ASAN 1
#endif
#endif

namespace {

double MegaOctetsResidents() {
    std::ifstream statm("/proc/self/statm");
    long taille = 0, residentes = 0;
    statm >> taille >> residentes;
    return residentes * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void Genere(const QString& nombre) {
    TEphemeride* g = Unit4::Ephemeride;
    g->NombEdit->setText(nombre);
    QTest::mouseClick(g->Valid, Qt::LeftButton);
}

}  // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Aides::CreeFenetres();
        Unit1::EphPosition->Timer1->stop();
        Unit1::EphPosition->FichierClick();
        TEphemeride* g = Unit4::Ephemeride;
        g->DatePicker->setDate(QDate(2020, 1, 1));
        g->TimePicker->setTime(QTime(0, 0));
        g->PasEdit->setText(QStringLiteral("0001"));
        g->TypeBox->setCurrentIndex(0);
    }

    void largeTableThenReplaced() {
        Genere(QStringLiteral("000005"));  // warms up fonts, caches and the view
        const double depart = MegaOctetsResidents();

        Genere(QStringLiteral("200000"));
        QCOMPARE(Unit4::Ephemeride->Memo1->NombreLignes(), 9 + 200000);
        QCOMPARE(Unit4::Ephemeride->Memo1->Ligne(9 + 199999).left(20),
                 QStringLiteral("2020 01 03  07 33 19"));
        const double apresGrande = MegaOctetsResidents();

        Genere(QStringLiteral("000005"));
        QCOMPARE(Unit4::Ephemeride->Memo1->NombreLignes(), 9 + 5);
        const double apresPetite = MegaOctetsResidents();
        qInfo("resident memory: %.1f MB at start, %.1f MB with 200000 rows, %.1f MB once replaced",
              depart, apresGrande, apresPetite);
#ifndef SOUS_ASAN
        QVERIFY(apresGrande > depart + 5);  // the large table did take room
        QVERIFY(apresPetite < depart + 2);  // and gave it back
#endif
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
