#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfGradDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfGradDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Grad".
class TfGrad : public TcData {
    Q_OBJECT
public:
    explicit TfGrad(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
