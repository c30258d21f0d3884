// The About box: title, version, the theory used and the project's lines.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QFrame* Panel1;
    QLabel* LabelNom;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* LabelCourriel;
    QPushButton* OKButton;

protected:
    // Centred on the screen each time it opens, at the size it has then.
    void showEvent(QShowEvent* event) override;
};

namespace Unit2 {
extern TAboutBox* AboutBox;
}
