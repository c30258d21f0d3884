// Usage: icones DOSSIER
// Writes the program's icon as DOSSIER/NxN/apps/orvanel.png in the sizes of the hicolor theme.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "Controles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icones DOSSIER\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    for (const int taille : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dossier =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(taille);
        if (!QDir().mkpath(dossier) ||
            !Controles::ImageIcone(taille).save(dossier + QStringLiteral("/orvanel.png"))) {
            std::fprintf(stderr, "icones: cannot write %s\n", qPrintable(dossier));
            return 1;
        }
    }
    return 0;
}
