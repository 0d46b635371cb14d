#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfUputna_DGDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfUputna_DGDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos uputnih dijagnoza".
class TfUputna_DG : public TcData {
    Q_OBJECT
public:
    explicit TfUputna_DG(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
