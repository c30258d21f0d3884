// The ET-UT dialog: sets the difference between dynamical time and UTC from TAI - UTC.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class TMaskEdit;

class TTEmoinsTUdlg : public QDialog {
    Q_OBJECT
public:
    explicit TTEmoinsTUdlg(QWidget* parent = nullptr);

    void OKBtnClick();

    QFrame* Bevel1;
    QTextEdit* Memo1;
    QPushButton* OKBtn;
    QLabel* Label1;
    TMaskEdit* TAIEdit;
    QLabel* Label2;

protected:
    // Every opening is centred and starts with OK's focus, so Esc and Enter act on the dialog
    // whatever field had the focus when it last closed.
    void showEvent(QShowEvent* event) override;
};

namespace Unit3 {

extern TTEmoinsTUdlg* TEmoinsTUdlg;

// Dynamical time minus UTC, seconds: TAI - UTC + 32.184.
extern double TEmoinsTU;

// The explanatory text, one string per line.
extern const char* const TexteExplicatif[19];

}  // namespace Unit3
