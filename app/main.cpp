#include <QApplication>

#include "Fenetres.h"
#include "Unit1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Fenetres::PrepareApplication();
    Fenetres::CreeFenetres();
    Unit1::EphPosition->show();
    const int code = QApplication::exec();
    Fenetres::DetruitFenetres();
    return code;
}
