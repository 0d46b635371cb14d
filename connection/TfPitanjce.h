#pragma once

#include "app/TcMain.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora {

// The first-run server set-up: asked before the login when no administrator
// connection is stored. Its answers are the login server and the login mode;
// "Odustani" or Escape ends the program.
class TfPitanjce : public TcMain {
    Q_OBJECT
public:
    explicit TfPitanjce(QWidget *parent = nullptr);

    void FormShow() override;

    QString serverName() const;
    // "SQL" or "NT".
    QString loginMode() const;
    // Closed without "OK": the program ends.
    bool endsProgram() const { return result() != QDialog::Accepted; }

    QLineEdit *edSerName = nullptr;
    QRadioButton *rbSql = nullptr;
    QRadioButton *rbNT = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnOdustani = nullptr;

private:
    void btnOKClick();
};

} // namespace velmora
