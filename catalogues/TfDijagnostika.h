#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfDijagnostikaDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfDijagnostikaDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos dijagnostika".
class TfDijagnostika : public TcData {
    Q_OBJECT
public:
    explicit TfDijagnostika(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
