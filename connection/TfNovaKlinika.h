#pragma once

#include "app/TcMain.h"

class QCheckBox;
class QLineEdit;

namespace velmora {

// Asked once, when a new database is made at login: the ward's clinic, which
// becomes clinic 1 (its name is the one the login then offers).
class TfNovaKlinika : public TcMain {
    Q_OBJECT
public:
    explicit TfNovaKlinika(QWidget *parent = nullptr);

    QString clinicName() const;
    bool polyclinic() const;

    QLineEdit *edNaziv = nullptr;
    QCheckBox *chkPoliklinika = nullptr;

private:
    void btnOKClick();
};

} // namespace velmora
