// The ET-UT dialog, the About box, and the application's error report.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "Aides.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "RapportErreur.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

using Unit3::TEmoinsTUdlg;

namespace {

// Opens the dialog from the menu and runs `pendant` once it is up; a dialog that `pendant`
// left open (a failed check returns early) is closed, so a failure never hangs the test.
void OuvreET(const std::function<void()>& pendant) {
    QTimer::singleShot(0, [pendant] {
        [&] { QTRY_VERIFY(TEmoinsTUdlg->isVisible()); }();
        pendant();
        if (TEmoinsTUdlg->isVisible()) TEmoinsTUdlg->reject();
    });
    Unit1::EphPosition->TEMoinsTU->trigger();
}

}  // namespace

class TestDialogues : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void explanatoryText() {
        const QStringList attendu = {
            QStringLiteral("Le Temps des Ephémérides (TE) est lié au Temps "),
            QStringLiteral("Universel (TU) et au Temps Atomique International (TAI)"),
            QStringLiteral("par la relation suivante : "),
            QString(),
            QStringLiteral("TE = TAI +32.184s = TU + 32.184s + X."),
            QString(),
            QStringLiteral("X est un décalage, variable au cours du temps TE"),
            QStringLiteral("qui exprimé en secondes entières. Il est une"),
            QStringLiteral("représentation de la non uniformité de la rotation diurne. "),
            QStringLiteral("Ce décalage se déduit des observations astronomiques."),
            QString(),
            QStringLiteral("Par exemple : "),
            QStringLiteral("pour Janvier 1980,  X = 19s,"),
            QStringLiteral("pour Janvier 2000,  X = 32s."),
            QString(),
            QStringLiteral("Cette valeur doit donc être actualisée pour conserver une "),
            QStringLiteral("bonne précision sur l'éphéméride. Elle est disponible sur le "),
            QStringLiteral("site Web du bureau international des poids et mesures."),
            QStringLiteral("( https://www.bipm.org )"),
        };
        QCOMPARE(TEmoinsTUdlg->Memo1->toPlainText().split(QLatin1Char('\n')), attendu);
        QCOMPARE(TEmoinsTUdlg->windowTitle(), QStringLiteral("Temps des éphémérides"));
        QCOMPARE(TEmoinsTUdlg->TAIEdit->Lit(), QStringLiteral("032"));
        QVERIFY(TEmoinsTUdlg->OKBtn->isDefault());
        QVERIFY(TEmoinsTUdlg->Memo1->isReadOnly());
    }

    void okSetsTheDifference_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("effaces");  // leading positions then deleted
        QTest::addColumn<double>("attendu");
        QTest::newRow("032") << "032" << 0 << 64.184;
        QTest::newRow("019") << "019" << 0 << 51.184;
        QTest::newRow("000") << "000" << 0 << 32.184;
        QTest::newRow("999") << "999" << 0 << 1031.184;
        QTest::newRow("blanks then one digit") << "007" << 2 << 39.184;
        QTest::newRow("a blank then two digits") << "037" << 1 << 69.184;
    }
    void okSetsTheDifference() {
        QFETCH(QString, texte);
        QFETCH(int, effaces);
        QFETCH(double, attendu);
        // Manual mode on a fixed instant: only OK's refresh can change the display.
        Aides::FixeHorloge(QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC));
        QTest::mouseClick(Unit1::EphPosition->ButtonMan, Qt::LeftButton);
        Unit3::TEmoinsTU = 64.184;
        Unit1::EphPosition->MiseAJour();
        OuvreET([&] {
            QTRY_VERIFY(TEmoinsTUdlg->OKBtn->hasFocus());  // first in the keyboard order
            TEmoinsTUdlg->TAIEdit->setText(texte);
            for (int i = 0; i < effaces; ++i) {
                TEmoinsTUdlg->TAIEdit->setCursorPosition(i);
                QTest::keyClick(TEmoinsTUdlg->TAIEdit, Qt::Key_Delete);
            }
            QCOMPARE(TEmoinsTUdlg->TAIEdit->Lit().count(QLatin1Char(' ')), effaces);
            QTest::keyClick(TEmoinsTUdlg, Qt::Key_Return);  // Enter presses OK
        });
        QVERIFY(!TEmoinsTUdlg->isVisible());
        QCOMPARE(Unit3::TEmoinsTU, attendu);  // the nearest double to n + 32.184
        const auto p = Aides::Calcule(QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC),
                                      Unit1::Longitude, Unit1::Latitude, attendu);
        QCOMPARE(Unit1::EphPosition->AzimEdit->text(), Aides::DMS(p.azimut, 1));
        QTest::mouseClick(Unit1::EphPosition->ButtonAuto, Qt::LeftButton);
        Unit1::EphPosition->Timer1->stop();
    }

    void emptyFieldIsRefusedAndTheDialogCloses() {
        Unit3::TEmoinsTU = 64.184;
        Aides::Erreurs();
        OuvreET([] {
            TEmoinsTUdlg->TAIEdit->setText(QString());
            QTest::mouseClick(TEmoinsTUdlg->OKBtn, Qt::LeftButton);
        });
        QCOMPARE(Aides::Erreurs(),
                 QStringList{QStringLiteral("'   ' n'est pas une valeur entière correcte.")});
        QVERIFY(!TEmoinsTUdlg->isVisible());
        QCOMPARE(Unit3::TEmoinsTU, 64.184);
        TEmoinsTUdlg->TAIEdit->setText(QStringLiteral("032"));
    }

    void closingWithoutOkChangesNothing() {
        Unit3::TEmoinsTU = 64.184;
        OuvreET([] {
            TEmoinsTUdlg->TAIEdit->setText(QStringLiteral("045"));
            TEmoinsTUdlg->close();
        });
        QCOMPARE(Unit3::TEmoinsTU, 64.184);
        OuvreET([] {
            QCOMPARE(TEmoinsTUdlg->TAIEdit->Lit(),
                     QStringLiteral("045"));  // the typed text is still there
            TEmoinsTUdlg->close();
        });
        TEmoinsTUdlg->TAIEdit->setText(QStringLiteral("032"));
    }

    void escapeInTheFieldStaysThereElsewhereItClosesAsTheCloseButton() {
        Unit3::TEmoinsTU = 64.184;
        bool ouvertApresEchap = false;
        OuvreET([&] {
            TEmoinsTUdlg->TAIEdit->setFocus();
            QTRY_VERIFY(TEmoinsTUdlg->TAIEdit->hasFocus());
            QTest::keyClick(TEmoinsTUdlg->TAIEdit,
                            Qt::Key_Escape);  // unchanged: Esc is the field's all the same
            ouvertApresEchap = TEmoinsTUdlg->isVisible();
            TEmoinsTUdlg->TAIEdit->setText(QStringLiteral("045"));
            TEmoinsTUdlg->OKBtn->setFocus();
            QTRY_VERIFY(TEmoinsTUdlg->OKBtn->hasFocus());
            QTest::keyClick(TEmoinsTUdlg->OKBtn, Qt::Key_Escape);
        });
        QVERIFY(ouvertApresEchap);
        QVERIFY(!TEmoinsTUdlg->isVisible());
        QCOMPARE(Unit3::TEmoinsTU, 64.184);  // closed as by its close button: nothing applied
        TEmoinsTUdlg->TAIEdit->setText(QStringLiteral("032"));
    }

    void okHasTheFocusAtEveryOpening() {
        // Enter in the field applies and closes; the next opening must not start in the field,
        // where Esc would stay.
        Unit3::TEmoinsTU = 64.184;
        OuvreET([&] {
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(TEmoinsTUdlg->OKBtn));
            TEmoinsTUdlg->TAIEdit->setFocus();
            QTRY_VERIFY(TEmoinsTUdlg->TAIEdit->hasFocus());
            QTest::keyClick(TEmoinsTUdlg->TAIEdit, Qt::Key_Return);
        });
        QVERIFY(!TEmoinsTUdlg->isVisible());
        QWidget* focus = nullptr;
        bool fermeParEchap = false;
        OuvreET([&] {
            focus = QApplication::focusWidget();
            QTest::keyClick(focus, Qt::Key_Escape);
            fermeParEchap = !TEmoinsTUdlg->isVisible();
        });
        QCOMPARE(focus, static_cast<QWidget*>(TEmoinsTUdlg->OKBtn));
        QVERIFY(fermeParEchap);
    }

    void displayKeepsRunningUnderAModalDialog() {
        int ticks = 0;
        Unit1::EphPosition->Horloge = [&ticks] {
            ++ticks;
            return QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC).addMSecs(ticks * 1000);
        };
        Unit1::EphPosition->Timer1->start();
        QString avant;
        OuvreET([&] {
            avant = Unit1::EphPosition->AzimEdit->text();
            const int debut = ticks;
            QTRY_VERIFY(ticks > debut + 3);
            QTRY_VERIFY(Unit1::EphPosition->AzimEdit->text() != avant);
            TEmoinsTUdlg->close();
        });
        Unit1::EphPosition->Timer1->stop();
        QVERIFY(!avant.isEmpty());
    }

    void aboutBox() {
        auto* box = Unit2::AboutBox;
        QCOMPARE(box->windowTitle(), QStringLiteral("A Propos"));
        QCOMPARE(box->Label3->text(), QStringLiteral("Générateur d'éphémérides Solaire"));
        QCOMPARE(box->Label4->text(), QStringLiteral("Version 1.01"));
        QVERIFY(box->Label5->text().startsWith(QStringLiteral(
            "Ce générateur utilise une solution partielle de la théorie planétaire VSOP développée "
            "par le bureau des longitudes  https://")));
        QVERIFY(box->OKButton->isDefault());
        QRect ouverte;
        QTimer::singleShot(0, [box, &ouverte] {
            [&] { QTRY_VERIFY(box->isVisible()); }();
            ouverte = box->geometry();
            QTest::keyClick(box, Qt::Key_Return);
            if (box->isVisible()) box->reject();
        });
        Unit1::EphPosition->APropos1->trigger();
        QVERIFY(!box->isVisible());
        // Centred at its final size, after the theory note has made it grow.
        const QRect zone = QApplication::primaryScreen()->availableGeometry();
        QCOMPARE(ouverte.size(), box->size());
        // Within the frame's margins, which the platform adds around the client area once shown.
        QVERIFY(std::abs(ouverte.center().y() - zone.center().y()) <= 3);
        QVERIFY(std::abs(ouverte.center().x() - zone.center().x()) <= 3);
    }

    void errorReportIsAStopBoxTitledWithTheProgram() {
        RapportErreur::Remplace({});
        QString titre, texte;
        QMessageBox::Icon icone = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            [&] { QTRY_VERIFY(QApplication::activeModalWidget() != nullptr); }();
            auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(boite);
            titre = boite->windowTitle();
            texte = boite->text();
            icone = boite->icon();
            QCOMPARE(boite->buttons().size(), 1);
            boite->button(QMessageBox::Ok)->click();
        });
        Unit1::EphPosition->LongEdit->setText(QStringLiteral("002°01'4"));
        QCOMPARE(titre, QStringLiteral("Orvanel"));
        QCOMPARE(texte, QStringLiteral("'4 ' n'est pas une valeur entière correcte."));
        QCOMPARE(icone, QMessageBox::Critical);
        RapportErreur::Remplace([](const QString&) {});
    }

    void reportAddsAFinalPeriod() {
        QCOMPARE(RapportErreur::TexteAffiche(QStringLiteral("abc")), QStringLiteral("abc."));
        QCOMPARE(RapportErreur::TexteAffiche(QStringLiteral("abc.")), QStringLiteral("abc."));
        QCOMPARE(RapportErreur::TexteAffiche(QStringLiteral("abc!")),
                 QStringLiteral("abc!"));  // "!" sorts before "."
        QCOMPARE(RapportErreur::TexteAffiche(QString()), QString());
    }
};

QTEST_MAIN(TestDialogues)
#include "test_dialogues.moc"
