#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

class QLineEdit;

namespace velmora {

class TfNalaziDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfNalaziDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// An expression of a test, valid from its date; the date is entered in a
// field of its own and written on every save.
class TfIzrazDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfIzrazDijalog(TfrmGrid *owner);
    void FormShow() override;
    void aSaveExecute() override;

    QLineEdit *edVaziOd = nullptr;
};

// "Unos vrste nalaza": groups, the tests of the current group, the
// expressions of the current test.
class TfNalazi : public TcData {
    Q_OBJECT
public:
    explicit TfNalazi(QWidget *parent = nullptr);
    void FormCreate() override;

    void reloadTests();
    void reloadExpressions();

    TfrmGrid *frmNazivNalaza = nullptr;
    TfrmGrid *frmIzraz = nullptr;
};

// "Prikaz svih nalaza": every test with its group, the picker of the test lookup.
class TfPrikazSvihNalaza : public TcData {
    Q_OBJECT
public:
    explicit TfPrikazSvihNalaza(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
