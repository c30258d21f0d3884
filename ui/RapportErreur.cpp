#include "RapportErreur.h"

#include <QApplication>
#include <QMessageBox>

namespace RapportErreur {

namespace {
std::function<void(const QString&)>& Rapporteur() {
    static std::function<void(const QString&)> rapporteur;
    return rapporteur;
}
}  // namespace

QString TexteAffiche(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void Signale(const QString& message) {
    const QString texte = TexteAffiche(message);
    if (Rapporteur()) {
        Rapporteur()(texte);
        return;
    }
    QMessageBox boite(QMessageBox::Critical, QApplication::applicationName(), texte,
                      QMessageBox::Ok, QApplication::activeWindow());
    boite.setObjectName("RapportErreur");
    boite.exec();
}

void Remplace(std::function<void(const QString&)> rapporteur) {
    Rapporteur() = std::move(rapporteur);
}

}  // namespace RapportErreur
