#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfrmLookUp;

class TfKlinikeDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfKlinikeDijalog(TfrmGrid *owner);
    void aSaveExecute() override;

    TfrmLookUp *frmLookUp1 = nullptr; // the place
    TfrmLookUp *frmUpravnik = nullptr; // the head of the clinic
};

// The catalogue "Unos klinika".
class TfKlinike : public TcData {
    Q_OBJECT
public:
    explicit TfKlinike(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
