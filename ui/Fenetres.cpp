#include "Fenetres.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Controles.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"

namespace Fenetres {

void PrepareApplication() {
    QApplication::setApplicationName(QStringLiteral("Orvanel"));
    QApplication::setWindowIcon(Controles::IconeProgramme());
    // Qt's own texts (the file dialogs, the standard buttons) in the system's language, as
    // every Qt program shows them: a French desktop sees French throughout. The windows' own
    // texts are French already.
    static QTranslator traductionQt;
    if (traductionQt.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traductionQt);
}

void CreeFenetres() {
    Unit1::EphPosition = new TEphPosition;
    Unit3::TEmoinsTUdlg = new TTEmoinsTUdlg;
    Unit2::AboutBox = new TAboutBox;
    Unit4::Ephemeride = new TEphemeride;
    Unit5::Journee = new TJournee;
}

void DetruitFenetres() {
    delete Unit5::Journee;
    Unit5::Journee = nullptr;
    delete Unit4::Ephemeride;
    Unit4::Ephemeride = nullptr;
    delete Unit2::AboutBox;
    Unit2::AboutBox = nullptr;
    delete Unit3::TEmoinsTUdlg;
    Unit3::TEmoinsTUdlg = nullptr;
    delete Unit1::EphPosition;
    Unit1::EphPosition = nullptr;
}

}  // namespace Fenetres
